// Rows of three-byte samples stored blue-green-red, as bitmaps store them,
// imported as opaque pixels. ImportPixelSamples has no blue-first layout: the
// row goes through it as red-green-blue (the RGB layout keeps the new pixel
// array's fourth byte, 0: opaque), and red and blue then change places in
// the row just written, which is still in the processor's cache. That costs
// less than reordering the samples before the import, whose three-byte steps
// do not fit the processor's vector registers.
#ifndef LUMAVIEW_CODERS_COMMON_OPAQUE_ROWS_H
#define LUMAVIEW_CODERS_COMMON_OPAQUE_ROWS_H

#include <cstdint>

#include "pixbase/pixbase.h"

namespace lumaview::coders {

// Imports `count` pixels of blue-first samples into row `y` of a new pixel
// array.
void ImportBlueFirstTriples(ImageRecord* image, int64_t y, int64_t count, const uint8_t* samples);

// The number of bytes decoders read at once: several rows of a picture,
// small enough to stay in the processor's cache.
inline constexpr uint32_t kReadChunk = 256 * 1024;

}  // namespace lumaview::coders

#endif
