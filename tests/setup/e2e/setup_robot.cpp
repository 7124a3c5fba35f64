// setup_robot: plays the user of setup.exe through one whole run, the way a
// person would (under Wine), saves a screenshot of every window it meets,
// and then checks what the run left behind: the program group with real
// shell links, the internet shortcut, the Quick Launch link, the settings
// file and the uninstall entry.
//
//   setup_robot SETUP_EXE SHOT_DIR en|zh [options]
//     --exit-when-done       tick "Exit when Setup completed." (the finish
//                            dialog must then close by itself)
//     --quick-launch DIR     name DIR as the Quick Launch folder first
//     --help-file            the run's FULLDATA supplies Widelens.CHM
//     --old-group NAME       a group of that name (UTF-8) from an earlier
//                            run must be gone afterwards
//     --chooser-messages     try the directory chooser's refusals first
//     --exit-confirmation    press Cancel during the copy, then Resume
//     --tools                TOOLS\SETUPBRW.EXE lies next to setup
//
// Prints one line per check and closes with "N passed, N failed".
//
// Divisions: checks and text, windows, screenshots, the run, the results.
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

// --- Checks and text -----------------------------------------------------------

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  std::fflush(stdout);
  (ok ? passed : failed)++;
}

std::wstring Wide(const std::string& utf8) {
  wchar_t buffer[1024];
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, buffer, 1024);
  return n > 0 ? std::wstring(buffer) : std::wstring();
}

std::string Utf8(const std::wstring& wide) {
  char buffer[2048];
  int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
  return n > 0 ? std::string(buffer) : std::string();
}

// --- Windows -------------------------------------------------------------------

DWORD setup_process_id = 0;

struct Found {
  const wchar_t* caption;
  HWND window;
};

BOOL CALLBACK FindByCaption(HWND window, LPARAM param) {
  Found* found = reinterpret_cast<Found*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != setup_process_id || !IsWindowVisible(window)) return TRUE;
  wchar_t text[256];
  GetWindowTextW(window, text, 256);
  if (std::wcscmp(text, found->caption) == 0) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// Waits up to `seconds` for a visible top-level window of setup with the
// caption; polls often, since some dialogs are up only briefly.
HWND WaitForWindow(const std::wstring& caption, int seconds) {
  for (int i = 0; i < seconds * 100; ++i) {
    Found found{caption.c_str(), nullptr};
    EnumWindows(FindByCaption, reinterpret_cast<LPARAM>(&found));
    if (found.window != nullptr) return found.window;
    Sleep(10);
  }
  return nullptr;
}

bool WaitUntilGone(HWND window, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    Sleep(100);
  }
  return false;
}

