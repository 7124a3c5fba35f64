// VELOPNM.dll: the portable anymap coder module. It registers the formats
// PBM, PGM, PPM and PAM, each recognised by its own magic numbers, and PNM,
// which recognises any of the first three; all five read every kind, and
// each writes its own kind (PNM the smallest that holds the pixels).
#include "coder_module.h"
#include "pnm.h"

namespace lumaview::coders::pnm {

namespace {

bool IsWhite(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// "P" and one of the digits, then white space or a comment.
bool HasMagic(const unsigned char* header, uint32_t length, const char* digits) {
  if (length < 3 || header[0] != 'P') return false;
  for (const char* d = digits; *d != '\0'; ++d)
    if (header[1] == static_cast<unsigned char>(*d)) return IsWhite(header[2]) || header[2] == '#';
  return false;
}

const char* const kNames[] = {"PBM", "PGM", "PPM", "PAM", "PNM"};

}  // namespace

int32_t PIXBASE_CALL IsPBM(const unsigned char* header, uint32_t length) {
  return HasMagic(header, length, "14");
}
int32_t PIXBASE_CALL IsPGM(const unsigned char* header, uint32_t length) {
  return HasMagic(header, length, "25");
}
int32_t PIXBASE_CALL IsPPM(const unsigned char* header, uint32_t length) {
  return HasMagic(header, length, "36");
}
int32_t PIXBASE_CALL IsPAM(const unsigned char* header, uint32_t length) {
  return length >= 3 && header[0] == 'P' && header[1] == '7' &&
         (header[2] == '\n' || header[2] == '\r');
}
int32_t PIXBASE_CALL IsPNM(const unsigned char* header, uint32_t length) {
  return HasMagic(header, length, "123456");
}

}  // namespace lumaview::coders::pnm

CODER_ENTRY RegisterPNMImage(void) {
  using namespace lumaview::coders;
  using namespace lumaview::coders::pnm;
  constexpr uint32_t kAll = CoderCanRead | CoderCanWrite | CoderMultiFrame;
  // The specific formats first, so that a file's content names its kind.
  const FormatDescription formats[] = {
      {"PBM", "Portable bitmap", "image/x-portable-bitmap", IsPBM, ReadPNMImage, WritePBMImage,
       kAll},
      {"PGM", "Portable greymap", "image/x-portable-graymap", IsPGM, ReadPNMImage, WritePGMImage,
       kAll},
      {"PPM", "Portable pixmap", "image/x-portable-pixmap", IsPPM, ReadPNMImage, WritePPMImage,
       kAll},
      {"PAM", "Portable arbitrary map", "image/x-portable-arbitrarymap", IsPAM, ReadPNMImage,
       WritePAMImage, kAll},
      {"PNM", "Portable anymap", "image/x-portable-anymap", IsPNM, ReadPNMImage, WritePNMImage,
       kAll},
  };
  for (const FormatDescription& format : formats) RegisterCoderFormat(format);
}

CODER_ENTRY UnregisterPNMImage(void) {
  for (const char* name : lumaview::coders::pnm::kNames) UnregisterFormatEntry(name);
}
