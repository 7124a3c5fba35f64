// The viewer's main window.
//
// Divided into: the window's state, texts (title and messages), layout and
// scroll bars, painting, opening and stepping, releasing the files, the
// window procedure, and the run.
#include "win32/viewer_window.h"

#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/captions.h"
#include "core/command_line.h"
#include "core/folder_walk.h"
#include "core/picture_loader.h"
#include "core/scaled_view.h"
#include "core/settings_record.h"
#include "core/view_geometry.h"
#include "driver/driver.h"
#include "viewer_ids.h"
#include "win32/system_win32.h"

namespace viewer::win32 {

namespace {

constexpr const char* kClientName = "Lumaview";
constexpr int kLineStep = 32;  // pixels per scroll-bar arrow click and wheel notch

// ---- State -----------------------------------------------------------------
struct Viewer {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  std::unique_ptr<Strings> strings;
  std::string program_folder;
  std::unique_ptr<Picture> picture;
  // Where stepping through the folder starts: the picture shown, or a file
  // stepped onto that could not be shown, so the next step goes past it.
  std::string position;
  bool actual_size = false;
  int scroll_x = 0;
  int scroll_y = 0;
  bool laying_out = false;
  std::vector<std::uint32_t> scaled;  // the fitted view's pixels
  Extent scaled_extent;
  bool files_released = false;
};
Viewer g_viewer;

Extent ClientExtent() {
  RECT client;
  GetClientRect(g_viewer.window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

Extent PictureExtent() {
  if (!g_viewer.picture) return {};
  return {g_viewer.picture->width(), g_viewer.picture->height()};
}

// ---- Texts -----------------------------------------------------------------
std::string Application() { return g_viewer.strings->Text(IDS_APPLICATION); }

Placement CurrentPlacement();

void UpdateTitle() {
  std::string title;
  if (const Picture* picture = g_viewer.picture.get()) {
    int zoom = g_viewer.actual_size ? 100 : ZoomPercent(CurrentPlacement().width, picture->width());
    title = TitleText(Application(), picture->path(), picture->width(), picture->height(),
                      picture->format(), zoom, AnsiLeadByte);
    if (!picture->warning().empty()) title += " [" + picture->warning() + "]";
  } else {
    title = Application();
  }
  SetWindowTextA(g_viewer.window, title.c_str());
}

// Why a load failed, in the window's language; the kernel's own words where
// it gave a reason.
std::string WhyText(const LoadOutcome& outcome) {
  const Strings& strings = *g_viewer.strings;
  switch (outcome.fault) {
    case LoadFault::NameTooLong:
      return strings.Text(IDS_FAULT_NAME_TOO_LONG);
    case LoadFault::CannotRead:
      return strings.Text(IDS_FAULT_CANNOT_READ);
    case LoadFault::UnknownFormat:
      return strings.Text(IDS_FAULT_UNKNOWN_FORMAT);
    case LoadFault::NoReader:
      return FillPattern(strings.Text(IDS_FAULT_NO_READER), {outcome.format});
    case LoadFault::CoderFailed:
      if (outcome.reason.empty() && outcome.description.empty())
        return strings.Text(IDS_FAULT_NO_REASON);
      return ReasonText(outcome.reason, outcome.description);
    case LoadFault::NoPixels:
    case LoadFault::None:
      break;
  }
  return strings.Text(IDS_FAULT_NO_PIXELS);
}

void ShowMessage(const std::string& text) {
  MessageBoxA(g_viewer.window, text.c_str(), Application().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// ---- Layout and scroll bars ------------------------------------------------
void SetBar(int bar, bool shown, int length, int page, int position) {
  if (!shown) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = length - 1;
  info.nPage = static_cast<UINT>(page);
  info.nPos = position;
  SetScrollInfo(g_viewer.window, bar, &info, TRUE);
}

// Shows the scroll bars the 100% view needs (none when fitted), keeps the
// scroll offsets in range, and has the whole client area painted again.
void UpdateLayout() {
  if (g_viewer.window == nullptr || g_viewer.laying_out) return;
  g_viewer.laying_out = true;
  bool horizontal = false;
  bool vertical = false;
  if (g_viewer.actual_size && g_viewer.picture) {
    // The area without bars: the client area plus the bars shown now.
    Extent whole = ClientExtent();
    auto style = GetWindowLongA(g_viewer.window, GWL_STYLE);
    int bar_width = GetSystemMetrics(SM_CXVSCROLL);
    int bar_height = GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_VSCROLL) whole.width += bar_width;
    if (style & WS_HSCROLL) whole.height += bar_height;
    ScrollBars bars = ScrollBarsFor(PictureExtent(), whole, bar_width, bar_height);
    horizontal = bars.horizontal;
    vertical = bars.vertical;
  }
  ShowScrollBar(g_viewer.window, SB_HORZ, horizontal);
  ShowScrollBar(g_viewer.window, SB_VERT, vertical);
  Extent client = ClientExtent();
  Extent picture = PictureExtent();
  g_viewer.scroll_x = ClampScroll(g_viewer.scroll_x, picture.width, client.width);
  g_viewer.scroll_y = ClampScroll(g_viewer.scroll_y, picture.height, client.height);
  SetBar(SB_HORZ, horizontal, picture.width, client.width, g_viewer.scroll_x);
  SetBar(SB_VERT, vertical, picture.height, client.height, g_viewer.scroll_y);
  g_viewer.laying_out = false;
  UpdateTitle();  // the fitted view's zoom follows the window's size
  InvalidateRect(g_viewer.window, nullptr, FALSE);
}

Placement CurrentPlacement() {
  Extent client = ClientExtent();
  if (g_viewer.actual_size)
    return ActualPlacement(PictureExtent(), client, g_viewer.scroll_x, g_viewer.scroll_y);
  return FitPlacement(PictureExtent(), client);
}

void ScrollTo(int bar, int position) {
  Extent client = ClientExtent();
  Extent picture = PictureExtent();
  if (bar == SB_HORZ) {
    g_viewer.scroll_x = ClampScroll(position, picture.width, client.width);
    SetScrollPos(g_viewer.window, SB_HORZ, g_viewer.scroll_x, TRUE);
  } else {
    g_viewer.scroll_y = ClampScroll(position, picture.height, client.height);
    SetScrollPos(g_viewer.window, SB_VERT, g_viewer.scroll_y, TRUE);
  }
  InvalidateRect(g_viewer.window, nullptr, FALSE);
}

void OnScroll(int bar, WORD request) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(g_viewer.window, bar, &info)) return;
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP:
      position -= kLineStep;
      break;
    case SB_LINEDOWN:
      position += kLineStep;
      break;
    case SB_PAGEUP:
      position -= static_cast<int>(info.nPage);
      break;
    case SB_PAGEDOWN:
      position += static_cast<int>(info.nPage);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = 0;
      break;
    case SB_BOTTOM:
      position = info.nMax;
      break;
    default:
      return;
  }
  ScrollTo(bar, position);
}

// ---- Painting --------------------------------------------------------------
// Draws rows [top, bottom) and columns [left, right) of a picture of
// `width` columns stored row after row, its pixel (0, 0) at (x, y).
void DrawPixels(HDC dc, const std::uint32_t* pixels, int width, int x, int y, int left, int top,
                int right, int bottom) {
  if (left >= right || top >= bottom) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -(bottom - top);  // top-down: the first row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const std::uint32_t* first_row = pixels + static_cast<std::size_t>(top) * width;
  SetDIBitsToDevice(dc, x + left, y + top, static_cast<DWORD>(right - left),
                    static_cast<DWORD>(bottom - top), left, 0, 0, static_cast<UINT>(bottom - top),
                    first_row, &info, DIB_RGB_COLORS);
}

void Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(g_viewer.window, &paint);
  Extent client = ClientExtent();
  Placement place = CurrentPlacement();
  if (g_viewer.picture && place.width > 0 && place.height > 0) {
    const std::uint32_t* pixels = g_viewer.picture->pixels();
    int width = g_viewer.picture->width();
    if (!g_viewer.actual_size) {
      if (g_viewer.scaled_extent.width != place.width ||
          g_viewer.scaled_extent.height != place.height || g_viewer.scaled.empty()) {
        g_viewer.scaled =
            ScalePicture(pixels, width, g_viewer.picture->height(), place.width, place.height);
        g_viewer.scaled_extent = {place.width, place.height};
      }
      pixels = g_viewer.scaled.data();
      width = place.width;
    }
    // The part of the picture inside the client area.
    int left = std::max(0, -place.x);
    int top = std::max(0, -place.y);
    int right = std::min(place.width, client.width - place.x);
    int bottom = std::min(place.height, client.height - place.y);
    DrawPixels(dc, pixels, width, place.x, place.y, left, top, right, bottom);
    ExcludeClipRect(dc, place.x + left, place.y + top, place.x + right, place.y + bottom);
  }
  // The background around the picture.
  RECT area{0, 0, client.width, client.height};
  HBRUSH background = CreateSolidBrush(RGB(
      (kBackgroundColor >> 16) & 0xFF, (kBackgroundColor >> 8) & 0xFF, kBackgroundColor & 0xFF));
  FillRect(dc, &area, background);
  DeleteObject(background);
  EndPaint(g_viewer.window, &paint);
}

// ---- Opening and stepping --------------------------------------------------
void Show(std::unique_ptr<Picture> picture) {
  g_viewer.picture = std::move(picture);
  g_viewer.scaled.clear();
  g_viewer.scaled_extent = {};
  g_viewer.scroll_x = 0;
  g_viewer.scroll_y = 0;
  UpdateLayout();
}

// Opens a picture; a file that cannot be shown leaves the picture shown as
// it is and says why. `stepped`: the file was reached by stepping through
// the folder, which goes on from it either way.
void Open(const std::string& given, bool stepped) {
  if (given.empty()) return;
  std::string path = FullPath(given);
  LoadOutcome outcome = LoadPicture(path);
  if (outcome.picture) {
    g_viewer.position = path;
    Show(std::move(outcome.picture));
    return;
  }
  if (stepped || !g_viewer.picture) g_viewer.position = path;
  ShowMessage(FillPattern(g_viewer.strings->Text(IDS_CANNOT_SHOW),
                          {FileNamePart(path, AnsiLeadByte), WhyText(outcome)}));
}

void StepThroughFolder(Step step) {
  if (g_viewer.position.empty() || g_viewer.files_released) return;
  std::string folder = FolderPart(g_viewer.position, AnsiLeadByte);
  std::vector<std::string> names = FilesOfFolder(folder);
  OrderNames(names);
  std::string next =
      StepFrom(names, FileNamePart(g_viewer.position, AnsiLeadByte), step,
               [&folder](const std::string& name) { return IsShowable(folder + name); });
  if (next.empty()) {
    MessageBeep(MB_OK);  // no other picture in the folder
    return;
  }
  Open(folder + next, true);
}

void OpenThroughDialog() {
  if (g_viewer.files_released) return;
  const Strings& strings = *g_viewer.strings;
  std::string filter = OpenFilter(strings.Text(IDS_FILTER_PICTURES), strings.Text(IDS_FILTER_ALL),
                                  ReadableFormats());
  std::string title = strings.Text(IDS_OPEN_TITLE);
  std::string folder = FolderPart(g_viewer.position, AnsiLeadByte);
  char file[MAX_PATH] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = g_viewer.window;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameA(&dialog)) Open(file, false);
}

