// The pixel array of a decoded picture, allocated as the coder convention
// says: width x height packed pixels from the kernel's allocator, held in
// both `pixels` and `extraBlock` so that DestroyImageList releases it.
#ifndef LUMAVIEW_CODERS_COMMON_PIXEL_ARRAY_H
#define LUMAVIEW_CODERS_COMMON_PIXEL_ARRAY_H

#include <cstdint>

#include "pixbase/pixbase.h"

namespace lumaview::coders {

// The largest picture a coder accepts: 2^28 pixels (1 GiB of packed
// pixels), and no side longer than 2^24. The fuzz build lowers the pixel
// count so that every input runs quickly; nothing else changes there.
#ifndef LUMAVIEW_CODER_MAXIMUM_PIXELS
#define LUMAVIEW_CODER_MAXIMUM_PIXELS (int64_t{1} << 28)
#endif
inline constexpr int64_t kMaximumPixels = LUMAVIEW_CODER_MAXIMUM_PIXELS;
inline constexpr int64_t kMaximumSide = int64_t{1} << 24;

inline constexpr char kTooLargeReason[] = "Image dimensions are too large";

// True when a picture of these dimensions may be allocated.
inline bool DimensionsFit(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaximumSide && height <= kMaximumSide &&
         width * height <= kMaximumPixels;
}

// Sets width and height and gives the image its zero-filled (black, opaque)
// pixels. On dimensions that do not fit (CoderDataError) or no memory
// (OutOfMemoryError) the fault is recorded and the result is false.
bool AllocatePixels(ImageRecord* image, int64_t width, int64_t height);

// The first pixel of row `y`.
inline PackedPixel* PixelRow(ImageRecord* image, int64_t y) {
  return image->pixels + y * image->width;
}

// Hands `count` pixels of samples to ImportPixelSamples (8-bit samples) for
// row `y`. The row's memory pages are first written, one byte each: a new
// pixel array's page read before it is written costs the operating system
// two faults instead of one (the first maps a shared zero page, the write
// then replaces it), and ImportPixelSamples reads the pixels it keeps bytes
// of, and the few pixels it converts outside its vector loop, before writing
// them. The bytes written are blue samples, which every layout replaces.
void ImportRow(ImageRecord* image, int64_t y, int64_t count, const PackedPixel* map,
               SampleLayout layout, const uint8_t* samples);

}  // namespace lumaview::coders

#endif
