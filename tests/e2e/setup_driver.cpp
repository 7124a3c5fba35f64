// setup_driver: runs setup.exe the way a user would, through one scenario,
// and checks what it leaves behind: the installed files byte for byte
// against the packed payload members, "Lumaview.INI" and the uninstall
// registry entry.
//
//   setup_driver MODE SETUP_EXE MEMBERS_DIR [SHOT_DIR]
//     install       OK in the start dialog, Finish at the end
//     cancel-start  Cancel in the start dialog
//     cancel-copy   OK, then Cancel in the copy dialog and Exit Setup
// With SHOT_DIR, every dialog met is announced by a file NAME.want there and
// held until NAME.done appears (the screenshot taker's answer).
//
// Prints one line per check and closes with "N passed, N failed".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kRoot[] = "C:\\Corvane\\Widelens\\";
int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  std::fflush(stdout);
  (ok ? passed : failed)++;
}

bool SameNoCase(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::vector<char> ReadAll(const std::string& path, bool* ok) {
  std::vector<char> bytes;
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  *ok = file != INVALID_HANDLE_VALUE;
  if (!*ok) return bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.insert(bytes.end(), buffer, buffer + read);
  CloseHandle(file);
  return bytes;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// --- Setup's windows ---------------------------------------------------------
DWORD setup_process = 0;
HANDLE setup_handle = nullptr;
std::string shot_directory;

struct Search {
  const char* caption;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != setup_process || !IsWindowVisible(window)) return TRUE;
  char text[256];
  GetWindowTextA(window, text, sizeof text);
  if (std::strcmp(text, search->caption) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindSetupWindow(const char* caption) {
  Search search{caption, nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool SetupEnded() { return WaitForSingleObject(setup_handle, 0) == WAIT_OBJECT_0; }

// Waits for a dialog of setup; null when setup ended or time ran out.
HWND WaitForDialog(const char* caption, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    HWND window = FindSetupWindow(caption);
    if (window != nullptr) return window;
    if (SetupEnded()) return nullptr;
    Sleep(100);
  }
  return nullptr;
}

void Screenshot(const std::string& name) {
  if (shot_directory.empty()) return;
  Sleep(700);  // let the dialog paint
  std::string want = shot_directory + "\\" + name + ".want";
  std::string done = shot_directory + "\\" + name + ".done";
  HANDLE file = CreateFileA(want.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  for (int i = 0; i < 1200 && !Exists(done); ++i) Sleep(100);
  DeleteFileA(done.c_str());
}

void Press(HWND dialog, int button) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

bool StartSetup(const std::string& setup) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = "\"" + setup + "\"";
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  if (!CreateProcessA(setup.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  setup_handle = process.hProcess;
  setup_process = process.dwProcessId;
  return true;
}

DWORD WaitForSetupToEnd() {
  WaitForSingleObject(setup_handle, 600000);
  DWORD code = 0xFFFF;
  GetExitCodeProcess(setup_handle, &code);
  return code;
}

// --- What a run leaves behind -------------------------------------------------
std::string SettingsPath() {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  return std::string(windows) + "\\Lumaview.INI";
}

std::string Setting(const char* section, const char* key) {
  char value[1024];
  GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, "Lumaview.INI");
  return value;
}

const char kUninstallEntry[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumaview";

std::string RegistryText(const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallEntry, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "<no key>";
  char value[1024];
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return "<missing>";
  value[size] = '\0';
  return value;
}

// The packed members, in the payload's order (the order of their table is
// the order of the names in MEMBERS_DIR\order.txt).
struct Member {
  std::string name;
  std::vector<char> bytes;
};

std::vector<Member> LoadMembers(const std::string& directory) {
  std::vector<Member> members;
  bool ok = false;
  std::vector<char> order = ReadAll(directory + "\\order.txt", &ok);
  std::string text(order.begin(), order.end());
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string name = text.substr(start, end - start);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    if (!name.empty()) {
      Member member{name, ReadAll(directory + "\\" + name, &ok)};
      if (!ok) Check(false, "member " + name + " readable");
      members.push_back(member);
    }
    start = end + 1;
  }
  return members;
}

void CheckCompleteInstall(const std::vector<Member>& members) {
  std::string root = kRoot;
  Check(members.size() == 14, "14 payload members");
  for (const Member& member : members) {
    bool ok = false;
    std::vector<char> installed = ReadAll(root + member.name, &ok);
    Check(ok && installed == member.bytes, member.name + " installed byte for byte (" +
                                               std::to_string(member.bytes.size()) + " bytes)");
  }
  Check(!Exists(root + "Test.txt"), "the write test left no file");

  // The settings file: short form of the destination, the uninstall log.
  std::string install_path = Setting("INSTALL", "INSTALLPATH");
  char long_form[MAX_PATH] = "";
  GetLongPathNameA(install_path.c_str(), long_form, MAX_PATH);
  Check(SameNoCase(long_form, root), "INSTALLPATH " + install_path + " names " + root);
  Check(Setting("UNINSTALL", "UNINSTALLPATH") == install_path, "UNINSTALLPATH = INSTALLPATH");
  int file_count = std::atoi(Setting("UNINSTALL", "FILENUM").c_str());
  Check(file_count >= 15, "FILENUM " + std::to_string(file_count));
  for (std::size_t i = 0; i < members.size(); ++i) {
    std::string key = "FILE" + std::to_string(i + 1);
    Check(Setting("UNINSTALL", key.c_str()) == root + members[i].name,
          key + " = " + Setting("UNINSTALL", key.c_str()));
  }
  std::string last = "FILE" + std::to_string(file_count);
  Check(Setting("UNINSTALL", last.c_str()) == root + "Cache\\*.*",
        last + " is the cache pattern: " + Setting("UNINSTALL", last.c_str()));
  Check(Setting("UNINSTALL", "DIR1") == "C:\\Corvane", "DIR1 = " + Setting("UNINSTALL", "DIR1"));
  Check(Setting("UNINSTALL", "DIR2") == root, "DIR2 = " + Setting("UNINSTALL", "DIR2"));
  Check(Setting("UNINSTALL", "DIR3") == "C:\\Corvane\\Widelens",
        "DIR3 = " + Setting("UNINSTALL", "DIR3"));
  Check(Setting("ADBarParamter", "ImageFileName") == root + "Widelens.GIF",
        "ImageFileName = " + Setting("ADBarParamter", "ImageFileName"));

  // The uninstall entry, read with setup's own view of the registry.
  Check(RegistryText("DisplayName") == "Corvane Widelens",
        "DisplayName = " + RegistryText("DisplayName"));
  Check(RegistryText("UninstallString") == root + "UNINST32.EXE",
        "UninstallString = " + RegistryText("UninstallString"));
}

int Finish() {
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: setup_driver install|cancel-start|cancel-copy SETUP MEMBERS [SHOTS]\n");
    return 2;
  }
  std::string mode = argv[1];
  if (argc > 4) shot_directory = argv[4];
  std::vector<Member> members = LoadMembers(argv[3]);
  Check(!Exists(SettingsPath()), "no settings file before the run");
  if (!StartSetup(argv[2])) {
    Check(false, std::string("setup starts: ") + argv[2]);
    return Finish();
  }

  HWND start = WaitForDialog("Install Setup", 300);
  Check(start != nullptr, "the start dialog opens");
  if (start == nullptr) {
    TerminateProcess(setup_handle, 9);
    return Finish();
  }
  Screenshot("1-start");

  if (mode == "cancel-start") {
    Press(start, IDCANCEL);
    Check(WaitForSetupToEnd() == 1, "setup ends with 1");
    Check(!Exists(SettingsPath()), "Cancel at start leaves no settings file");
    Check(!Exists("C:\\Corvane"), "Cancel at start creates no directory");
    return Finish();
  }

  Press(start, IDOK);
  HWND copy = WaitForDialog("Setup Corvane Widelens", 300);
  Check(copy != nullptr, "the copy dialog opens");
  if (copy == nullptr) {
    TerminateProcess(setup_handle, 9);
    return Finish();
  }

  if (mode == "cancel-copy") {
    // Leave once the first member is complete (the second has begun).
    std::string second = std::string(kRoot) + (members.size() > 1 ? members[1].name : "");
    for (int i = 0; i < 1200 && !Exists(second) && !SetupEnded(); ++i) Sleep(100);
    Press(copy, IDCANCEL);
    HWND confirm = WaitForDialog("Exit Setup", 120);
    Check(confirm != nullptr, "Cancel asks for confirmation");
    if (confirm == nullptr) {
      TerminateProcess(setup_handle, 9);
      return Finish();
    }
    Screenshot("3-exit-setup");
    Press(confirm, IDOK);  // "E&xit Setup"
    Check(WaitForSetupToEnd() == 1, "setup ends with 1");
    Check(!Exists(SettingsPath()), "leaving during the copy deletes the settings file");
    Check(RegistryText("DisplayName") == "<no key>", "no uninstall entry");
    Check(Exists(kRoot), "the destination stays");
    int kept = 0;
    for (const Member& member : members) {
      bool ok = false;
      std::vector<char> written = ReadAll(std::string(kRoot) + member.name, &ok);
      if (!ok) continue;
      ++kept;
      Check(
          written.size() <= member.bytes.size() &&
              std::equal(written.begin(), written.end(), member.bytes.begin()),
          member.name + " as far as it was written (" + std::to_string(written.size()) + " bytes)");
    }
    Check(kept >= 2, std::to_string(kept) + " members were written before leaving");
    bool ok = false;
    Check(
        !members.empty() && ReadAll(std::string(kRoot) + members[0].name, &ok) == members[0].bytes,
        members.empty() ? "members" : members[0].name + " complete");
    return Finish();
  }

  Screenshot("2-copy");
  HWND finish = WaitForDialog("Finish Setup", 600);
  Check(finish != nullptr, "the finish dialog opens");
  Check(FindSetupWindow("Can NOT Write") == nullptr, "no write failure reported");
  if (finish == nullptr) {
    TerminateProcess(setup_handle, 9);
    return Finish();
  }
  Screenshot("3-finish");
  Press(finish, IDOK);
  Check(WaitForSetupToEnd() == 1, "setup ends with 1");
  CheckCompleteInstall(members);
  return Finish();
}