void OpenDropped(HDROP drop) {
  UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  std::string path;
  if (length > 0) {
    path.resize(length + 1);
    UINT copied = DragQueryFileA(drop, 0, &path[0], length + 1);
    path.resize(copied);
  }
  DragFinish(drop);
  Open(path, false);
}

void ToggleActualSize() {
  g_viewer.actual_size = !g_viewer.actual_size;
  CheckMenuItem(GetMenu(g_viewer.window), IDM_VIEW_ACTUAL_SIZE,
                MF_BYCOMMAND | (g_viewer.actual_size ? MF_CHECKED : MF_UNCHECKED));
  g_viewer.scaled.clear();
  UpdateLayout();
}

// ---- Releasing the files ---------------------------------------------------
// Destroys the picture (its image records) and unloads the coder modules, so
// that nothing of the installed files is held but the program and the
// kernel, which go with the process.
void ReleaseFiles() {
  if (g_viewer.files_released) return;
  g_viewer.picture.reset();
  g_viewer.scaled.clear();
  StopCoders();  // what it raises has no one to tell: setup waits, or the viewer ends
  g_viewer.files_released = true;
}

// ---- Window procedure ------------------------------------------------------
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == setup::kViewerNotifyMessage) {
    // Setup is about to replace the installed files and waits for this
    // answer: let go of them and close.
    if (wparam == setup::kViewerReleaseFiles) {
      ReleaseFiles();
      DestroyWindow(window);
    }
    return 0;
  }
  switch (message) {
    case WM_NCCREATE:
      g_viewer.window = window;  // before the first message that lays out or paints
      break;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDM_FILE_OPEN:
          OpenThroughDialog();
          return 0;
        case IDM_FILE_NEXT:
          StepThroughFolder(Step::Next);
          return 0;
        case IDM_FILE_PREVIOUS:
          StepThroughFolder(Step::Previous);
          return 0;
        case IDM_FILE_EXIT:
          DestroyWindow(window);
          return 0;
        case IDM_VIEW_ACTUAL_SIZE:
          ToggleActualSize();
          return 0;
        default:
          break;
      }
      break;
    case WM_DROPFILES:
      OpenDropped(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_SIZE:
      UpdateLayout();
      return 0;
    case WM_HSCROLL:
      OnScroll(SB_HORZ, LOWORD(wparam));
      return 0;
    case WM_VSCROLL:
      OnScroll(SB_VERT, LOWORD(wparam));
      return 0;
    case WM_MOUSEWHEEL:
      if (g_viewer.actual_size) {
        int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
        ScrollTo(SB_VERT, g_viewer.scroll_y - notches * kLineStep);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting covers the whole client area
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DESTROY: {
      ProfileStore store;
      ClearMonitor(store, reinterpret_cast<std::uintptr_t>(window));
      ReleaseFiles();
      PostQuitMessage(0);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

// ---- The run ---------------------------------------------------------------
int RunViewer(HINSTANCE instance, const char* command_line, int show) {
  g_viewer.instance = instance;
  g_viewer.strings = std::make_unique<Strings>(instance);
  const Strings& strings = *g_viewer.strings;

  // The kernel's messages carry the program's name and, as in every windowed
  // client, appear in message boxes.
  UpdateClientName(kClientName);
  InstallErrorHandler(ShowErrorBox);
  InstallWarningHandler(ShowWarningBox);
  g_viewer.program_folder = ProgramFolder();
  CoderStart coders = StartCoders(g_viewer.program_folder);

  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = VIEWER_WINDOW_CLASS;
  if (RegisterClassA(&window_class) == 0) return 1;
  HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(strings.Id(IDR_MENU)));
  std::string application = Application();
  g_viewer.window = CreateWindowExA(WS_EX_ACCEPTFILES, VIEWER_WINDOW_CLASS, application.c_str(),
                                    WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance, nullptr);
  if (g_viewer.window == nullptr) return 1;
  ProfileStore store;
  RecordMonitor(store, reinterpret_cast<std::uintptr_t>(g_viewer.window));
  ShowWindow(g_viewer.window, show);
  UpdateWindow(g_viewer.window);

  if (coders.formats.empty()) {
    // Nothing can be shown: say where the modules were looked for and what
    // the kernel met there.
    std::string text = FillPattern(strings.Text(IDS_NO_CODERS), {g_viewer.program_folder});
    for (const std::string& warning : coders.warnings) text += "\n" + warning;
    ShowMessage(text);
  }
  Open(CommandLinePicture(command_line,
                          [](const std::string& path) {
                            DWORD attributes = GetFileAttributesA(path.c_str());
                            return attributes != INVALID_FILE_ATTRIBUTES &&
                                   (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
                          }),
       false);

  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (TranslateAcceleratorA(g_viewer.window, accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace viewer::win32
