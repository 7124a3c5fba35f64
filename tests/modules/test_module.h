// What the test coder modules share: the export of their entry points.
#ifndef LUMAVIEW_TEST_MODULE_H
#define LUMAVIEW_TEST_MODULE_H

#include "pixbase/pixbase.h"

#if defined(_WIN32)
#define MODULE_ENTRY extern "C" __declspec(dllexport) void PIXBASE_CALL
#else
#define MODULE_ENTRY extern "C" __attribute__((visibility("default"))) void PIXBASE_CALL
#endif

// True when the header starts with the four bytes of `magic`.
inline bool StartsWith(const unsigned char* header, const char* magic) {
  for (int i = 0; i < 4; ++i)
    if (header[i] != static_cast<unsigned char>(magic[i])) return false;
  return true;
}

#endif
