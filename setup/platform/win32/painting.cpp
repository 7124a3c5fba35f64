// Win32 side of the painting seam (platform/painting.h).
#include "platform/painting.h"

#include <windows.h>

namespace setup::platform {

namespace {
HDC AsDc(Canvas canvas) { return reinterpret_cast<HDC>(canvas); }
HWND AsWindow(Window window) { return reinterpret_cast<HWND>(window); }
// The PAINTSTRUCT of the paint in progress; the background window paints on
// the one thread, never nested.
PAINTSTRUCT current_paint;
}  // namespace

Canvas BeginPainting(Window window) {
  return reinterpret_cast<Canvas>(BeginPaint(AsWindow(window), &current_paint));
}

void EndPainting(Window window, Canvas) { EndPaint(AsWindow(window), &current_paint); }

Rect ClientRectangle(Window window) {
  RECT r;
  if (!GetClientRect(AsWindow(window), &r)) return Rect{0, 0, 0, 0};
  return Rect{r.left, r.top, r.right, r.bottom};
}

void FillWithColour(Canvas canvas, const Rect& area, std::uint8_t red, std::uint8_t green,
                    std::uint8_t blue) {
  HBRUSH brush = CreateSolidBrush(RGB(red, green, blue));
  if (brush == nullptr) return;
  RECT r{area.left, area.top, area.right, area.bottom};
  FillRect(AsDc(canvas), &r, brush);
  DeleteObject(brush);
}

long BitmapWidth(Graphic bitmap) {
  BITMAP info;
  if (bitmap == 0 || GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof info, &info) == 0)
    return 0;
  return info.bmWidth;
}

void PaintBitmapInk(Canvas canvas, Graphic bitmap, long x, long y, std::uint8_t red,
                    std::uint8_t green, std::uint8_t blue) {
  BITMAP info;
  if (GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof info, &info) == 0) return;
  HDC target = AsDc(canvas);
  HDC source = CreateCompatibleDC(target);
  if (source == nullptr) return;
  HGDIOBJ old_bitmap = SelectObject(source, reinterpret_cast<HBITMAP>(bitmap));
  HBRUSH brush = CreateSolidBrush(RGB(red, green, blue));
  HGDIOBJ old_brush = SelectObject(target, brush);
  // A monochrome source is expanded with the target's text colour for 0 bits
  // and background colour for 1 bits: black and white, so that 0xB8074A
  // (P ^ (S & (D ^ P))) paints the brush where the bitmap is 0 and keeps the
  // window where it is 1.
  COLORREF old_text = SetTextColor(target, RGB(0, 0, 0));
  COLORREF old_back = SetBkColor(target, RGB(255, 255, 255));
  BitBlt(target, x, y, info.bmWidth, info.bmHeight, source, 0, 0, 0xB8074A);
  SetTextColor(target, old_text);
  SetBkColor(target, old_back);
  SelectObject(target, old_brush);
  DeleteObject(brush);
  SelectObject(source, old_bitmap);
  DeleteDC(source);
}

void StretchBitmapOverWindow(Window window, Graphic bitmap) {
  BITMAP info;
  if (GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof info, &info) == 0) return;
  HWND hwnd = AsWindow(window);
  RECT client;
  GetClientRect(hwnd, &client);
  HDC target = GetDC(hwnd);
  HDC source = CreateCompatibleDC(target);
  HGDIOBJ old_bitmap = SelectObject(source, reinterpret_cast<HBITMAP>(bitmap));
  int old_mode = SetStretchBltMode(target, COLORONCOLOR);
  StretchBlt(target, 0, 0, client.right, client.bottom, source, 0, 0, info.bmWidth, info.bmHeight,
             SRCCOPY);
  SetStretchBltMode(target, old_mode);
  SelectObject(source, old_bitmap);
  DeleteDC(source);
  ReleaseDC(hwnd, target);
}

}  // namespace setup::platform
