// Scenarios of UNINST32.exe, each after setup.install-full in the same
// prefix: the group's "Remove Widelens" link started as the shell starts it
// and clicked through (with a viewer window that does not close when told),
// a second removal after a second install, the silent "/S", and runs with
// nothing installed. Afterwards nothing of what setup made remains, except a
// file planted in the install folder, which stays with its folders.
//
// Supplied: UNINST32.exe (its own texts are read from it, by the ids of
// uninstall_ids.h).
//
// Divisions: the uninstaller's texts, what the log lists, the checks after a
// removal, the scenarios.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "product.h"
#include "robot.h"
#include "uninstall_ids.h"

namespace {

using e2e::Run;
using namespace product;

const char kPlanted[] = "C:\\Corvane\\Widelens\\My Notes.txt";
const char kPlantedBytes[] = "kept by the user";
// The uninstaller's exit codes (README).
constexpr DWORD kExitRemoved = 0;
constexpr DWORD kExitLeftSomething = 1;
constexpr DWORD kExitNothingInstalled = 2;

// --- The uninstaller's texts -----------------------------------------------------

// A string of the supplied UNINST32.exe in the run's language, as UTF-8.
std::string UninstallerText(Run& run, int id) {
  static HMODULE module = nullptr;
  if (module == nullptr)
    module = LoadLibraryExW(e2e::Wide(run.Supplied("UNINST32.exe")).c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE);
  wchar_t text[1024] = L"";
  int chosen = run.chinese() ? id + UNINSTALL_CHINESE_OFFSET : id;
  if (module == nullptr || LoadStringW(module, static_cast<UINT>(chosen), text, 1024) <= 0)
    return "<no string " + std::to_string(chosen) + ">";
  return e2e::Utf8(text);
}

// A window of PROCESS captioned with the uninstaller's title that has control
// ID (the question's buttons, or the summary's list).
HWND WaitForDialog(Run& run, e2e::Process& process, int id, int seconds) {
  e2e::WindowQuery query;
  query.title = UninstallerText(run, IDS_TITLE);
  for (int waited = 0; waited < seconds * 10; ++waited) {
    HWND window = e2e::WaitForWindowOf(process, query, 1);
    if (window != nullptr && e2e::Control(window, id) != nullptr) return window;
    if (process.Ended()) return nullptr;
    Sleep(100);
  }
  return nullptr;
}

// The message box or dialog says TEXT among its static texts.
bool Says(HWND window, const std::string& text) {
  for (const std::string& line : e2e::StaticTexts(window))
    if (line.find(text) != std::string::npos) return true;
  return false;
}

// --- What the log lists ----------------------------------------------------------

struct Installed {
  std::vector<std::string> files;        // FILE1..FILEn, the cache pattern left out
  std::vector<std::string> directories;  // DIR1..DIRn
  std::string fastlink;
  std::string group;  // the group folder
};

Installed ReadLog(Run& run) {
  Installed installed;
  const std::vector<std::string> files = LoggedFiles();
  installed.directories = LoggedDirectories();
  run.Check(files.size() >= 17 && installed.directories.size() >= 4,
            "the uninstall log lists " + std::to_string(files.size()) + " files and " +
                std::to_string(installed.directories.size()) + " folders");
  for (const std::string& file : files)
    if (file.find('*') == std::string::npos) installed.files.push_back(file);
  installed.fastlink = Setting("UNINSTALL", "FASTLINK");
  installed.group = e2e::RegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs") + "\\" +
                    Setting("INSTALL", "GROUP");
  run.Check(e2e::Exists(installed.fastlink) && e2e::IsDirectory(installed.group),
            "the Quick Launch link and the group " + installed.group + " exist");
  return installed;
}

// --- The checks after a removal --------------------------------------------------

bool IsKeptFolder(const std::string& path, bool planted) {
  if (!planted) return false;
  return e2e::SameNoCase(path, "C:\\Corvane") || e2e::SameNoCase(path, "C:\\Corvane\\Widelens") ||
         e2e::SameNoCase(path, kRoot);
}

// Nothing of what the log listed remains (but the folders of a planted
// file, with that file), nor the uninstaller, its entry or the settings.
void CheckRemoved(Run& run, const Installed& installed, bool planted) {
  int files_left = 0;
  for (const std::string& file : installed.files) {
    if (e2e::Exists(file)) {
      ++files_left;
      run.Check(false, file + " is gone");
    }
  }
  run.Check(files_left == 0, std::to_string(installed.files.size()) + " logged files are gone");
  for (const std::string& folder : installed.directories) {
    if (IsKeptFolder(folder, planted))
      run.Check(e2e::IsDirectory(folder), folder + " stays: it holds the planted file");
    else
      run.Check(!e2e::Exists(folder), folder + " is gone");
  }
  run.Check(!e2e::Exists(installed.group), "the group folder " + installed.group + " is gone");
  run.Check(!e2e::Exists(installed.fastlink), "the Quick Launch link is gone");
  run.Check(e2e::IsDirectory("C:\\QuickLaunch"), "the Quick Launch folder itself stays");
  run.Check(!e2e::RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey),
            "the uninstall registry key is gone");
  run.Check(!SettingsFileExists(), "Lumaview.INI is gone");
  if (planted) {
    std::string bytes;
    run.Check(e2e::ReadBytes(kPlanted, &bytes) && bytes == kPlantedBytes,
              "the planted file stays as it was");
    std::vector<std::string> root = e2e::ListFolder(kRoot);
    run.Check(root.size() == 1, "the install folder holds only the planted file (" +
                                    std::to_string(root.size()) + " entries)");
    run.Check(e2e::ListFolder("C:\\Corvane").size() == 1, "C:\\Corvane holds only Widelens");
  } else {
    run.Check(!e2e::Exists("C:\\Corvane"), "C:\\Corvane is gone");
  }
}

