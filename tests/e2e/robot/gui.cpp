// Finding, waiting for and driving the windows of other processes.
#include "gui.h"

#include "text.h"

namespace e2e {

namespace {

struct Search {
  const WindowQuery* query;
  std::wstring title;
  std::wstring class_name;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  if (!IsWindowVisible(window)) return TRUE;
  if (search->query->process != 0) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->query->process) return TRUE;
  }
  wchar_t text[512];
  if (!search->query->title.empty()) {
    GetWindowTextW(window, text, 512);
    if (search->title != text) return TRUE;
  }
  if (!search->query->class_name.empty()) {
    GetClassNameW(window, text, 512);
    if (search->class_name != text) return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindTopWindow(const WindowQuery& query) {
  Search search{&query, Wide(query.title), Wide(query.class_name), nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const WindowQuery& query, int seconds) {
  for (int i = 0; i < seconds * 100; ++i) {
    HWND window = FindTopWindow(query);
    if (window != nullptr) return window;
    Sleep(10);
  }
  return nullptr;
}

HWND WaitForWindowOf(const Process& process, WindowQuery query, int seconds) {
  query.process = process.id();
  if (!process.started()) return nullptr;
  for (int i = 0; i < seconds * 100; ++i) {
    HWND window = FindTopWindow(query);
    if (window != nullptr) return window;
    if (process.Ended()) return FindTopWindow(query);
    Sleep(10);
  }
  return nullptr;
}

bool WaitUntilGone(HWND window, int seconds) {
  for (int i = 0; i < seconds * 20; ++i) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    Sleep(50);
  }
  return false;
}

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }

void Click(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PressKey(HWND window, UINT virtual_key) {
  const UINT scan = MapVirtualKeyW(virtual_key, 0);
  PostMessageW(window, WM_KEYDOWN, virtual_key, static_cast<LPARAM>(1 | (scan << 16)));
  PostMessageW(window, WM_KEYUP, virtual_key,
               static_cast<LPARAM>(1 | (scan << 16) | (1u << 30) | (1u << 31)));
}

void ClickAt(HWND window, int x, int y) {
  const LPARAM point = MAKELPARAM(x, y);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(window, WM_LBUTTONUP, 0, point);
}

void Close(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

void Type(HWND dialog, int id, const std::string& text) {
  HWND control = GetDlgItem(dialog, id);
  SendMessageW(control, EM_SETSEL, 0, -1);
  for (wchar_t c : Wide(text)) SendMessageW(control, WM_CHAR, c, 1);
}

void SetText(HWND dialog, int id, const std::string& text) {
  std::wstring wide = Wide(text);
  SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string TextOf(HWND window) {
  wchar_t text[1024] = L"";
  SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return Utf8(text);
}

std::string TextOf(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control == nullptr ? std::string() : TextOf(control);
}

namespace {

BOOL CALLBACK CollectStatic(HWND window, LPARAM parameter) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, L"Static") == 0) {
    std::string text = TextOf(window);
    if (!text.empty()) reinterpret_cast<std::vector<std::string>*>(parameter)->push_back(text);
  }
  return TRUE;
}

}  // namespace

std::vector<std::string> StaticTexts(HWND window) {
  std::vector<std::string> texts;
  EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

bool IsChecked(HWND dialog, int id) {
  return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND dialog, int id, bool checked) {
  SendMessageW(GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsShown(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control != nullptr && IsWindowVisible(control);
}

COLORREF PixelAt(HWND window, int x, int y) {
  POINT point{x, y};
  if (window != nullptr) ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

void LetPaint(HWND window) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  // The paint follows the queued messages; the X server draws what Wine
  // sent it a moment later. Short, since a window may be up only briefly.
  Sleep(150);
}

}  // namespace e2e
