// Allocation of a picture's pixel array and the import of its rows.
#include "pixel_array.h"

#include <cstdint>

#include "image_faults.h"

namespace lumaview::coders {

bool AllocatePixels(ImageRecord* image, int64_t width, int64_t height) {
  if (!DimensionsFit(width, height)) {
    RecordFaultAt(image, CoderDataError, kTooLargeReason,
                  "too many pixels, a side longer than 2^24 or none: %lld pixels", width * height);
    return false;
  }
  auto bytes = static_cast<uint32_t>(width * height * static_cast<int64_t>(sizeof(PackedPixel)));
  void* block = AllocateMemory(bytes);
  if (block == nullptr) {
    RecordFault(image, OutOfMemoryError, kNoMemoryReason, "no memory for the pixels");
    return false;
  }
  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  image->colorSpace = ColorspaceRGB;
  image->pixels = static_cast<PackedPixel*>(block);
  image->extraBlock = block;
  return true;
}

namespace {

// The smallest memory page of the platforms served; on larger pages some of
// the bytes written are not needed.
constexpr uintptr_t kPageBytes = 4096;

// Writes the first byte of the first and last pixel and of every pixel that
// starts a page in between (pixels are aligned to 4 bytes, so a page starts
// at a pixel's first byte, its blue sample).
void WriteRowPages(PackedPixel* pixels, int64_t count) {
  auto* first = reinterpret_cast<volatile uint8_t*>(pixels);
  auto* last = reinterpret_cast<volatile uint8_t*>(pixels + count - 1);
  *first = 0;
  *last = 0;
  const uintptr_t end = reinterpret_cast<uintptr_t>(last);
  for (uintptr_t page = (reinterpret_cast<uintptr_t>(first) | (kPageBytes - 1)) + 1; page < end;
       page += kPageBytes)
    *reinterpret_cast<volatile uint8_t*>(page) = 0;
}

}  // namespace

void ImportRow(ImageRecord* image, int64_t y, int64_t count, const PackedPixel* map,
               SampleLayout layout, const uint8_t* samples) {
  if (count <= 0) return;
  PackedPixel* pixels = PixelRow(image, y);
  WriteRowPages(pixels, count);
  ImportPixelSamples(static_cast<int32_t>(count), 8, pixels, map, layout, samples);
}

}  // namespace lumaview::coders
