// The portable anymap coder's read procedure over any file contents: it
// must answer 1 with a usable list or 0 with an error in the report, never
// read past a buffer, and a picture it reads must come back unchanged from
// the pixmap it writes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "coder_fuzz.h"
#include "pnm.h"

CODER_ENTRY RegisterPNMImage(void);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = [] {
    lumaview::fuzz::InstallRefusingHandlers();
    RegisterPNMImage();
    return true;
  }();
  (void)registered;
  const std::string stem = "/tmp/pixbase_pnm_fuzz_" + std::to_string(getpid());
  lumaview::fuzz::CheckCoder("PNM", "PPM", stem, data, size);
  return 0;
}
