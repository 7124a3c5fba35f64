// Where the picture lies in the window's client area: fitted to the window
// (scaled both ways, keeping its proportions, centred) or at 100% (centred
// when it is smaller than the window, else scrolled), and which scroll bars
// the 100% view needs.
#ifndef LUMAVIEW_VIEWER_VIEW_GEOMETRY_H
#define LUMAVIEW_VIEWER_VIEW_GEOMETRY_H

namespace viewer {

struct Extent {
  int width = 0;
  int height = 0;
};

// The picture's rectangle in client coordinates; x and y are negative where
// a scrolled picture starts left of or above the client area.
struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The largest rectangle of the picture's proportions inside the client area,
// centred; each side at least 1 pixel. Empty for an empty picture or client.
Placement FitPlacement(Extent picture, Extent client);

// The scale of a picture `picture_width` wide shown `shown_width` wide, in
// whole percent, rounded, at least 1 when anything is shown; 0 when nothing
// is.
int ZoomPercent(int shown_width, int picture_width);

// The scroll offset kept inside 0 .. picture - client (0 when the picture
// fits).
int ClampScroll(int offset, int picture_length, int client_length);

// The picture at 100%: centred along a side where it fits, else shifted by
// the (clamped) scroll offset.
Placement ActualPlacement(Extent picture, Extent client, int scroll_x, int scroll_y);

// The scroll bars the 100% view needs in a window whose client area without
// bars is `whole`; a bar takes `bar_width` (vertical) or `bar_height`
// (horizontal) pixels, which may make the other one necessary. `client` is
// the area that remains.
struct ScrollBars {
  bool horizontal = false;
  bool vertical = false;
  Extent client;
};
ScrollBars ScrollBarsFor(Extent picture, Extent whole, int bar_width, int bar_height);

}  // namespace viewer

#endif