// The copy in the temporary folder removes the uninstaller's own file once
// the original has ended, and then the folders above it that are left empty
// (up to C:\Corvane when no file of the user's keeps them): wait for both,
// so that the checks after it do not race the copy.
void CheckOwnFileGoes(Run& run, bool planted) {
  const std::string own = std::string(kRoot) + "UNINST32.exe";
  auto done = [&] { return !e2e::Exists(own) && (planted || !e2e::Exists("C:\\Corvane")); };
  for (int i = 0; i < 300 && !done(); ++i) Sleep(100);
  run.Check(!e2e::Exists(own), "the uninstaller's own file is gone (removed by its copy)");
}

// --- The scenarios -----------------------------------------------------------------

// The group's "Remove Widelens" link, clicked through. With `viewer`, a
// window recorded as the running viewer does not close when told, so the
// user is asked to close it (Retry), which the robot does.
void RemoveThroughTheLink(Run& run, bool viewer) {
  const Installed installed = ReadLog(run);
  const bool planted = e2e::WriteBytes(kPlanted, kPlantedBytes);
  run.Check(planted, "a file of the user's is planted in the install folder");

  const std::string link_path =
      installed.group + "\\" + run.Pick("Remove Widelens", "卸载宽镜") + ".lnk";
  e2e::LinkFields link = e2e::LoadLink(link_path);
  if (!run.Check(link.loaded, "the group holds " + link_path)) return;

  HWND fake_viewer = nullptr;
  if (viewer) {
    fake_viewer = CreateWindowExW(0, L"STATIC", L"viewer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(fake_viewer));
    run.Check(fake_viewer != nullptr &&
                  WritePrivateProfileStringA("SETTING", "Monitor", handle.c_str(), kSettings),
              "a viewer window is recorded as [SETTING] Monitor");
  }

  // As the shell starts a link: its target and arguments, in the target's folder.
  e2e::Process process = e2e::Process::Start(link.target, link.arguments, kRoot);
  if (!run.Check(process.started(), "the link's target " + link.target + " starts")) return;

  HWND confirm = WaitForDialog(run, process, IDYES, 60);
  if (!run.Check(confirm != nullptr, "the confirmation asks Yes or No")) return;
  run.Check(Says(confirm, UninstallerText(run, IDS_CONFIRM).substr(0, 20)),
            "the confirmation names the product");
  run.Screenshot(confirm, "confirm");
  e2e::Click(confirm, IDYES);

  if (viewer) {
    HWND retry = WaitForDialog(run, process, IDRETRY, 60);
    if (run.Check(retry != nullptr,
                  "a viewer that stays open is left to the user (Retry/Cancel)")) {
      run.Check(e2e::Exists(std::string(kRoot) + "PIXBASE.dll"),
                "nothing is removed while the question is open");
      run.Screenshot(retry, "viewer");
      DestroyWindow(fake_viewer);
      e2e::Click(retry, IDRETRY);
    }
  }

  HWND summary = WaitForDialog(run, process, IDC_SUMMARY_LIST, 120);
  if (!run.Check(summary != nullptr, "the summary appears")) return;
  run.Screenshot(summary, "summary");
  run.Check(e2e::TextOf(summary, IDC_SUMMARY_HEADLINE) == UninstallerText(run, IDS_DONE_PARTLY),
            "the summary says something was left: " + e2e::TextOf(summary, IDC_SUMMARY_HEADLINE));
  const std::string list = e2e::TextOf(summary, IDC_SUMMARY_LIST);
  run.Check(list.find(UninstallerText(run, IDS_WHY_NOT_EMPTY)) != std::string::npos,
            "the summary says why the install folder stays");
  e2e::Click(summary, IDOK);
  DWORD code = 99;
  bool ended = process.WaitForExit(60, &code);
  run.Check(ended && code == kExitLeftSomething,
            "the uninstaller ends with 1, something left (" + std::to_string(code) + ")");
  CheckOwnFileGoes(run, true);
  CheckRemoved(run, installed, true);
}

E2E_SCENARIO(RemoveThroughLink, "uninst.remove",
             "Remove Widelens from the group, clicked through, with a viewer to close") {
  RemoveThroughTheLink(run, true);
}

E2E_SCENARIO(RemoveAgain, "uninst.remove-again",
             "Remove Widelens again after installing into the same place again") {
  RemoveThroughTheLink(run, false);
}

E2E_SCENARIO(RemoveSilently, "uninst.silent",
             "UNINST32.EXE /S from the install folder: no window, exit code 0, nothing left") {
  const Installed installed = ReadLog(run);
  e2e::Process process = e2e::Process::Start(std::string(kRoot) + "UNINST32.EXE", "/S", kRoot);
  if (!run.Check(process.started(), "UNINST32.EXE /S starts")) return;
  e2e::WindowQuery any;
  any.process = process.id();
  DWORD code = 99;
  bool ended = false;
  bool window = false;
  for (int i = 0; i < 1200 && !ended; ++i) {
    window = window || e2e::FindTopWindow(any) != nullptr;
    ended = process.Ended();
    if (!ended) Sleep(50);
  }
  ended = process.WaitForExit(5, &code);
  run.Check(ended && code == kExitRemoved,
            "it ends with 0, everything removed (" + std::to_string(code) + ")");
  run.Check(!window, "it shows no window");
  CheckOwnFileGoes(run, false);
  CheckRemoved(run, installed, false);
}

E2E_SCENARIO(NothingInstalled, "uninst.nothing",
             "with nothing installed: one message, exit code 2; silently just the code") {
  const std::string uninstaller = run.Supplied("UNINST32.exe");
  e2e::Process process = e2e::Process::Start(uninstaller, "", "C:\\");
  if (!run.Check(process.started(), "the uninstaller starts")) return;
  HWND message = WaitForDialog(run, process, IDOK, 60);
  if (run.Check(message != nullptr, "one message says so")) {
    run.Check(Says(message, UninstallerText(run, IDS_NOT_INSTALLED).substr(0, 12)),
              "it says the product is not installed");
    run.Screenshot(message, "not-installed");
    e2e::Click(message, IDOK);
  }
  DWORD code = 99;
  bool ended = process.WaitForExit(60, &code);
  run.Check(ended && code == kExitNothingInstalled,
            "it ends with 2 (" + std::to_string(code) + ")");
  e2e::Process silent = e2e::Process::Start(uninstaller, "/S", "C:\\");
  ended = silent.WaitForExit(60, &code);
  run.Check(ended && code == kExitNothingInstalled,
            "/S ends with 2 (" + std::to_string(code) + ")");
}

}  // namespace
