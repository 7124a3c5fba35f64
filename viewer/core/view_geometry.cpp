// Fit and 100% placement of the picture and the scroll bars of the 100% view.
#include "core/view_geometry.h"

#include <algorithm>
#include <cstdint>

namespace viewer {

namespace {

// a * b / c rounded to the nearest integer, in 64 bits (sides up to 2^31).
int ScaleRounded(int a, int b, int c) {
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  return static_cast<int>((product + c / 2) / c);
}

}  // namespace

Placement FitPlacement(Extent picture, Extent client) {
  Placement placement;
  if (picture.width <= 0 || picture.height <= 0 || client.width <= 0 || client.height <= 0)
    return placement;
  // The side that limits the scale is the one whose ratio client / picture
  // is smaller; compared crosswise to stay in integers.
  std::int64_t by_width = static_cast<std::int64_t>(client.width) * picture.height;
  std::int64_t by_height = static_cast<std::int64_t>(client.height) * picture.width;
  if (by_width <= by_height) {
    placement.width = client.width;
    placement.height = ScaleRounded(picture.height, client.width, picture.width);
  } else {
    placement.height = client.height;
    placement.width = ScaleRounded(picture.width, client.height, picture.height);
  }
  placement.width = std::clamp(placement.width, 1, client.width);
  placement.height = std::clamp(placement.height, 1, client.height);
  placement.x = (client.width - placement.width) / 2;
  placement.y = (client.height - placement.height) / 2;
  return placement;
}

int ZoomPercent(int shown_width, int picture_width) {
  if (shown_width <= 0 || picture_width <= 0) return 0;
  return std::max(ScaleRounded(shown_width, 100, picture_width), 1);
}

int ClampScroll(int offset, int picture_length, int client_length) {
  int limit = picture_length - client_length;
  if (limit <= 0) return 0;
  return std::clamp(offset, 0, limit);
}

Placement ActualPlacement(Extent picture, Extent client, int scroll_x, int scroll_y) {
  Placement placement;
  placement.width = std::max(picture.width, 0);
  placement.height = std::max(picture.height, 0);
  placement.x = placement.width <= client.width
                    ? (client.width - placement.width) / 2
                    : -ClampScroll(scroll_x, placement.width, client.width);
  placement.y = placement.height <= client.height
                    ? (client.height - placement.height) / 2
                    : -ClampScroll(scroll_y, placement.height, client.height);
  return placement;
}

ScrollBars ScrollBarsFor(Extent picture, Extent whole, int bar_width, int bar_height) {
  ScrollBars bars;
  bars.horizontal = picture.width > whole.width;
  bars.vertical = picture.height > whole.height;
  // A bar narrows the other direction, which can make the second bar needed.
  if (bars.horizontal && !bars.vertical) bars.vertical = picture.height > whole.height - bar_height;
  if (bars.vertical && !bars.horizontal) bars.horizontal = picture.width > whole.width - bar_width;
  bars.client.width = std::max(whole.width - (bars.vertical ? bar_width : 0), 0);
  bars.client.height = std::max(whole.height - (bars.horizontal ? bar_height : 0), 0);
  return bars;
}

}  // namespace viewer
