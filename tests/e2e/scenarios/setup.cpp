// Scenarios of setup.exe: the user's paths through the wizard in English or
// Chinese, and what each leaves behind (the payload byte for byte, the
// settings file with its uninstall log, the uninstall entry, the program
// group with its shell links and internet shortcut, the Quick Launch link).
//
// Supplied: setup.exe. Parameter: members= the folder of the packed
// payload members with their order in order.txt; fulldata= (optional) a
// FULLDATA folder put next to setup.exe on the medium.
//
// Divisions: the texts setup shows, the medium and the session, the checks
// of an installation, the scenarios.
#include <cstdlib>
#include <string>
#include <vector>

#include "product.h"
#include "resources/resource_ids.h"
#include "robot.h"

namespace {

using e2e::Run;
using namespace product;

// --- The texts setup shows (English, Chinese) ---------------------------------

const char kMapGroups[] = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";
const char kQuickLaunch[] = "C:\\QuickLaunch";
const char kMedium[] = "C:\\media";

struct Texts {
  std::string start, copy, exit, wait, finish;
  std::string group, main_link, uninstall_link, help_link, url_prefix;
};

Texts TextsOf(const Run& run) {
  if (run.chinese())
    return Texts{"安装设置", "安装《宽镜》", "退出安装", "创建程序组",   "安装完成",
                 "宽镜",     "宽镜",         "卸载宽镜", "宽镜帮助文档", "欢迎访问"};
  return Texts{"Install Setup",    "Setup Corvane Widelens", "Exit Setup",
               "Create Group",     "Finish Setup",           "Corvane Widelens",
               "Corvane Widelens", "Remove Widelens",        "Help Documentation",
               "Welcome to "};
}

// --- The medium and the session ------------------------------------------------

// What lies next to setup.exe on the medium it is started from.
struct Medium {
  bool help = false;   // FULLDATA with the help file, a subfolder and a dot file
  bool tools = false;  // TOOLS\SETUPBRW.EXE
};

// Puts setup.exe on a fresh medium folder; returns its path there.
std::string PrepareMedium(Run& run, const Medium& medium) {
  const std::string folder = kMedium;
  const std::string setup = folder + "\\setup.exe";
  run.Check(e2e::MakeDirectories(folder) && e2e::CopyOneFile(run.Supplied("setup.exe"), setup),
            "setup.exe lies on the medium " + folder);
  if (medium.help) {
    run.Check(e2e::MakeDirectories(folder + "\\FULLDATA\\Docs") &&
                  e2e::WriteBytes(folder + "\\FULLDATA\\Widelens.CHM", "help") &&
                  e2e::WriteBytes(folder + "\\FULLDATA\\Docs\\README.TXT", "readme") &&
                  e2e::WriteBytes(folder + "\\FULLDATA\\.hidden", "hidden"),
              "FULLDATA holds Widelens.CHM, Docs\\README.TXT and .hidden");
  }
  // The distribution's own FULLDATA (coder modules, sample pictures), when
  // the run is given one: setup installs it beside the viewer.
  if (run.HasParam("fulldata")) {
    run.Check(e2e::CopyTree(run.Param("fulldata"), folder + "\\FULLDATA"),
              "the distribution's FULLDATA lies next to setup");
  }
  if (medium.tools) {
    run.Check(e2e::MakeDirectories(folder + "\\TOOLS") &&
                  e2e::WriteBytes(folder + "\\TOOLS\\SETUPBRW.EXE", "tools"),
              "TOOLS\\SETUPBRW.EXE lies next to setup");
  }
  return setup;
}

// Names a Quick Launch folder the way the shell records it.
void NameQuickLaunch(Run& run) {
  run.Check(e2e::MakeDirectories(kQuickLaunch) &&
                e2e::SetRegistryText(HKEY_CURRENT_USER, kMapGroups, "Quick Launch", kQuickLaunch),
            std::string("the Quick Launch folder is ") + kQuickLaunch);
}

// A running setup.exe, started from the medium as a user would (the medium
// its working folder), and the waits for its windows.
class Session {
 public:
  Session(Run& run, const std::string& setup)
      : run_(run), process_(e2e::Process::Start(setup, "", kMedium)), texts_(TextsOf(run)) {
    run_.Check(process_.started(), "setup.exe starts");
  }

