// DetectImageFormat over any file contents and a few extensions, with test
// probes registered: TSTA (header test), TSTW (test with the file name), RAW
// (no test) and EVEN (a header test reading every byte it is given). The
// result must name a registered format, and the tests must always receive
// the full header length.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "pixbase/formats.h"

namespace {

bool g_short_header = false;

int32_t PIXBASE_CALL ProbeTsta(const unsigned char* header, uint32_t length) {
  if (length != PIXBASE_HEADER_PROBE_LENGTH) g_short_header = true;
  return std::memcmp(header, "TSTA", 4) == 0;
}

int32_t PIXBASE_CALL ProbeTstw(const char* path, const char* extension, const unsigned char* header,
                               uint32_t length) {
  if (length != PIXBASE_HEADER_PROBE_LENGTH || path == nullptr || extension == nullptr)
    g_short_header = true;
  return std::memcmp(header, "TSTW", 4) == 0;
}

int32_t PIXBASE_CALL ProbeEven(const unsigned char* header, uint32_t length) {
  uint32_t sum = 0;
  for (uint32_t i = 0; i < length; ++i) sum += header[i];
  return length == PIXBASE_HEADER_PROBE_LENGTH && sum != 0 && sum % 977 == 0;
}

void Register(const char* name, FormatProbeHeader header, FormatProbeWithName with_name) {
  FormatEntry* entry = AllocateFormatEntry(name);
  entry->probeHeader = header;
  entry->probeWithName = with_name;
  RegisterFormatEntry(entry);
}

const char* const kExtensions[] = {".tsta", ".TSTW", ".raw", ".even", ".xyz", "", ".", ".a.raw"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool registered = false;
  if (!registered) {
    lumaview::fuzz::InstallRefusingHandlers();
    Register("TSTA", ProbeTsta, nullptr);
    Register("TSTW", nullptr, ProbeTstw);
    Register("RAW", nullptr, nullptr);
    Register("EVEN", ProbeEven, nullptr);
    registered = true;
  }
  if (size == 0) return 0;
  const char* extension = kExtensions[data[0] % (sizeof kExtensions / sizeof kExtensions[0])];
  std::string path = "/tmp/pixbase_detect_fuzz_" + std::to_string(getpid()) + extension;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return 0;
  std::fwrite(data + 1, 1, size - 1, out);
  std::fclose(out);

  char destination[PIXBASE_TEXT_EXTENT];
  std::memset(destination, '#', sizeof destination);
  destination[sizeof destination - 1] = '\0';
  int32_t decided = DetectImageFormat(path.c_str(), destination);
  std::remove(path.c_str());
  FUZZ_CHECK(!g_short_header);
  FUZZ_CHECK(decided == 0 || decided == 1);
  if (decided == 1) {
    FUZZ_CHECK(FindFormatEntry(destination) != nullptr);
    // A TSTA header is claimed by TSTA, the first content test, unless the
    // extension's own test accepted first.
    bool tsta = size - 1 >= 4 && std::memcmp(data + 1, "TSTA", 4) == 0;
    if (tsta)
      FUZZ_CHECK(std::strcmp(destination, "TSTA") == 0 ||
                 (std::strcmp(extension, ".even") == 0 && std::strcmp(destination, "EVEN") == 0));
  } else {
    // Undecided: RAW (no test) was not the extension.
    FUZZ_CHECK(std::strcmp(extension, ".raw") != 0 && std::strcmp(extension, ".a.raw") != 0);
  }
  return 0;
}
