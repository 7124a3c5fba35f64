// What a coder's write procedure checks before writing an image: pixels,
// dimensions that fit, and RGB values.
#ifndef LUMAVIEW_CODERS_COMMON_PIXEL_CHECKS_H
#define LUMAVIEW_CODERS_COMMON_PIXEL_CHECKS_H

#include "image_faults.h"
#include "pixel_array.h"

namespace lumaview::coders {

// True when the image can be written; otherwise the fault is recorded
// (CoderDataError) under `reason`.
inline bool CheckWritable(ImageRecord* image, const char* reason) {
  if (image->pixels == nullptr) {
    RecordFault(image, CoderDataError, reason, "the image has no pixels");
    return false;
  }
  if (!DimensionsFit(image->width, image->height)) {
    RecordFault(image, CoderDataError, reason, "the image's dimensions are impossible");
    return false;
  }
  if (image->colorSpace != ColorspaceRGB) {
    RecordFault(image, CoderDataError, reason, "the pixels are not RGB");
    return false;
  }
  return true;
}

inline uint8_t RedOf(PackedPixel p) { return static_cast<uint8_t>(p >> 16); }
inline uint8_t GreenOf(PackedPixel p) { return static_cast<uint8_t>(p >> 8); }
inline uint8_t BlueOf(PackedPixel p) { return static_cast<uint8_t>(p); }
inline uint8_t OpacityOf(PackedPixel p) { return static_cast<uint8_t>(p >> 24); }

// The luminance of a pixel (ITU-R BT.601 weights), rounded.
inline uint8_t GreyOf(PackedPixel p) {
  return static_cast<uint8_t>((299u * RedOf(p) + 587u * GreenOf(p) + 114u * BlueOf(p) + 500u) /
                              1000u);
}

}  // namespace lumaview::coders

#endif
