// Scenarios of Lumaview.exe: a picture shown at 100% (its client area then
// compared with the picture pixel for pixel on the Linux side), a picture
// larger than the window scrolled to its far corner (compared the same way),
// a picture chosen in File > Open, a malformed file answered with the
// module's reason while the viewer stays usable, the installed program
// group's link starting the viewer on a sample, and the Monitor handshake
// with setup (the viewer running, setup run again over it: the viewer lets
// go of its files and closes, and they are replaced).
//
// Supplied: Lumaview.exe, PIXBASE.dll, the coder modules named by the
// parameter modules= (',' between names), setup.exe for the handshake.
// Parameters: picture= a picture the modules read (its expected width=,
// height= and format=), malformed= a file of a readable format whose data
// the module refuses, reason= the module's reason for it, report= a host
// file (Windows path) that receives the client area's place on the screen
// (and, scrolled, the part of the picture it shows).
//
// Divisions: the product in the prefix, the viewer's window, the scenarios.
#include <cstdio>
#include <string>
#include <vector>

#include "common/distribution.h"
#include "log/settings_log.h"
#include "robot.h"
#include "viewer_ids.h"

namespace {

using e2e::Run;

// --- The product in the prefix --------------------------------------------------

const char kViewerFolder[] = "C:\\Viewer";
const char kPictures[] = "C:\\Pictures";
const char kInstalled[] = "C:\\Corvane\\Widelens";
const char kMedium[] = "C:\\media";
// Controls of the system's open dialog: the list of filters and the file
// name box (cmb1 and cmb13 of the common dialog templates).
const int kFilterList = 0x470;
const int kFileNameBox = 0x47C;

std::vector<std::string> Split(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) names.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// The viewer, the kernel and the coder modules in one folder, as installed.
bool PlaceViewer(Run& run, const std::string& folder) {
  std::vector<std::string> files{"Lumaview.exe", "PIXBASE.dll"};
  for (const std::string& module : Split(run.Param("modules"))) files.push_back(module);
  bool placed = e2e::MakeDirectories(folder);
  for (const std::string& file : files)
    placed = placed && e2e::CopyOneFile(run.Supplied(file), folder + "\\" + file);
  return run.Check(placed, "the viewer, PIXBASE.dll and the coder modules lie in " + folder);
}

// The picture of the test in the pictures folder; its path there.
std::string PlacePicture(Run& run, const std::string& parameter) {
  std::string from = run.Param(parameter);
  std::string to = std::string(kPictures) + "\\" + NameOf(from);
  run.Check(e2e::MakeDirectories(kPictures) && e2e::CopyOneFile(from, to), to + " is there");
  return to;
}

std::string Application(const Run& run) { return run.Pick("Corvane Widelens", "宽镜"); }

// The title the viewer gives the picture of the test at ZOOM percent.
std::string ExpectedTitle(Run& run, const std::string& name, int zoom) {
  return name + " - " + run.Param("width") + " x " + run.Param("height") + " - " +
         run.Param("format") + " - " + std::to_string(zoom) + "% - " + Application(run);
}

// True when TITLE is the viewer's title for the file NAME at whatever zoom:
// with the test's size and format when SIZED, else with any.
bool TitleShows(Run& run, const std::string& title, const std::string& name, bool sized) {
  std::string head = name + " - ";
  if (sized)
    head += run.Param("width") + " x " + run.Param("height") + " - " + run.Param("format") + " - ";
  const std::string tail = "% - " + Application(run);
  if (title.size() < head.size() + tail.size() || title.compare(0, head.size(), head) != 0 ||
      title.compare(title.size() - tail.size(), tail.size(), tail) != 0)
    return false;
  if (!sized) return true;
  const std::string zoom = title.substr(head.size(), title.size() - head.size() - tail.size());
  return !zoom.empty() && zoom.find_first_not_of("0123456789") == std::string::npos;
}

std::string Monitor() {
  return e2e::ProfileText(setup::kSettingsFile, setup::kSettingSection, setup::kMonitorKey);
}

// --- The viewer's window ----------------------------------------------------------

HWND WaitForViewer(Run& run, const e2e::Process& viewer) {
  e2e::WindowQuery query;
  query.process = viewer.id();
  query.class_name = VIEWER_WINDOW_CLASS;
  HWND frame = e2e::WaitForWindow(query, 60);
  run.Check(frame != nullptr, "the viewer's window opens");
  return frame;
}

// True once the window's title satisfies WANTED (within SECONDS).
template <typename Predicate>
bool WaitForTitle(HWND window, Predicate wanted, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (wanted(e2e::TextOf(window))) return true;
    Sleep(100);
  }
  return false;
}

