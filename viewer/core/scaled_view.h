// The picture at another size for the fitted view: each destination pixel
// copies the source pixel that the kernel's resample maps (BuildResampleMap,
// one for the columns and one for the rows) name.
#ifndef LUMAVIEW_VIEWER_SCALED_VIEW_H
#define LUMAVIEW_VIEWER_SCALED_VIEW_H

#include <cstdint>
#include <vector>

namespace viewer {

// `source` holds source_height rows of source_width pixels; the result holds
// height rows of width pixels. Empty when either size is empty.
std::vector<std::uint32_t> ScalePicture(const std::uint32_t* source, int source_width,
                                        int source_height, int width, int height);

}  // namespace viewer

#endif
