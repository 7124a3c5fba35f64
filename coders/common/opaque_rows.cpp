// Blue-first rows: imported as red-green-blue, then red and blue exchanged.
#include "opaque_rows.h"

#include "pixel_array.h"

namespace lumaview::coders {

void ImportBlueFirstTriples(ImageRecord* image, int64_t y, int64_t count, const uint8_t* samples) {
  if (count <= 0) return;
  ImportRow(image, y, count, nullptr, SampleRGB, samples);
  // Plain word arithmetic, which the compiler turns into vector code.
  PackedPixel* pixels = PixelRow(image, y);
  for (int64_t x = 0; x < count; ++x) {
    const PackedPixel p = pixels[x];
    pixels[x] = (p & 0xFF00FF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16;
  }
}

}  // namespace lumaview::coders