// Sizes the window so that its client area is WIDTH x HEIGHT.
bool SizeClientArea(HWND window, int width, int height) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    int dw = width - (client.right - client.left);
    int dh = height - (client.bottom - client.top);
    if (dw == 0 && dh == 0) return true;
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dw,
                 outer.bottom - outer.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    e2e::LetPaint(window);
  }
  RECT client;
  GetClientRect(window, &client);
  return client.right - client.left == width && client.bottom - client.top == height;
}

// Closes the viewer through File > Exit; it ends with 0 and forgets its
// window in the settings file.
void CloseViewer(Run& run, HWND frame, e2e::Process& viewer) {
  e2e::Click(frame, IDM_FILE_EXIT);
  DWORD code = 1;
  run.Check(viewer.WaitForExit(30, &code) && code == 0, "the viewer ends with 0");
  run.Check(Monitor() == "0", "the settings file records no viewer any more");
}

// Places the viewer and the test's picture, starts the viewer on it and
// waits until its title names the file; the viewer's window, or null when it
// does not come up (the failed check says why). NAME receives the file name.
HWND OpenPlacedPicture(Run& run, e2e::Process& viewer, std::string& name) {
  if (!PlaceViewer(run, kViewerFolder)) return nullptr;
  std::string picture = PlacePicture(run, "picture");
  viewer = e2e::Process::Start(std::string(kViewerFolder) + "\\Lumaview.exe", "\"" + picture + "\"",
                               kPictures);
  if (!run.Check(viewer.started(), "Lumaview.exe starts")) return nullptr;
  HWND frame = WaitForViewer(run, viewer);
  if (frame == nullptr) return nullptr;
  name = NameOf(picture);
  bool titled = WaitForTitle(
      frame, [&](const std::string& title) { return TitleShows(run, title, name, true); }, 30);
  run.Check(titled,
            "the title names the file, its size, its format and the zoom: " + e2e::TextOf(frame));
  return frame;
}

// --- Scenarios ----------------------------------------------------------------------

E2E_SCENARIO(ActualSize, "viewer.actual",
             "a picture named on the command line, at 100%, fills the client area exactly") {
  e2e::Process viewer;
  std::string name;
  HWND frame = OpenPlacedPicture(run, viewer, name);
  if (frame == nullptr) return;
  run.Check(Monitor() == std::to_string(reinterpret_cast<std::uintptr_t>(frame)),
            "the settings file records the window as [SETTING] Monitor");

  // Key Z: 100%.
  e2e::PressKey(frame, 'Z');
  const std::string actual = ExpectedTitle(run, name, 100);
  bool at_100 = WaitForTitle(
      frame, [&](const std::string& title) { return title == actual; }, 30);
  if (!run.Check(at_100, "key Z shows the picture at 100%: " + e2e::TextOf(frame))) return;
  int width = std::stoi(run.Param("width"));
  int height = std::stoi(run.Param("height"));
  if (!run.Check(SizeClientArea(frame, width, height), "the client area is sized to the picture")) {
    return;
  }
  e2e::LetPaint(frame);
  POINT origin{0, 0};
  ClientToScreen(frame, &origin);
  // The Linux side cuts this rectangle out of the screenshot and compares it
  // with the picture.
  char place[64];
  std::snprintf(place, sizeof place, "%ld %ld %d %d\n", origin.x, origin.y, width, height);
  run.Check(e2e::WriteBytes(run.Param("report"), place),
            std::string("the client area's place on the screen is reported: ") + place);
  run.Screenshot(frame, "actual");
  CloseViewer(run, frame, viewer);
}

