// Window placement (see placement.h).
#include "ui/placement.h"

namespace setup {

namespace {
// The desktop as it was at start: the frame for centring.
platform::Rect desktop_at_start;
}  // namespace

platform::Rect RememberDesktop() {
  desktop_at_start = platform::DesktopRectangle();
  return desktop_at_start;
}

void CenterOnScreen(platform::Window window) {
  const platform::Rect& d = desktop_at_start;
  platform::Rect s = platform::DesktopRectangle();
  platform::Rect r = platform::WindowRectangle(window);
  long w = r.right - r.left;
  long h = r.bottom - r.top;
  long x = d.left + ((d.right - d.left) - w) / 2;
  long y = d.top + ((d.bottom - d.top) - h) / 2;
  if (x + w > s.right) x = s.right - w;
  if (y + h > s.bottom) y = s.bottom - h;
  if (x < s.left) x = s.left;
  if (y < s.top) y = s.top;
  platform::MoveWindowTo(window, x, y);
}

}  // namespace setup