  const Texts& texts() const { return texts_; }
  e2e::Process& process() { return process_; }

  // A window of setup with TITLE, or null when setup ended first or SECONDS
  // passed.
  HWND Wait(const std::string& title, int seconds) {
    e2e::WindowQuery query;
    query.title = title;
    return e2e::WaitForWindowOf(process_, query, seconds);
  }

  // Setup ends, with exit code 1 (every path through the wizard ends so).
  void CheckEndsWithOne() {
    DWORD code = 0;
    bool ended = process_.WaitForExit(300, &code);
    run_.Check(ended && code == 1, "setup ends with 1 (exit code " + std::to_string(code) + ")");
  }

 private:
  Run& run_;
  e2e::Process process_;
  Texts texts_;
};

// Plays from the copy dialog to the end, without touching anything: the
// copy, the group creation wait dialog, the finish dialog (closed with
// Finish unless it is to close by itself).
void PlayToTheEnd(Run& run, Session& session, bool exit_when_done, bool tools_offered) {
  const Texts& texts = session.texts();
  HWND wait = session.Wait(texts.wait, 600);
  run.Check(wait != nullptr, "the group creation wait dialog appears");
  if (wait != nullptr) run.Screenshot(wait, "wait");
  HWND finish = session.Wait(texts.finish, 300);
  if (!run.Check(finish != nullptr, "the finish dialog appears")) return;
  run.Check(e2e::FindTopWindow({session.process().id(), "Can NOT Write", ""}) == nullptr,
            "no write failure reported");
  if (exit_when_done) {
    run.Check(e2e::WaitUntilGone(finish, 60), "the finish dialog closes by itself");
  } else {
    run.Screenshot(finish, "finish");
    if (tools_offered)
      run.Check(e2e::IsShown(finish, IDC_FINISH_TOOLS) && e2e::IsChecked(finish, IDC_FINISH_TOOLS),
                "the tools box is offered and ticked");
    else
      run.Check(e2e::Control(finish, IDC_FINISH_TOOLS) != nullptr &&
                    !e2e::IsShown(finish, IDC_FINISH_TOOLS),
                "the tools box is hidden");
    e2e::Click(finish, IDOK);
  }
  session.CheckEndsWithOne();
}

// --- The checks of an installation ----------------------------------------------

struct Member {
  std::string name;
  std::string bytes;
};

// The packed members, in payload order (the order of MEMBERS\order.txt).
std::vector<Member> LoadMembers(Run& run) {
  std::vector<Member> members;
  const std::string folder = run.Param("members");
  std::string order;
  if (!run.Check(e2e::ReadBytes(folder + "\\order.txt", &order), "the member order is readable"))
    return members;
  std::string::size_type start = 0;
  while (start < order.size()) {
    std::string::size_type end = order.find('\n', start);
    if (end == std::string::npos) end = order.size();
    std::string name = order.substr(start, end - start);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    if (!name.empty()) {
      Member member{name, ""};
      if (!e2e::ReadBytes(folder + "\\" + name, &member.bytes))
        run.Check(false, "member " + name + " readable");
      members.push_back(member);
    }
    start = end + 1;
  }
  run.Check(members.size() == 14, "14 payload members (" + std::to_string(members.size()) + ")");
  return members;
}

// The uninstall log names PATH among FILE1..FILEn.
bool LoggedFile(const std::string& path) {
  for (const std::string& file : LoggedFiles())
    if (e2e::SameNoCase(file, path)) return true;
  return false;
}

void CheckLink(Run& run, const std::string& path, const std::string& target,
               const std::string& arguments, const std::string& icon) {
  e2e::LinkFields link = e2e::LoadLink(path);
  if (!run.Check(link.loaded, "link " + path + " is a shell link file")) return;
  // The link object resolves a bare program name (HH.EXE) on the search path.
  std::string got = link.target;
  if (target.find('\\') == std::string::npos && got.size() > target.size() &&
      got[got.size() - target.size() - 1] == '\\')
    got = got.substr(got.size() - target.size());
  run.Check(e2e::SameNoCase(got, target), "link target " + link.target + " == " + target);
  run.Check(link.arguments == arguments,
            "link arguments \"" + link.arguments + "\" == \"" + arguments + "\"");
  run.Check(
      e2e::SameNoCase(link.icon, icon) && link.icon_index == 0,
      "link icon " + link.icon + "," + std::to_string(link.icon_index) + " == " + icon + ",0");
}

// The payload members, byte for byte, and their entries FILE1..FILE14.
void CheckPayload(Run& run) {
  const std::string root = kRoot;
  std::vector<Member> members = LoadMembers(run);
  for (std::size_t i = 0; i < members.size(); ++i) {
    std::string installed;
    bool read = e2e::ReadBytes(root + members[i].name, &installed);
    run.Check(read && installed == members[i].bytes,
              members[i].name + " installed byte for byte (" +
                  std::to_string(members[i].bytes.size()) + " bytes)");
    const std::string key = "FILE" + std::to_string(i + 1);
    run.Check(Setting("UNINSTALL", key) == root + members[i].name,
              key + " = " + Setting("UNINSTALL", key));
  }
}

struct Expected {
  bool first_install = true;  // no earlier installation in the prefix
  bool help = false;          // FULLDATA supplied the help file
  bool quick_launch = false;  // a Quick Launch folder was named
};

// What every complete installation to C:\Corvane\Widelens\ leaves.
void CheckInstallation(Run& run, const Expected& expected) {
  const Texts texts = TextsOf(run);
  const std::string root = kRoot;
  run.Check(e2e::Exists(root + "PIXBASE.dll"), "PIXBASE.dll was installed");
  run.Check(!e2e::Exists(root + "Test.txt"), "the write test left no file");

  // The settings file: the short form of the destination, the uninstall log.
  const std::string install_path = Setting("INSTALL", "INSTALLPATH");
  run.Check(e2e::SameNoCase(e2e::LongPath(install_path), root),
            "INSTALLPATH " + install_path + " names " + root);
  run.Check(Setting("UNINSTALL", "UNINSTALLPATH") == install_path, "UNINSTALLPATH = INSTALLPATH");
  const int file_count = std::atoi(Setting("UNINSTALL", "FILENUM").c_str());
  run.Check(file_count >= (expected.help ? 17 : 15), "FILENUM " + std::to_string(file_count));
  const std::string last = "FILE" + std::to_string(file_count);
  run.Check(Setting("UNINSTALL", last) == root + "Cache\\*.*",
            last + " is the cache pattern: " + Setting("UNINSTALL", last));
  if (expected.first_install) {
    run.Check(Setting("UNINSTALL", "DIR1") == "C:\\Corvane",
              "DIR1 = " + Setting("UNINSTALL", "DIR1"));
    run.Check(Setting("UNINSTALL", "DIR2") == root, "DIR2 = " + Setting("UNINSTALL", "DIR2"));
    run.Check(Setting("UNINSTALL", "DIR3") == "C:\\Corvane\\Widelens",
              "DIR3 = " + Setting("UNINSTALL", "DIR3"));
  }
  run.Check(Setting("ADBarParamter", "ImageFileName") == root + "Widelens.GIF",
            "ImageFileName = " + Setting("ADBarParamter", "ImageFileName"));

  // The uninstall entry, read with setup's own view of the registry.
  run.Check(e2e::RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") == texts.group,
            "DisplayName = " + e2e::RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"));
  run.Check(e2e::RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString") ==
                root + "UNINST32.EXE",
            "UninstallString = " +
                e2e::RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));

  // The program group.
  run.Check(Setting("INSTALL", "GROUP") == texts.group, "[INSTALL] GROUP names " + texts.group);
  const std::string programs =
      e2e::RegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs");
  if (!run.Check(programs != e2e::kMissing, "the all-users Programs folder is known")) return;
  const std::string group = programs + "\\" + texts.group + "\\";
  const std::string s = e2e::ShortPath(root);
  CheckLink(run, group + texts.main_link + ".lnk", s + "Lumaview.EXE", "", s + "Lumaview.EXE");
  CheckLink(run, group + texts.uninstall_link + ".lnk", s + "UNINST32.EXE", "", s + "UNINST32.EXE");
  const std::string help_link = group + texts.help_link + ".lnk";
  if (expected.help)
    CheckLink(run, help_link, "HH.EXE", s + "Widelens.CHM", "HH.EXE");
  else
    run.Check(!e2e::Exists(help_link), "without the help file there is no help link");
  std::string url;
  e2e::ReadBytes(group + texts.url_prefix + "www.corvane.example.com.URL", &url);
  run.Check(url == "[InternetShortcut]\r\nURL=http://www.corvane.example.com/\r\n",
            "the internet shortcut holds the maker's address");

  if (expected.quick_launch) {
    std::string install = e2e::WithBackslash(install_path);
    CheckLink(run, std::string(kQuickLaunch) + "\\" + texts.main_link + ".lnk",
              install + "LUMAVIEW.EXE", "", install + "LUMAVIEW.EXE");
    run.Check(Setting("UNINSTALL", "FASTLINK") != e2e::kMissing,
              "[UNINSTALL] FASTLINK records the link");
  }
}

// The FULLDATA tree reproduced under the destination, logged; dot files left.
void CheckFullData(Run& run) {
  const std::string root = kRoot;
  std::string bytes;
  run.Check(e2e::ReadBytes(root + "Widelens.CHM", &bytes) && bytes == "help",
            "FULLDATA\\Widelens.CHM was copied");
  run.Check(e2e::ReadBytes(root + "Docs\\README.TXT", &bytes) && bytes == "readme",
            "FULLDATA\\Docs\\README.TXT was copied into Docs");
  run.Check(!e2e::Exists(root + ".hidden"), "FULLDATA\\.hidden (a dot file) was not copied");
  run.Check(LoggedFile(root + "Widelens.CHM") && LoggedFile(root + "Docs\\README.TXT"),
            "the uninstall log names the FULLDATA files");
}

// A static text of WINDOW (a message box) contains TEXT.
bool Says(HWND window, const std::string& text) {
  for (const std::string& line : e2e::StaticTexts(window))
    if (line.find(text) != std::string::npos) return true;
  return false;
}

// --- The scenarios -----------------------------------------------------------------

// Starts setup from a fresh medium and waits for the start dialog; null when
// it does not come (the failure is already reported).
HWND OpenStart(Run& run, Session& session) {
  HWND start = session.Wait(session.texts().start, 300);
  if (!run.Check(start != nullptr, "the start dialog opens")) return nullptr;
  run.Screenshot(start, "start");
  return start;
}

// OK in the start dialog; the copy dialog that follows, or null (reported).
HWND StartCopy(Run& run, Session& session, HWND start) {
  e2e::Click(start, IDOK);
  HWND copy = session.Wait(session.texts().copy, 300);
  run.Check(copy != nullptr, "the copy dialog opens");
  return copy;
}

E2E_SCENARIO(Install, "setup.install",
             "the default install: every member byte for byte, settings, group, links") {
  run.Check(!SettingsFileExists(), "no settings file before the run");
  NameQuickLaunch(run);
  Session session(run, PrepareMedium(run, Medium{}));
  HWND start = OpenStart(run, session);
  if (start == nullptr) return;
  run.Check(e2e::TextOf(start, IDC_START_DESTINATION) == kRoot,
            std::string("the first run proposes ") + kRoot);
  HWND copy = StartCopy(run, session, start);
  if (copy == nullptr) return;
  run.Screenshot(copy, "copy");
  PlayToTheEnd(run, session, false, false);
  Expected expected;
  expected.quick_launch = true;
  CheckInstallation(run, expected);
  CheckPayload(run);
}

// The install that the uninstaller's tests start from: a complete one with a
// FULLDATA tree and a Quick Launch link, into the default destination (which
// may hold what an earlier removal kept).
E2E_SCENARIO(InstallFull, "setup.install-full",
             "a complete install with a FULLDATA tree and a Quick Launch link") {
  run.Check(!SettingsFileExists(), "no settings file before the run");
  const bool first = !e2e::Exists("C:\\Corvane");
  NameQuickLaunch(run);
  Medium medium;
  medium.help = true;
  Session session(run, PrepareMedium(run, medium));
  HWND start = OpenStart(run, session);
  if (start == nullptr) return;
  if (StartCopy(run, session, start) == nullptr) return;
  PlayToTheEnd(run, session, false, false);
  Expected expected;
  expected.first_install = first;
  expected.help = true;
  expected.quick_launch = true;
  CheckInstallation(run, expected);
  CheckFullData(run);
  CheckPayload(run);
}

// Chinese only: "乗" is 0x81 0x5C under code page 936, its second byte a
// backslash. It stands in the destination, in the medium's folder and in
// setup's own file name, so every search for a backslash, every cut and
// every comparison of a path must step over it.
E2E_SCENARIO(InstallDoubleByte, "setup.install-dbcs",
             "a destination and a medium whose \"乗\" ends in the byte of a backslash") {
  if (!run.Check(run.chinese(), "the scenario runs under code page 936")) return;
  const std::string medium = "C:\\media\\乗";
  const std::string setup = medium + "\\安装乗.exe";
  run.Check(e2e::MakeDirectories(medium + "\\FULLDATA\\Docs") &&
                e2e::CopyOneFile(run.Supplied("setup.exe"), setup) &&
                e2e::WriteBytes(medium + "\\FULLDATA\\Docs\\README.TXT", "readme"),
            "setup lies on the medium " + medium + " with a FULLDATA tree");
  Session session(run, setup);
  HWND start = OpenStart(run, session);
  if (start == nullptr) return;
  const std::string root = "C:\\乗\\Widelens\\";
  e2e::SetText(start, IDC_START_DESTINATION, "C:\\乗\\Widelens");
  HWND copy = StartCopy(run, session, start);
  if (copy == nullptr) return;
  run.Screenshot(copy, "copy");
  PlayToTheEnd(run, session, false, false);

  std::vector<Member> members = LoadMembers(run);
  for (std::size_t i = 0; i < members.size(); ++i) {
    std::string installed;
    run.Check(e2e::ReadBytes(root + members[i].name, &installed) && installed == members[i].bytes,
              members[i].name + " installed byte for byte under " + root);
    const std::string key = "FILE" + std::to_string(i + 1);
    run.Check(Setting("UNINSTALL", key) == root + members[i].name,
              key + " = " + Setting("UNINSTALL", key));
  }
  std::string readme;
  run.Check(e2e::ReadBytes(root + "Docs\\README.TXT", &readme) && readme == "readme",
            "the FULLDATA next to 安装乗.exe was found and copied into Docs");
  run.Check(Setting("UNINSTALL", "DIR1") == "C:\\乗", "DIR1 = " + Setting("UNINSTALL", "DIR1"));
  // The destination as typed, without a backslash.
  run.Check(Setting("UNINSTALL", "DIR2") == "C:\\乗\\Widelens",
            "DIR2 = " + Setting("UNINSTALL", "DIR2"));
  const std::string install_path = Setting("INSTALL", "INSTALLPATH");
  run.Check(e2e::SameNoCase(e2e::LongPath(install_path), root),
            "INSTALLPATH " + install_path + " names " + root);
  run.Check(e2e::RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString") ==
                root + "UNINST32.EXE",
            "UninstallString = " +
                e2e::RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
  const std::string programs =
      e2e::RegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs");
  const std::string group = programs + "\\" + session.texts().group + "\\";
  const std::string s = e2e::ShortPath(root);
  CheckLink(run, group + session.texts().main_link + ".lnk", s + "Lumaview.EXE", "",
            s + "Lumaview.EXE");
}

E2E_SCENARIO(CancelAtStart, "setup.cancel-start",
             "a second setup ends at once; Cancel in the start dialog leaves nothing") {
  Session session(run, PrepareMedium(run, Medium{}));
  HWND start = OpenStart(run, session);
  if (start == nullptr) return;
  // Only one setup runs at a time: a second one ends without a window.
  e2e::Process second = e2e::Process::Start(std::string(kMedium) + "\\setup.exe", "", kMedium);
  DWORD code = 0;
  run.Check(second.started() && second.WaitForExit(60, &code),
            "a second setup started meanwhile ends at once");
  run.Check(e2e::FindTopWindow({second.id(), "", ""}) == nullptr,
            "the second setup showed no window");
  e2e::Click(start, IDCANCEL);
  session.CheckEndsWithOne();
  run.Check(!SettingsFileExists(), "Cancel at start leaves no settings file");
  run.Check(!e2e::Exists("C:\\Corvane"), "Cancel at start creates no directory");
  run.Check(!e2e::RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey), "no uninstall entry");
}

E2E_SCENARIO(CancelDuringCopy, "setup.cancel-copy",
             "Cancel then Exit Setup during the copy: written files stay, settings go") {
  std::vector<Member> members = LoadMembers(run);
  if (members.size() < 2) return;
  Session session(run, PrepareMedium(run, Medium{}));
  HWND start = OpenStart(run, session);
  if (start == nullptr) return;
  HWND copy = StartCopy(run, session, start);
  if (copy == nullptr) return;
  // Leave once the first member is complete (the second has begun).
  const std::string second = kRoot + members[1].name;
  for (int i = 0; i < 1200 && !e2e::Exists(second) && !session.process().Ended(); ++i) Sleep(100);
  run.Screenshot(copy, "copy");
  e2e::Click(copy, IDCANCEL);
  HWND confirm = session.Wait(session.texts().exit, 120);
  if (!run.Check(confirm != nullptr, "Cancel asks whether to leave setup")) return;
  run.Screenshot(confirm, "exit-setup");
  e2e::Click(confirm, IDC_EXIT_LEAVE);
  session.CheckEndsWithOne();
  run.Check(!SettingsFileExists(), "leaving during the copy deletes the settings file");
  run.Check(!e2e::RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey), "no uninstall entry");
  run.Check(e2e::IsDirectory(kRoot), "the destination stays");
  int kept = 0;
  for (const Member& member : members) {
    std::string written;
    if (!e2e::ReadBytes(kRoot + member.name, &written)) continue;
    ++kept;
    run.Check(
        written.size() <= member.bytes.size() &&
            member.bytes.compare(0, written.size(), written) == 0,
        member.name + " as far as it was written (" + std::to_string(written.size()) + " bytes)");
  }
  run.Check(kept >= 2, std::to_string(kept) + " members were written before leaving");
  std::string first;
  run.Check(e2e::ReadBytes(kRoot + members[0].name, &first) && first == members[0].bytes,
            members[0].name + " complete");
}