E2E_SCENARIO(Scrolled, "viewer.scroll",
             "a picture larger than the window: fitted without scroll bars, at 100% with "
             "both, scrolled to its far corner") {
  e2e::Process viewer;
  std::string name;
  HWND frame = OpenPlacedPicture(run, viewer, name);
  if (frame == nullptr) return;
  const LONG bars = WS_HSCROLL | WS_VSCROLL;
  run.Check((GetWindowLongA(frame, GWL_STYLE) & bars) == 0, "fitted, the view has no scroll bars");
  run.Screenshot(frame, "fitted");

  // View > Actual Size.
  e2e::Click(frame, IDM_VIEW_ACTUAL_SIZE);
  const std::string actual = ExpectedTitle(run, name, 100);
  bool at_100 = WaitForTitle(
      frame, [&](const std::string& title) { return title == actual; }, 30);
  if (!run.Check(at_100, "View > Actual Size shows 100%: " + e2e::TextOf(frame))) return;
  run.Check((GetWindowLongA(frame, GWL_STYLE) & bars) == bars, "at 100% both scroll bars show");
  SendMessageA(frame, WM_HSCROLL, SB_BOTTOM, 0);
  SendMessageA(frame, WM_VSCROLL, SB_BOTTOM, 0);
  e2e::LetPaint(frame);
  RECT client;
  GetClientRect(frame, &client);
  POINT origin{0, 0};
  ClientToScreen(frame, &origin);
  // Scrolled to the end, the client area shows the picture's far corner.
  int width = std::stoi(run.Param("width"));
  int height = std::stoi(run.Param("height"));
  char place[96];
  std::snprintf(place, sizeof place, "%ld %ld %ld %ld %ld %ld\n", origin.x, origin.y, client.right,
                client.bottom, width - client.right, height - client.bottom);
  run.Check(e2e::WriteBytes(run.Param("report"), place),
            std::string("the client area's place and the part of the picture it shows: ") + place);
  run.Screenshot(frame, "scrolled");
  CloseViewer(run, frame, viewer);
}

E2E_SCENARIO(OpenDialog, "viewer.open",
             "File > Open lists the modules' formats and opens the picture chosen") {
  if (!PlaceViewer(run, kViewerFolder)) return;
  std::string picture = PlacePicture(run, "picture");
  e2e::Process viewer =
      e2e::Process::Start(std::string(kViewerFolder) + "\\Lumaview.exe", "", kPictures);
  if (!run.Check(viewer.started(), "Lumaview.exe starts without a picture")) return;
  HWND frame = WaitForViewer(run, viewer);
  if (frame == nullptr) return;
  run.Check(e2e::TextOf(frame) == Application(run), "the title names only the viewer");

  e2e::Click(frame, IDM_FILE_OPEN);
  e2e::WindowQuery query;
  query.process = viewer.id();
  query.class_name = "#32770";
  query.title = run.Pick("Open Picture", "打开图片");
  HWND dialog = e2e::WaitForWindow(query, 60);
  if (!run.Check(dialog != nullptr, "the open dialog appears")) return;
  // The first filter names every format the modules read.
  const std::string filter = e2e::TextOf(dialog, kFilterList);
  const std::string pictures = run.Pick("Pictures (", "图片 (");
  bool listed = filter.compare(0, pictures.size(), pictures) == 0;
  for (const char* format : {"*.PBM", "*.PGM", "*.PPM", "*.PAM", "*.PNM", "*.BMP"})
    listed = listed && filter.find(format) != std::string::npos;
  run.Check(listed, "the filter lists the readable formats: " + filter);
  run.Screenshot(dialog, "open");  // black under Xvfb, as the message box below
  e2e::SetText(dialog, kFileNameBox, picture);
  e2e::Click(dialog, IDOK);
  run.Check(e2e::WaitUntilGone(dialog, 30), "the dialog closes");
  bool shown = WaitForTitle(
      frame,
      [&](const std::string& title) { return TitleShows(run, title, NameOf(picture), true); }, 30);
  run.Check(shown, "the chosen picture is shown: " + e2e::TextOf(frame));
  CloseViewer(run, frame, viewer);
}

