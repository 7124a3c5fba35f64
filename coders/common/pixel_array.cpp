// Allocation of a picture's pixel array.
#include "pixel_array.h"

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

}  // namespace lumaview::coders
