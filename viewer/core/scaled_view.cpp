// Nearest-neighbour scaling through the kernel's resample maps.
#include "core/scaled_view.h"

#include <cstddef>
#include <cstring>

#include "pixbase/pixbase.h"

namespace viewer {

std::vector<std::uint32_t> ScalePicture(const std::uint32_t* source, int source_width,
                                        int source_height, int width, int height) {
  std::vector<std::uint32_t> scaled;
  if (source == nullptr || source_width <= 0 || source_height <= 0 || width <= 0 || height <= 0)
    return scaled;
  std::vector<int32_t> columns(static_cast<std::size_t>(width));
  std::vector<int32_t> rows(static_cast<std::size_t>(height));
  BuildResampleMap(source_width, width, columns.data());
  BuildResampleMap(source_height, height, rows.data());
  auto row_length = static_cast<std::size_t>(width);
  scaled.resize(row_length * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    std::uint32_t* line = scaled.data() + row_length * static_cast<std::size_t>(y);
    if (y > 0 && rows[y] == rows[y - 1]) {
      // A repeated source row: the line is the one just made.
      std::memcpy(line, line - row_length, row_length * sizeof(std::uint32_t));
      continue;
    }
    const std::uint32_t* from =
        source + static_cast<std::size_t>(source_width) * static_cast<std::size_t>(rows[y]);
    for (int x = 0; x < width; ++x) line[x] = from[columns[x]];
  }
  return scaled;
}

}  // namespace viewer
