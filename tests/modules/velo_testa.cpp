// A coder module with both entry points. It registers two formats: TSTA,
// recognised by its header, and TSTW, whose test also sees the file name.
#include <cstring>

#include "test_module.h"

namespace {

int32_t PIXBASE_CALL ProbeTsta(const unsigned char* header, uint32_t length) {
  return length >= 4 && StartsWith(header, "TSTA");
}

int32_t PIXBASE_CALL ProbeTstw(const char* /*path*/, const char* /*extension*/,
                               const unsigned char* header, uint32_t length) {
  return length >= 4 && StartsWith(header, "TSTW");
}

}  // namespace

MODULE_ENTRY RegisterTESTAImage(void) {
  FormatEntry* tsta = AllocateFormatEntry("TSTA");
  if (tsta != nullptr) {
    tsta->probeHeader = ProbeTsta;
    RegisterFormatEntry(tsta);
  }
  FormatEntry* tstw = AllocateFormatEntry("TSTW");
  if (tstw != nullptr) {
    tstw->probeWithName = ProbeTstw;
    RegisterFormatEntry(tstw);
  }
}

MODULE_ENTRY UnregisterTESTAImage(void) {
  UnregisterFormatEntry("TSTA");
  UnregisterFormatEntry("TSTW");
}
