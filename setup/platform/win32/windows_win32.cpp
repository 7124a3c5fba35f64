// The platform seam on Windows: resources, windows, message boxes, dialogs.
#include <windows.h>

#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace setup::platform {
namespace {

HINSTANCE Program() { return GetModuleHandleA(nullptr); }
HWND W(Window window) { return reinterpret_cast<HWND>(window); }

WindowHook background_paint = nullptr;
WindowHook background_refresh = nullptr;

LRESULT CALLBACK BackgroundProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      if (background_paint != nullptr) background_paint(reinterpret_cast<Window>(window));
      ValidateRect(window, nullptr);
      return 0;
    case WM_TIMER:
      if (wparam == IDT_BACKGROUND_REFRESH && background_refresh != nullptr)
        background_refresh(reinterpret_cast<Window>(window));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

// Turns dialog messages into the portable procedure's events. The
// procedure travels in the creation parameter and stays in DWLP_USER.
INT_PTR CALLBACK DialogTrampoline(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto dialog = reinterpret_cast<Window>(window);
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    reinterpret_cast<DialogProcedure>(lparam)(dialog, DialogEvent::Opened, 0);
    return TRUE;
  }
  auto procedure = reinterpret_cast<DialogProcedure>(GetWindowLongPtrA(window, DWLP_USER));
  if (procedure == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return procedure(dialog, DialogEvent::Command, LOWORD(wparam)) ? TRUE : FALSE;
    case WM_TIMER:
      return procedure(dialog, DialogEvent::Timer, static_cast<int>(wparam)) ? TRUE : FALSE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      procedure(dialog, DialogEvent::Paint, 0);
      return TRUE;
    }
    case WM_CLOSE:
      return procedure(dialog, DialogEvent::Close, 0) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

// --- Resources ----------------------------------------------------------------------
std::size_t LoadText(int id, char* buffer, std::size_t size) {
  if (size == 0) return 0;
  int length = LoadStringA(Program(), static_cast<UINT>(id), buffer, static_cast<int>(size));
  if (length <= 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<std::size_t>(length);
}

Graphic LoadIconGraphic(int id) {
  return reinterpret_cast<Graphic>(LoadIconA(Program(), MAKEINTRESOURCEA(id)));
}

void DestroyIconGraphic(Graphic icon) {
  if (icon != 0) DestroyIcon(reinterpret_cast<HICON>(icon));
}

Graphic LoadBitmapGraphic(int id) {
  return reinterpret_cast<Graphic>(LoadBitmapA(Program(), MAKEINTRESOURCEA(id)));
}

Graphic CreateSolidBrushGraphic(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return reinterpret_cast<Graphic>(CreateSolidBrush(RGB(red, green, blue)));
}

void DeleteGraphic(Graphic graphic) {
  if (graphic != 0) DeleteObject(reinterpret_cast<HGDIOBJ>(graphic));
}

const std::uint8_t* FindNamedTypeResource(int id, const char* type, std::size_t* size) {
  HRSRC found = FindResourceA(Program(), MAKEINTRESOURCEA(id), type);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(Program(), found);
  if (loaded == nullptr) return nullptr;
  *size = SizeofResource(Program(), found);
  return static_cast<const std::uint8_t*>(LockResource(loaded));
}

// --- Windows --------------------------------------------------------------------------
Rect DesktopRectangle() { return WindowRectangle(reinterpret_cast<Window>(GetDesktopWindow())); }

Rect WindowRectangle(Window window) {
  RECT r{};
  GetWindowRect(W(window), &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

void MoveWindowTo(Window window, long x, long y) {
  SetWindowPos(W(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

bool RegisterBackgroundClass(int icon_id) {
  WNDCLASSA type{};
  type.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
  type.lpfnWndProc = BackgroundProcedure;
  type.hInstance = Program();
  type.hIcon = LoadIconA(Program(), MAKEINTRESOURCEA(icon_id));
  type.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  type.hbrBackground = CreateSolidBrush(RGB(0, 0, 192));
  type.lpszClassName = "SETUP";
  return RegisterClassA(&type) != 0;
}

Window CreateBackgroundWindow(const Rect& area, WindowHook paint, WindowHook refresh) {
  background_paint = paint;
  background_refresh = refresh;
  HWND window = CreateWindowExA(0, "SETUP", "SETUP", WS_POPUP | WS_BORDER, area.left, area.top,
                                area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                Program(), nullptr);
  if (window == nullptr) return 0;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return reinterpret_cast<Window>(window);
}

bool WindowExists(Window window) { return IsWindow(W(window)) != FALSE; }

void StartTimer(Window window, unsigned id, unsigned period_ms) {
  SetTimer(W(window), id, period_ms, nullptr);
}

void StopTimer(Window window, unsigned id) { KillTimer(W(window), id); }
void PostQuit() { PostQuitMessage(0); }

int ShowMessage(Window owner, const char* text, const char* caption, Buttons buttons) {
  UINT type = buttons == Buttons::YesNo         ? MB_YESNO
              : buttons == Buttons::RetryCancel ? MB_RETRYCANCEL
                                                : MB_OK;
  return MessageBoxA(W(owner), text, caption, type);
}

// --- Dialogs -----------------------------------------------------------------------------
int RunDialog(int template_id, DialogProcedure procedure, Window owner) {
  return static_cast<int>(DialogBoxParamA(Program(), MAKEINTRESOURCEA(template_id), W(owner),
                                          DialogTrampoline, reinterpret_cast<LPARAM>(procedure)));
}

void EndDialogWith(Window dialog, int result) { EndDialog(W(dialog), result); }

void PostCommand(Window dialog, int command) {
  PostMessageA(W(dialog), WM_COMMAND, static_cast<WPARAM>(command), 0);
}

void SetItemText(Window dialog, int item, const char* text) {
  SetDlgItemTextA(W(dialog), item, text);
}

std::size_t GetItemText(Window dialog, int item, char* buffer, std::size_t size) {
  return GetDlgItemTextA(W(dialog), item, buffer, static_cast<int>(size));
}

bool ItemChecked(Window dialog, int item) {
  return IsDlgButtonChecked(W(dialog), item) == BST_CHECKED;
}

void CheckItem(Window dialog, int item, bool checked) {
  CheckDlgButton(W(dialog), item, checked ? BST_CHECKED : BST_UNCHECKED);
}

void ShowItem(Window dialog, int item, bool visible) {
  ShowWindow(GetDlgItem(W(dialog), item), visible ? SW_SHOW : SW_HIDE);
}

void DrawIconInItem(Window dialog, int item, Graphic icon) {
  HWND control = GetDlgItem(W(dialog), item);
  if (control == nullptr || icon == 0) return;
  HDC dc = GetDC(control);
  DrawIcon(dc, 0, 0, reinterpret_cast<HICON>(icon));
  ReleaseDC(control, dc);
}

void FillItemFromLeft(Window dialog, int item, Graphic brush, unsigned numerator,
                      unsigned denominator) {
  HWND control = GetDlgItem(W(dialog), item);
  if (control == nullptr || brush == 0 || denominator == 0) return;
  RECT area;
  GetClientRect(control, &area);
  area.right = static_cast<LONG>(static_cast<unsigned long long>(numerator) *
                                 static_cast<unsigned long long>(area.right) / denominator);
  HDC dc = GetDC(control);
  FillRect(dc, &area, reinterpret_cast<HBRUSH>(brush));
  ReleaseDC(control, dc);
  // The control's own repaint would wipe the bar until the next fill.
  ValidateRect(control, nullptr);
}

void DrawBitmapInItem(Window dialog, int item, Graphic bitmap) {
  HWND control = GetDlgItem(W(dialog), item);
  if (control == nullptr || bitmap == 0) return;
  RECT area;
  GetClientRect(control, &area);
  BITMAP info;
  GetObjectA(reinterpret_cast<HGDIOBJ>(bitmap), sizeof info, &info);
  HDC dc = GetDC(control);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, reinterpret_cast<HGDIOBJ>(bitmap));
  StretchBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(control, dc);
  ValidateRect(control, nullptr);
}

}  // namespace setup::platform
