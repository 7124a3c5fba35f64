// What every coder module of the distribution shares: the export of its two
// entry points and the registration of one format under the coder
// convention (pixbase/coders.h).
#ifndef LUMAVIEW_CODERS_COMMON_CODER_MODULE_H
#define LUMAVIEW_CODERS_COMMON_CODER_MODULE_H

#include "pixbase/pixbase.h"

// The loader finds the entry points by their exact names.
#if defined(_WIN32)
#define CODER_ENTRY extern "C" __declspec(dllexport) void PIXBASE_CALL
#else
#define CODER_ENTRY extern "C" __attribute__((visibility("default"))) void PIXBASE_CALL
#endif

namespace lumaview::coders {

struct FormatDescription {
  const char* name;  // the format's name, also the files' extension
  const char* description;
  const char* mime_type;
  FormatProbeHeader probe;
  CoderReadImage read;
  CoderWriteImage write;  // null when the format cannot be written
  uint32_t flags;
};

// Allocates, fills and registers an entry; false when the kernel gave none.
bool RegisterCoderFormat(const FormatDescription& format);

}  // namespace lumaview::coders

#endif
