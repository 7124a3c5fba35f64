// Registration of one format of a coder module.
#include "coder_module.h"

namespace lumaview::coders {

bool RegisterCoderFormat(const FormatDescription& format) {
  FormatEntry* entry = AllocateFormatEntry(format.name);
  if (entry == nullptr) return false;
  entry->probeHeader = format.probe;
  SetCoderProcedures(entry, format.read, format.write, format.flags);
  // Without its texts the format still works; the registry owns the entry
  // either way.
  SetCoderTexts(entry, format.description, format.mime_type);
  RegisterFormatEntry(entry);
  return true;
}

}  // namespace lumaview::coders
