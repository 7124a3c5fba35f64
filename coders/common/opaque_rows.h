// Rows of three-byte samples (red-green-blue, or blue-green-red as bitmaps
// store them) imported as opaque pixels: the samples are widened to quads
// with an opaque alpha, which ImportPixelSamples (layout RGBA) turns into
// whole pixels. Whole pixels are written without the destination being read
// first, so a new pixel array's pages are touched once.
#ifndef LUMAVIEW_CODERS_COMMON_OPAQUE_ROWS_H
#define LUMAVIEW_CODERS_COMMON_OPAQUE_ROWS_H

#include <cstdint>

#include "pixbase/pixbase.h"

namespace lumaview::coders {

// `quads` holds 4 * count bytes of working space.
void ImportOpaqueTriples(int32_t count, PackedPixel* pixels, const uint8_t* samples,
                         bool blue_first, uint8_t* quads);

// The number of bytes decoders read at once: several rows of a picture,
// small enough to stay in the processor's cache.
inline constexpr uint32_t kReadChunk = 256 * 1024;

}  // namespace lumaview::coders

#endif
