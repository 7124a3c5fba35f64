// Platform seam, painting: what the background window draws with.
// Implemented by win32/painting.cpp and simulated/shell.cpp.
#ifndef LUMAVIEW_SETUP_PLATFORM_PAINTING_H
#define LUMAVIEW_SETUP_PLATFORM_PAINTING_H

#include <cstdint>

#include "platform/platform.h"

namespace setup::platform {

// A device context being painted into.
using Canvas = Handle;
// Starts and ends the painting of a window in answer to its paint message.
Canvas BeginPainting(Window window);
void EndPainting(Window window, Canvas canvas);
Rect ClientRectangle(Window window);
void FillWithColour(Canvas canvas, const Rect& area, std::uint8_t red, std::uint8_t green,
                    std::uint8_t blue);
// Width of a bitmap in pixels (0 for none).
long BitmapWidth(Graphic bitmap);
// Paints the colour where the monochrome bitmap has 0 bits and leaves the
// canvas unchanged where it has 1 bits (raster operation 0xB8074A with a
// solid brush), the bitmap at its own size with its top left at (x, y).
void PaintBitmapInk(Canvas canvas, Graphic bitmap, long x, long y, std::uint8_t red,
                    std::uint8_t green, std::uint8_t blue);
// Draws a bitmap stretched over the window's whole client area (stretch
// mode COLORONCOLOR).
void StretchBitmapOverWindow(Window window, Graphic bitmap);

}  // namespace setup::platform

#endif
