// Vector loops of the sample import.
#ifndef PIXBASE_PIXEL_IMPORT_KERNELS_H
#define PIXBASE_PIXEL_IMPORT_KERNELS_H

#include <cstdint>

#include "pixel/sample_layouts.h"

namespace pixbase::pixel {

// Imports a leading part of the line with the vector units (a stride of 1 or
// 2 bytes per sample) and returns the number of pixels done; the caller does
// the rest. Only whole samples inside the line are read, and only the colour
// map entries up to the largest index of the line.
// `layout` is a listed layout code (ListedLayout).
int32_t ImportLineVector(int32_t count, int32_t stride, uint32_t* pixels, const uint32_t* map,
                         int32_t layout, const uint8_t* source);

}  // namespace pixbase::pixel

#endif
