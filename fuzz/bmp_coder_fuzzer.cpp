// The Windows bitmap coder's read procedure over any file contents: it must
// answer 1 with a usable picture or 0 with an error in the report, never
// read past a buffer, and a picture it reads must come back unchanged from
// the 24-bit bitmap it writes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "bmp.h"
#include "coder_fuzz.h"

CODER_ENTRY RegisterBMPImage(void);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = [] {
    lumaview::fuzz::InstallRefusingHandlers();
    RegisterBMPImage();
    return true;
  }();
  (void)registered;
  const std::string stem = "/tmp/pixbase_bmp_fuzz_" + std::to_string(getpid());
  lumaview::fuzz::CheckCoder("BMP", "BMP", stem, data, size);
  return 0;
}
