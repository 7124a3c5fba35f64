// What the viewer reads from a format entry that a coder module registered:
// the read procedure and the capability flags, as the distribution's coder
// convention places them in the entry's words for coders and clients.
#ifndef LUMAVIEW_VIEWER_CODER_ENTRY_H
#define LUMAVIEW_VIEWER_CODER_ENTRY_H

#include <cstdint>

#include "pixbase/pixbase.h"

namespace viewer {

using ReadProcedure = int32_t(PIXBASE_CALL*)(ImageRecord* image);

// Null when the entry is null or its coder cannot read.
ReadProcedure ReaderOf(const FormatEntry* entry);

}  // namespace viewer

#endif
