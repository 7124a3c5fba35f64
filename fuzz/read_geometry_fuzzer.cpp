// ReadGeometry on any text: flags within the six bits, and outputs written
// exactly where a flag says so.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "pixbase/geometry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  std::string text = lumaview::fuzz::Text(data, size);
  const int32_t kMark = 123456789;
  int32_t x = kMark, y = kMark, width = kMark, height = kMark;
  int32_t flags = ReadGeometry(text.c_str(), &x, &y, &width, &height);
  FUZZ_CHECK((flags & ~63) == 0);
  if (flags == 0) FUZZ_CHECK(x == kMark && y == kMark && width == kMark && height == kMark);
  if (!(flags & GeometryHasX)) FUZZ_CHECK(x == kMark);
  if (!(flags & GeometryHasY)) FUZZ_CHECK(y == kMark);
  if (!(flags & GeometryHasWidth)) FUZZ_CHECK(width == kMark);
  if (!(flags & GeometryHasHeight)) FUZZ_CHECK(height == kMark);
  if (flags & GeometryXMinus) FUZZ_CHECK(flags & GeometryHasX);
  if (flags & GeometryYMinus) FUZZ_CHECK(flags & GeometryHasY);
  return 0;
}
