// Vector loops of the sample import.
#ifndef PIXBASE_PIXEL_IMPORT_KERNELS_H
#define PIXBASE_PIXEL_IMPORT_KERNELS_H

#include <cstdint>

namespace pixbase::pixel {

// Samples per pixel of a layout code.
inline int32_t SamplesPerPixel(int32_t layout) {
  switch (layout) {
    case 0:
    case 1:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
      return 1;
    case 2:
    case 3:
      return 2;
    case 13:
    case 14:
      return 4;
    default:
      return 3;
  }
}

// Imports a leading part of the line with the vector units (a stride of 1 or
// 2 bytes per sample) and returns the number of pixels done; the caller does
// the rest. Only whole samples inside the line are read.
int32_t ImportLineVector(int32_t count, int32_t stride, uint32_t* pixels, const uint32_t* map,
                         int32_t layout, const uint8_t* source);

}  // namespace pixbase::pixel

#endif