E2E_SCENARIO(Chooser, "setup.chooser",
             "the chooser's refusals, Cancel then Resume, FULLDATA and the tools option") {
  Session session(run, PrepareMedium(run, Medium{true, true}));
  HWND start = OpenStart(run, session);
  if (start == nullptr) return;
  const std::string chosen = "C:\\Chosen-" + run.language();
  e2e::Click(start, IDC_START_BROWSE);
  HWND chooser = session.Wait("Choose Directories", 120);
  if (!run.Check(chooser != nullptr, "the directory chooser opens")) return;
  run.Screenshot(chooser, "chooser");
  e2e::Type(chooser, IDC_CHOOSER_PATH, "C:\\");
  e2e::Click(chooser, IDOK);
  HWND box = session.Wait("Path Error", 60);
  if (run.Check(box != nullptr, "a drive root is refused with \"Path Error\"")) {
    run.Check(Says(box, "Path Error !"), "the box says \"Path Error !\"");
    run.Screenshot(box, "path-error");
    e2e::Click(box, IDOK);
    run.Check(e2e::WaitUntilGone(box, 30), "the box closes");
  }
  run.Check(IsWindowVisible(chooser) != 0, "the chooser stays open after a refusal");
  e2e::Type(chooser, IDC_CHOOSER_PATH, chosen);
  e2e::Click(chooser, IDOK);
  box = session.Wait("Path Not Exist", 60);
  if (run.Check(box != nullptr, "a missing directory is offered for creation")) {
    run.Check(Says(box, chosen), "the question names " + chosen);
    run.Screenshot(box, "path-not-exist");
    e2e::Click(box, IDNO);
    e2e::WaitUntilGone(box, 30);
    run.Check(!e2e::Exists(chosen), "answered No, nothing is created");
  }
  e2e::Click(chooser, IDOK);
  box = session.Wait("Path Not Exist", 60);
  if (box != nullptr) e2e::Click(box, IDYES);
  run.Check(e2e::WaitUntilGone(chooser, 60), "answered Yes, the chooser accepts the new directory");
  run.Check(e2e::IsDirectory(chosen), "the chosen directory was created");
  Sleep(300);
  run.Check(e2e::TextOf(start, IDC_START_DESTINATION) == chosen,
            "the start dialog shows the chosen directory");
  // Back to the usual destination for the checks below.
  e2e::SetText(start, IDC_START_DESTINATION, kRoot);

  HWND copy = StartCopy(run, session, start);
  if (copy == nullptr) return;
  run.Screenshot(copy, "copy");
  e2e::Click(copy, IDCANCEL);
  HWND confirm = session.Wait(session.texts().exit, 120);
  if (run.Check(confirm != nullptr, "Cancel asks whether to leave setup")) {
    run.Screenshot(confirm, "exit-confirmation");
    e2e::Click(confirm, IDC_EXIT_RESUME);
    run.Check(e2e::WaitUntilGone(confirm, 60), "Resume goes back to the copy");
  }
  // The tools option is offered only with the Chinese dialogs.
  PlayToTheEnd(run, session, false, run.chinese());
  Expected expected;
  expected.help = true;
  CheckInstallation(run, expected);
  CheckFullData(run);
}