E2E_SCENARIO(Malformed, "viewer.malformed",
             "a malformed file gives the module's reason; the viewer then steps on") {
  if (!PlaceViewer(run, kViewerFolder)) return;
  std::string broken = PlacePicture(run, "malformed");
  std::string good = PlacePicture(run, "picture");
  e2e::Process viewer = e2e::Process::Start(std::string(kViewerFolder) + "\\Lumaview.exe",
                                            "\"" + broken + "\"", kPictures);
  if (!run.Check(viewer.started(), "Lumaview.exe starts")) return;
  e2e::WindowQuery box_query;
  box_query.process = viewer.id();
  box_query.class_name = "#32770";
  box_query.title = Application(run);
  HWND box = e2e::WaitForWindow(box_query, 60);
  if (!run.Check(box != nullptr, "a message box appears")) return;
  std::string message;
  for (const std::string& text : e2e::StaticTexts(box)) message += text + "\n";
  run.Check(message.find(NameOf(broken)) != std::string::npos, "the message names the file");
  run.Check(message.find(run.Param("reason")) != std::string::npos,
            "the message gives the module's reason: " + message);
  // Under Wine 8 on Xvfb without a window manager, a box lying wholly inside
  // another top-level window of its process stays black in the screenshot
  // (a plain program of one overlapped window and one MessageBox does the
  // same); the texts above are what this scenario checks.
  run.Screenshot(box, "message");
  e2e::Click(box, IDOK);
  run.Check(e2e::WaitUntilGone(box, 30), "the message box closes");

  // Still usable: Page Down goes on to the next picture of the folder.
  HWND frame = WaitForViewer(run, viewer);
  if (frame == nullptr) return;
  run.Check(e2e::TextOf(frame) == Application(run), "no picture is shown yet");
  e2e::PressKey(frame, VK_NEXT);
  bool stepped = WaitForTitle(
      frame, [&](const std::string& title) { return TitleShows(run, title, NameOf(good), true); },
      30);
  run.Check(stepped, "Page Down shows the next picture of the folder: " + e2e::TextOf(frame));
  run.Screenshot(frame, "next");
  CloseViewer(run, frame, viewer);
}

E2E_SCENARIO(FromTheLink, "viewer.link",
             "after an install with the distribution's FULLDATA: the program group's link "
             "starts the viewer, which shows the first sample and steps to the next") {
  const std::string programs = e2e::RegistryText(
      HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
      "Common Programs");
  if (!run.Check(programs != e2e::kMissing, "the all-users Programs folder is known")) return;
  const std::string name = Application(run);
  const e2e::LinkFields link = e2e::LoadLink(programs + "\\" + name + "\\" + name + ".lnk");
  if (!run.Check(link.loaded && e2e::Exists(link.target),
                 "the link \"" + name + "\" names an installed program: " + link.target)) {
    return;
  }
  const std::string samples = std::string(kInstalled) + "\\Samples";
  std::vector<std::string> names = e2e::ListFolder(samples);
  if (!run.Check(names.size() >= 2, "the samples are installed in " + samples)) return;

  e2e::Process viewer =
      e2e::Process::Start(link.target, "\"" + samples + "\\" + names[0] + "\"", kInstalled);
  if (!run.Check(viewer.started(), "the link's target starts")) return;
  HWND frame = WaitForViewer(run, viewer);
  if (frame == nullptr) return;
  auto shows = [&](const std::string& file) {
    return WaitForTitle(
        frame, [&](const std::string& title) { return TitleShows(run, title, file, false); }, 30);
  };
  bool first = shows(names[0]);
  run.Check(first, "the viewer shows the sample " + names[0] + ": " + e2e::TextOf(frame));
  run.Screenshot(frame, "viewer");
  e2e::PressKey(frame, VK_NEXT);
  bool second = shows(names[1]);
  run.Check(second, "Page Down shows the next sample " + names[1] + ": " + e2e::TextOf(frame));
  CloseViewer(run, frame, viewer);
}

