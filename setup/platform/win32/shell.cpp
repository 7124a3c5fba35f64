// Win32 side of the shell seam (platform/shell.h): the shell's link object
// through COM, attributes and directory removal, and the classic file-open
// dialog used as the directory chooser.
#include "platform/shell.h"

// windows.h first: the other headers build on it.
#include <windows.h>
// clang-format off
#include <commdlg.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
// clang-format on

namespace setup::platform {

// --- Shell links -------------------------------------------------------------

namespace {
IShellLinkA* AsLink(ShellLink link) { return reinterpret_cast<IShellLinkA*>(link); }
}  // namespace

ShellLink CreateShellLinkObject() {
  void* object = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              &object)))
    return 0;
  return reinterpret_cast<ShellLink>(object);
}

void SetShellLinkPath(ShellLink link, const char* target) { AsLink(link)->SetPath(target); }

void SetShellLinkArguments(ShellLink link, const char* arguments) {
  AsLink(link)->SetArguments(arguments);
}

void SetShellLinkIcon(ShellLink link, const char* icon_file, int icon_index) {
  AsLink(link)->SetIconLocation(icon_file, icon_index);
}

void SetShellLinkDescription(ShellLink link, const char* description) {
  AsLink(link)->SetDescription(description);
}

bool SaveShellLink(ShellLink link, const char* path) {
  IPersistFile* file = nullptr;
  if (FAILED(AsLink(link)->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
    return false;
  WCHAR wide[MAX_PATH];
  bool saved = false;
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) > 0)
    saved = SUCCEEDED(file->Save(wide, TRUE));
  file->Release();
  return saved;
}

void ReleaseShellLinkObject(ShellLink link) { AsLink(link)->Release(); }

// --- Removing ------------------------------------------------------------------

bool SetNormalAttributes(const char* path) {
  return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) != 0;
}

bool RemoveDirectoryAt(const char* path) { return RemoveDirectoryA(path) != 0; }

// --- Directory chooser ------------------------------------------------------------

namespace {

DialogProcedure chooser_hook = nullptr;

UINT_PTR CALLBACK ChooserHook(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  Window window = reinterpret_cast<Window>(dialog);
  switch (message) {
    case WM_INITDIALOG:
      chooser_hook(window, DialogEvent::Opened, 0);
      return TRUE;
    case WM_COMMAND:
      return chooser_hook(window, DialogEvent::Command, LOWORD(wparam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool RunDirectoryChooser(Window owner, int template_id, const char* title, DialogProcedure hook) {
  char file[MAX_PATH] = "";
  char file_title[MAX_PATH] = "";
  OPENFILENAMEA request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = reinterpret_cast<HWND>(owner);
  request.hInstance = GetModuleHandleA(nullptr);
  request.lpstrFilter = "*.*\0*.*\0";
  request.nFilterIndex = 1;
  request.lpstrFile = file;
  request.nMaxFile = sizeof file;
  request.lpstrFileTitle = file_title;
  request.nMaxFileTitle = sizeof file_title;
  request.lpstrInitialDir = nullptr;
  request.lpstrTitle = title;
  request.lpstrDefExt = "*.*";
  request.Flags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;  // classic dialog: no OFN_EXPLORER
  request.lpfnHook = ChooserHook;
  request.lpTemplateName = MAKEINTRESOURCEA(template_id);
  DialogProcedure previous = chooser_hook;
  chooser_hook = hook;
  BOOL chosen = GetOpenFileNameA(&request);
  chooser_hook = previous;
  return chosen != FALSE;
}

void PostCommandWithValue(Window dialog, int command, std::intptr_t value) {
  PostMessageA(reinterpret_cast<HWND>(dialog), WM_COMMAND, static_cast<WPARAM>(command),
               static_cast<LPARAM>(value));
}

}  // namespace setup::platform
