// A coder module without its unregister entry point: its format NOUN stays
// registered unless the loader removes it when the module goes.
#include "test_module.h"

namespace {

int32_t PIXBASE_CALL ProbeNoun(const unsigned char* header, uint32_t length) {
  return length >= 4 && StartsWith(header, "NOUN");
}

}  // namespace

MODULE_ENTRY RegisterNOUNREGImage(void) {
  FormatEntry* entry = AllocateFormatEntry("NOUN");
  if (entry == nullptr) return;
  entry->probeHeader = ProbeNoun;
  RegisterFormatEntry(entry);
}