// Plays setup.exe from the medium through the default install: OK in the
// start dialog, Finish in the finish dialog. True when setup ended with 1.
bool Install(Run& run, const std::string& setup, const std::string& what) {
  e2e::Process process = e2e::Process::Start(setup, "", kMedium);
  if (!run.Check(process.started(), what + ": setup.exe starts")) return false;
  e2e::WindowQuery start;
  start.process = process.id();
  start.title = run.Pick("Install Setup", "安装设置");
  HWND start_dialog = e2e::WaitForWindow(start, 120);
  if (!run.Check(start_dialog != nullptr, what + ": the start dialog appears")) return false;
  e2e::Click(start_dialog, IDOK);
  e2e::WindowQuery finish;
  finish.process = process.id();
  finish.title = run.Pick("Finish Setup", "安装完成");
  HWND finish_dialog = e2e::WaitForWindow(finish, 600);
  if (!run.Check(finish_dialog != nullptr, what + ": the finish dialog appears")) return false;
  run.Check(e2e::FindTopWindow({process.id(), "Can NOT Write", ""}) == nullptr,
            what + ": no file was refused");
  e2e::Click(finish_dialog, IDOK);
  DWORD code = 0;
  return run.Check(process.WaitForExit(120, &code) && code == 1, what + ": setup ends with 1");
}

// The last time the file was written, or 0.
ULONGLONG WrittenAt(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(e2e::Wide(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32 |
         data.ftLastWriteTime.dwLowDateTime;
}

ULONGLONG Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return static_cast<ULONGLONG>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

E2E_SCENARIO(Handshake, "viewer.handshake",
             "setup run over a running viewer: the viewer closes, its files are replaced") {
  // The medium: setup.exe with the coder modules and the picture in FULLDATA,
  // which setup installs beside the viewer.
  std::string setup = std::string(kMedium) + "\\setup.exe";
  std::string fulldata = std::string(kMedium) + "\\FULLDATA";
  std::vector<std::string> modules = Split(run.Param("modules"));
  std::string picture_name = NameOf(run.Param("picture"));
  bool medium = e2e::MakeDirectories(fulldata) &&
                e2e::CopyOneFile(run.Supplied("setup.exe"), setup) &&
                e2e::CopyOneFile(run.Param("picture"), fulldata + "\\" + picture_name);
  for (const std::string& module : modules)
    medium = medium && e2e::CopyOneFile(run.Supplied(module), fulldata + "\\" + module);
  if (!run.Check(medium, "setup.exe, the modules and the picture lie on the medium")) return;
  if (!Install(run, setup, "the first install")) return;

  const std::string root = kInstalled;
  e2e::Process viewer =
      e2e::Process::Start(root + "\\Lumaview.exe", "\"" + root + "\\" + picture_name + "\"", root);
  if (!run.Check(viewer.started(), "the installed Lumaview.exe starts")) return;
  HWND frame = WaitForViewer(run, viewer);
  if (frame == nullptr) return;
  bool shown = WaitForTitle(
      frame, [&](const std::string& title) { return TitleShows(run, title, picture_name, true); },
      30);
  run.Check(shown, "the installed viewer shows the installed picture: " + e2e::TextOf(frame));
  run.Check(Monitor() == std::to_string(reinterpret_cast<std::uintptr_t>(frame)),
            "the settings file records the running viewer as [SETTING] Monitor");
  run.Screenshot(frame, "running");

  ULONGLONG before = Now();
  if (!Install(run, setup, "the install over the running viewer")) return;
  DWORD code = 1;
  run.Check(viewer.WaitForExit(30, &code) && code == 0, "the viewer has closed, with 0");
  run.Check(Monitor() == "0", "the settings file records no viewer any more");
  std::vector<std::string> replaced{"Lumaview.exe", "PIXBASE.dll"};
  for (const std::string& module : modules) replaced.push_back(module);
  for (const std::string& file : replaced) {
    std::string installed, supplied;
    bool same = e2e::ReadBytes(root + "\\" + file, &installed) &&
                e2e::ReadBytes(run.Supplied(file), &supplied) && installed == supplied;
    run.Check(same && WrittenAt(root + "\\" + file) >= before,
              file + " was written again by the second install");
  }
}

}  // namespace