void Click(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SetText(HWND dialog, int id, const std::wstring& text) {
  SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring TextOf(HWND dialog, int id) {
  wchar_t text[512] = L"";
  SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

// --- Screenshots ---------------------------------------------------------------

std::string shot_dir;

// The whole screen as a 24-bit bitmap file SHOT_DIR\name.bmp.
void Screenshot(const char* name) {
  Sleep(700);  // let the window paint itself
  int w = GetSystemMetrics(SM_CXSCREEN);
  int h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  DWORD row = static_cast<DWORD>((w * 3 + 3) & ~3);
  DWORD image = row * static_cast<DWORD>(h);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + image;
  std::string path = shot_dir + "\\" + name + ".bmp";
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
    WriteFile(out, bits, image, &written, nullptr);
    CloseHandle(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::printf("screenshot %s\n", name);
}

// --- Registry and files ----------------------------------------------------------

std::wstring ReadRegistry(HKEY root, const wchar_t* key, const wchar_t* value) {
  HKEY handle;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return L"";
  wchar_t data[1024] = L"";
  DWORD size = sizeof data - sizeof(wchar_t);
  DWORD type = 0;
  LONG result =
      RegQueryValueExW(handle, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(handle);
  return result == ERROR_SUCCESS ? std::wstring(data) : std::wstring();
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FileBytes(const std::wstring& path) {
  HANDLE in =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[4096];
  DWORD read = 0;
  ReadFile(in, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(in);
  return std::string(buffer, read);
}

std::wstring IniValue(const wchar_t* section, const wchar_t* key) {
  wchar_t value[512];
  GetPrivateProfileStringW(section, key, L"<missing>", value, 512, L"Lumaview.INI");
  return value;
}

struct LinkFields {
  bool loaded = false;
  std::wstring target, arguments, icon, description;
  int index = -1;
};

LinkFields LoadLink(const std::wstring& path) {
  LinkFields fields;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return fields;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
      wchar_t text[MAX_PATH];
      fields.loaded = true;
      if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) fields.target = text;
      if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) fields.arguments = text;
      if (SUCCEEDED(link->GetDescription(text, MAX_PATH))) fields.description = text;
      int index = -1;
      if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &index))) {
        fields.icon = text;
        fields.index = index;
      }
    }
    file->Release();
  }
  link->Release();
  return fields;
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

void CheckLink(const std::wstring& path, const std::wstring& target, const std::wstring& arguments,
               const std::wstring& icon) {
  LinkFields link = LoadLink(path);
  std::string name = Utf8(path);
  Check(link.loaded, "link " + name + " is a shell link file");
  if (!link.loaded) return;
  // The link object resolves a bare program name (HH.EXE) on the search path.
  std::wstring got = link.target;
  if (target.find(L'\\') == std::wstring::npos && got.size() > target.size() &&
      got[got.size() - target.size() - 1] == L'\\')
    got = got.substr(got.size() - target.size());
  Check(SameIgnoringCase(got, target), "link target " + Utf8(link.target) + " == " + Utf8(target));
  Check(link.arguments == arguments,
        "link arguments \"" + Utf8(link.arguments) + "\" == \"" + Utf8(arguments) + "\"");
  Check(SameIgnoringCase(link.icon, icon) && link.index == 0, "link icon " + Utf8(link.icon) + "," +
                                                                  std::to_string(link.index) +
                                                                  " == " + Utf8(icon) + ",0");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: setup_robot SETUP_EXE SHOT_DIR en|zh [options]\n");
    return 2;
  }
  const std::string setup_exe = argv[1];
  shot_dir = argv[2];
  const bool chinese = std::strcmp(argv[3], "zh") == 0;
  bool exit_when_done = false, help_file = false, chooser_messages = false,
       exit_confirmation = false, tools = false;
  std::wstring quick_launch, old_group;
  for (int i = 4; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--exit-when-done") exit_when_done = true;
    if (option == "--help-file") help_file = true;
    if (option == "--chooser-messages") chooser_messages = true;
    if (option == "--exit-confirmation") exit_confirmation = true;
    if (option == "--tools") tools = true;
    if (option == "--quick-launch" && i + 1 < argc) quick_launch = Wide(argv[++i]);
    if (option == "--old-group" && i + 1 < argc) old_group = Wide(argv[++i]);
  }
  const std::string lang = chinese ? "zh" : "en";
  CoInitialize(nullptr);
  Check((GetACP() == 936) == chinese,
        "code page " + std::to_string(GetACP()) + " fits the language");

  if (!quick_launch.empty()) {
    CreateDirectoryW(quick_launch.c_str(), nullptr);
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups", 0,
                        nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      RegSetValueExW(key, L"Quick Launch", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(quick_launch.c_str()),
                     static_cast<DWORD>((quick_launch.size() + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
  }

  const bool first_run = IniValue(L"INSTALL", L"INSTALLPATH") == L"<missing>";

  // --- The run -------------------------------------------------------------
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string command = "\"" + setup_exe + "\"";
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    Check(false, "setup.exe starts");
    std::printf("%d passed, %d failed\n", passed, failed);
    return 1;
  }
  setup_process_id = process.dwProcessId;

  const std::wstring start_caption = chinese ? Wide("安装设置") : L"Install Setup";
  HWND start = WaitForWindow(start_caption, 300);
  Check(start != nullptr, "the start dialog appears");
  if (start != nullptr) {
    Screenshot(("1-start-" + lang).c_str());
    if (first_run)
      Check(TextOf(start, IDC_START_DESTINATION) == L"C:\\Corvane\\Widelens\\",
            "the first run proposes C:\\Corvane\\Widelens\\");
    if (chooser_messages) {
      const std::wstring chosen = Wide("C:\\Chosen-" + lang);
      Click(start, IDC_START_BROWSE);
      HWND chooser = WaitForWindow(L"Choose Directories", 120);
      Check(chooser != nullptr, "the directory chooser appears");
      if (chooser != nullptr) {
        Screenshot(("2-chooser-" + lang).c_str());
        SetText(chooser, IDC_CHOOSER_PATH, L"C:\\");
        Click(chooser, IDOK);
        HWND box = WaitForWindow(L"Path Error", 60);
        Check(box != nullptr, "a drive root is refused with \"Path Error\"");
        if (box != nullptr) {
          Screenshot(("3-path-error-" + lang).c_str());
          Click(box, IDOK);
          WaitUntilGone(box, 30);
        }
        SetText(chooser, IDC_CHOOSER_PATH, chosen);
        Click(chooser, IDOK);
        box = WaitForWindow(L"Path Not Exist", 60);
        Check(box != nullptr, "a missing directory is offered for creation");
        if (box != nullptr) {
          Screenshot(("4-path-not-exist-" + lang).c_str());
          Click(box, IDNO);
          WaitUntilGone(box, 30);
          Check(!Exists(chosen), "answered No, nothing is created");
        }
        Click(chooser, IDOK);
        box = WaitForWindow(L"Path Not Exist", 60);
        if (box != nullptr) Click(box, IDYES);
        Check(WaitUntilGone(chooser, 60), "answered Yes, the chooser accepts the new directory");
        Check(Exists(chosen), "the chosen directory was created");
        Sleep(500);
        Check(TextOf(start, IDC_START_DESTINATION) == chosen,
              "the start dialog shows the chosen directory");
        // Back to the usual destination for the checks below.
        SetText(start, IDC_START_DESTINATION, L"C:\\Corvane\\Widelens\\");
      }
    }
    if (exit_when_done)
      SendMessageW(GetDlgItem(start, IDC_START_EXIT_WHEN_DONE), BM_SETCHECK, BST_CHECKED, 0);
    Click(start, IDOK);
  }

  HWND copy = WaitForWindow(chinese ? Wide("安装《宽镜》") : L"Setup Corvane Widelens", 300);
  Check(copy != nullptr, "the copy dialog appears");
  if (copy != nullptr) {
    Screenshot(("5-copy-" + lang).c_str());
    if (exit_confirmation) {
      Click(copy, IDCANCEL);
      HWND confirm = WaitForWindow(chinese ? Wide("退出安装") : L"Exit Setup", 120);
      Check(confirm != nullptr, "Cancel asks whether to leave setup");
      if (confirm != nullptr) {
        Screenshot(("5-exit-confirmation-" + lang).c_str());
        Click(confirm, IDC_EXIT_RESUME);
        Check(WaitUntilGone(confirm, 60), "Resume goes back to the copy");
      }
    }
  }
  HWND wait = WaitForWindow(chinese ? Wide("创建程序组") : L"Create Group", 600);
  Check(wait != nullptr, "the group creation wait dialog appears");
  if (wait != nullptr) Screenshot(("6-wait-" + lang).c_str());
  HWND finish = WaitForWindow(chinese ? Wide("安装完成") : L"Finish Setup", 300);
  Check(finish != nullptr, "the finish dialog appears");
  if (finish != nullptr) {
    if (exit_when_done) {
      Check(WaitUntilGone(finish, 60), "the finish dialog closes by itself");
    } else {
      Screenshot(("7-finish-" + lang).c_str());
      HWND box = GetDlgItem(finish, IDC_FINISH_TOOLS);
      if (tools)
        Check(box != nullptr && IsWindowVisible(box) &&
                  SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED,
              "the tools box is offered and ticked");
      else
        Check(box != nullptr && !IsWindowVisible(box), "the tools box is hidden");
      Click(finish, IDOK);
    }
  }
  DWORD exit_code = 0;
  bool ended = WaitForSingleObject(process.hProcess, 300000) == WAIT_OBJECT_0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  Check(ended && exit_code == 1, "setup ends with 1 (got " + std::to_string(exit_code) + ")");
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);

  // --- What the run left ------------------------------------------------------
  const std::wstring root = L"C:\\Corvane\\Widelens\\";
  Check(Exists(root + L"PIXBASE.dll"), "PIXBASE.dll was installed");
  wchar_t short_root[MAX_PATH] = L"";
  GetShortPathNameW(root.c_str(), short_root, MAX_PATH);
  const std::wstring group_name = chinese ? Wide("宽镜") : L"Corvane Widelens";
  Check(IniValue(L"INSTALL", L"GROUP") == group_name, "[INSTALL] GROUP names the group");
  std::wstring programs = ReadRegistry(
      HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
      L"Common Programs");
  Check(!programs.empty(), "the all-users Programs folder is known");
  const std::wstring group = programs + L"\\" + group_name + L"\\";
  const std::wstring s = short_root;
  CheckLink(group + (chinese ? Wide("宽镜") : L"Corvane Widelens") + L".lnk", s + L"Lumaview.EXE",
            L"", s + L"Lumaview.EXE");
  CheckLink(group + (chinese ? Wide("卸载宽镜") : L"Remove Widelens") + L".lnk",
            s + L"UNINST32.EXE", L"", s + L"UNINST32.EXE");
  const std::wstring help_link =
      group + (chinese ? Wide("宽镜帮助文档") : L"Help Documentation") + L".lnk";
  if (help_file)
    CheckLink(help_link, L"HH.EXE", s + L"Widelens.CHM", L"HH.EXE");
  else
    Check(!Exists(help_link), "without the help file there is no help link");
  const std::wstring url =
      group + (chinese ? Wide("欢迎访问") : L"Welcome to ") + L"www.corvane.example.com.URL";
  Check(FileBytes(url) == "[InternetShortcut]\r\nURL=http://www.corvane.example.com/\r\n",
        "the internet shortcut holds the maker's address");
  if (!old_group.empty()) Check(!Exists(programs + L"\\" + old_group), "the earlier group is gone");
  Check(!ReadRegistry(HKEY_LOCAL_MACHINE,
                      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumaview",
                      L"UninstallString")
             .empty(),
        "the uninstall entry is registered");
  if (!quick_launch.empty()) {
    const std::wstring link =
        quick_launch + L"\\" + (chinese ? Wide("宽镜.lnk") : L"Corvane Widelens.lnk");
    std::wstring install = IniValue(L"INSTALL", L"INSTALLPATH");
    if (!install.empty() && install.back() != L'\\') install += L'\\';
    CheckLink(link, install + L"LUMAVIEW.EXE", L"", install + L"LUMAVIEW.EXE");
    Check(IniValue(L"UNINSTALL", L"FASTLINK") != L"<missing>",
          "[UNINSTALL] FASTLINK records the link");
  }
  CoUninitialize();
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
