// A coder module of the viewer's tests, following the distribution's coder
// convention (pixbase/coders.h) with a format simple enough to write by
// hand, so that every outcome of a load can be provoked:
//   VTS  "VTS1", then width, height and colour space (little-endian 32-bit)
//        and width * height pixels (little-endian 32-bit). A bad header is
//        CoderDataError "Improper image header"; missing pixels are
//        CoderDataWarning "Unexpected end-of-file" (the rest stay 0).
//        "VTS0" succeeds without a picture; "VTS9" fails without a reason.
//   VTN  "VTN1": a format whose coder cannot read.
#include <cstring>

#include "pixbase/pixbase.h"

#if defined(_WIN32)
#define MODULE_ENTRY extern "C" __declspec(dllexport) void PIXBASE_CALL
#else
#define MODULE_ENTRY extern "C" __attribute__((visibility("default"))) void PIXBASE_CALL
#endif

namespace {

bool Starts(const unsigned char* header, uint32_t length, const char* magic) {
  return length >= 4 && std::memcmp(header, magic, 3) == 0;
}

int32_t PIXBASE_CALL ProbeVts(const unsigned char* header, uint32_t length) {
  return Starts(header, length, "VTS");
}

int32_t PIXBASE_CALL ProbeVtn(const unsigned char* header, uint32_t length) {
  return Starts(header, length, "VTN");
}

// Records a fault, replacing a report only by one at least as severe.
void Fault(ImageRecord* image, ExceptionSeverity severity, const char* reason,
           const char* description) {
  if (severity < image->report.severity) return;
  image->report.severity = severity;
  AssignString(&image->report.reason, reason);
  AssignString(&image->report.description, description);
}

int32_t PIXBASE_CALL ReadVts(ImageRecord* image) {
  unsigned char magic[4];
  if (ReadImageBytes(image, 4, magic) != 4 || std::memcmp(magic, "VTS", 3) != 0) {
    Fault(image, CoderDataError, "Improper image header", "no VTS signature");
    return 0;
  }
  if (magic[3] == '9') return 0;
  if (magic[3] == '0') return 1;
  auto width = static_cast<int32_t>(ReadLittleEndianLong(image));
  auto height = static_cast<int32_t>(ReadLittleEndianLong(image));
  auto space = static_cast<int32_t>(ReadLittleEndianLong(image));
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
    Fault(image, CoderDataError, "Improper image header", "impossible dimensions");
    return 0;
  }
  auto count = static_cast<uint32_t>(width) * static_cast<uint32_t>(height);
  auto* pixels = static_cast<PackedPixel*>(AllocateMemory(count * sizeof(PackedPixel)));
  if (pixels == nullptr) {
    Fault(image, OutOfMemoryError, "Memory allocation failed", nullptr);
    return 0;
  }
  image->pixels = pixels;
  image->extraBlock = pixels;
  image->width = width;
  image->height = height;
  image->colorSpace = space;
  for (uint32_t i = 0; i < count; ++i) {
    unsigned char bytes[4];
    if (ReadImageBytes(image, 4, bytes) != 4) {
      Fault(image, CoderDataWarning, "Unexpected end-of-file", "pixels are missing");
      break;
    }
    pixels[i] = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  }
  return 1;
}

void Register(const char* name, FormatProbeHeader probe, CoderReadImage read, uint32_t flags,
              const char* description) {
  FormatEntry* entry = AllocateFormatEntry(name);
  if (entry == nullptr) return;
  entry->probeHeader = probe;
  SetCoderProcedures(entry, read, nullptr, flags);
  SetCoderTexts(entry, description, nullptr);
  RegisterFormatEntry(entry);
}

}  // namespace

MODULE_ENTRY RegisterVTESTImage(void) {
  Register("VTS", ProbeVts, ReadVts, CoderCanRead, "Viewer test pixels");
  Register("VTN", ProbeVtn, nullptr, 0, "Viewer test, not readable");
}

MODULE_ENTRY UnregisterVTESTImage(void) {
  UnregisterFormatEntry("VTS");
  UnregisterFormatEntry("VTN");
}