E2E_SCENARIO(ExitWhenDone, "setup.exit-when-done",
             "\"Exit when Setup completed.\": the finish dialog closes by itself") {
  Session session(run, PrepareMedium(run, Medium{}));
  HWND start = OpenStart(run, session);
  if (start == nullptr) return;
  e2e::SetChecked(start, IDC_START_EXIT_WHEN_DONE, true);
  if (StartCopy(run, session, start) == nullptr) return;
  PlayToTheEnd(run, session, true, false);
  CheckInstallation(run, Expected{});
}

E2E_SCENARIO(Upgrade, "setup.upgrade",
             "a second install over an earlier one: the old group goes, the path is proposed") {
  // The earlier run's settings, read in this run's code page (as setup reads
  // them).
  const std::string old_group = Setting("INSTALL", "GROUP");
  const std::string old_path = Setting("INSTALL", "INSTALLPATH");
  if (!run.Check(old_group != e2e::kMissing && old_path != e2e::kMissing,
                 "an earlier installation is recorded: group " + old_group + ", path " + old_path))
    return;
  const std::string programs =
      e2e::RegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs");
  const std::string old_folder = programs + "\\" + old_group;
  const std::string stale = old_folder + "\\stale.txt";
  run.Check(e2e::IsDirectory(old_folder) && e2e::WriteBytes(stale, "stale"),
            "the earlier group " + old_group + " exists (a stale file put into it)");
  NameQuickLaunch(run);

  Session session(run, PrepareMedium(run, Medium{}));
  HWND start = OpenStart(run, session);
  if (start == nullptr) return;
  const std::string proposed = e2e::TextOf(start, IDC_START_DESTINATION);
  run.Check(!proposed.empty() && proposed.back() != '\\' &&
                e2e::SameNoCase(e2e::LongPath(proposed + "\\"), kRoot),
            "the earlier destination is proposed without its backslash: " + proposed);
  HWND copy = StartCopy(run, session, start);
  if (copy == nullptr) return;
  run.Screenshot(copy, "copy");
  PlayToTheEnd(run, session, false, false);
  run.Check(!e2e::Exists(stale), "the earlier group was removed");
  if (old_group != TextsOf(run).group)
    run.Check(!e2e::Exists(old_folder), "the earlier group " + old_group + " is gone");
  Expected expected;
  expected.first_install = false;
  expected.quick_launch = true;
  CheckInstallation(run, expected);
  CheckPayload(run);
}

}  // namespace
