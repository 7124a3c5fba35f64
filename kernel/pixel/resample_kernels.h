// Vector loops of the resampling helpers.
#ifndef PIXBASE_PIXEL_RESAMPLE_KERNELS_H
#define PIXBASE_PIXEL_RESAMPLE_KERNELS_H

#include <cstdint>

namespace pixbase::pixel {

// Writes a leading part of a widening map of `count` entries with the
// vector units (entry i: the single-precision product of i and `ratio`,
// truncated) and returns the number of entries done; the caller does the
// rest.
int32_t WideningMapVector(float ratio, int32_t* map, int32_t count);

// Writes a leading part of a narrowing map (0 < `destination` < 4 *
// `source`; entry k: floor(k * source / destination)) with the vector units
// and returns the number of entries done.
int32_t NarrowingMapVector(int32_t source, int32_t destination, int32_t* map);

}  // namespace pixbase::pixel

#endif
