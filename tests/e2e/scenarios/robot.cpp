// The robot's own scenario: every call of its core tried against things
// whose answer is known, so that a fault in the harness shows here and not
// as a puzzling failure of some program's scenario. A sample window runs in
// a thread of the robot (an edit field, a check box, a static text and an
// OK button that writes the edit's text to a file); the rest goes to files,
// profile files, the registry, shell links and processes of the prefix.
#include "robot.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace {

using e2e::Run;

// --- The sample window ------------------------------------------------------------

const wchar_t kSampleClass[] = L"RobotSample";
const char kSampleTitle[] = "Robot sample 样本";
const char kSampleStatic[] = "静态文字 static";
const char kSampleOutput[] = "C:\\robot-self\\typed.txt";
constexpr int kEdit = 100;
constexpr int kBox = 101;
constexpr int kStatic = 102;
constexpr int kHidden = 103;

LRESULT CALLBACK SampleProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        // OK writes what the edit holds, in UTF-8, and says so in the title.
        e2e::WriteBytes(kSampleOutput, e2e::TextOf(window, kEdit));
        SetWindowTextW(window, L"written");
      }
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_F5) SetWindowTextW(window, L"F5");
      return 0;
    case WM_LBUTTONUP:
      SetWindowTextW(window, (L"click " + std::to_wstring(LOWORD(lparam)) + L"," +
                              std::to_wstring(HIWORD(lparam)))
                                 .c_str());
      return 0;
    case WM_PAINT: {
      // A pure red square at (0, 0) to (20, 20) for the pixel check.
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT square{0, 0, 20, 20};
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(dc, &square, red);
      DeleteObject(red);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

DWORD WINAPI SampleThread(LPVOID) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = SampleProcedure;
  window_class.hInstance = instance;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kSampleClass;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  RegisterClassW(&window_class);
  HWND window = CreateWindowExW(0, kSampleClass, e2e::Wide(kSampleTitle).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 100, 100, 360,
                                200, nullptr, nullptr, instance, nullptr);
  auto child = [&](const wchar_t* type, const std::string& text, DWORD style, int x, int y, int w,
                   int id) {
    CreateWindowExW(0, type, e2e::Wide(text).c_str(), WS_CHILD | style, x, y, w, 24, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  child(L"EDIT", "", WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 30, 10, 200, kEdit);
  child(L"BUTTON", "box", WS_VISIBLE | BS_AUTOCHECKBOX, 30, 40, 200, kBox);
  child(L"STATIC", kSampleStatic, WS_VISIBLE, 30, 70, 200, kStatic);
  child(L"STATIC", "hidden", 0, 30, 100, 200, kHidden);
  child(L"BUTTON", "OK", WS_VISIBLE | BS_PUSHBUTTON, 240, 10, 80, IDOK);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

// Waits for a condition for at most SECONDS.
template <typename Condition>
bool Within(int seconds, Condition condition) {
  for (int i = 0; i < seconds * 20; ++i) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

void CheckWindows(Run& run) {
  HANDLE thread = CreateThread(nullptr, 0, SampleThread, nullptr, 0, nullptr);
  if (!run.Check(thread != nullptr, "the sample window's thread starts")) return;

  e2e::WindowQuery by_class;
  by_class.process = GetCurrentProcessId();
  by_class.class_name = "RobotSample";
  HWND window = e2e::WaitForWindow(by_class, 30);
  if (run.Check(window != nullptr, "a window is found by process and class")) {
    e2e::WindowQuery by_title;
    by_title.title = kSampleTitle;
    run.Check(e2e::FindTopWindow(by_title) == window, "and by its Chinese title");
    e2e::WindowQuery wrong = by_class;
    wrong.title = "Robot sample";
    run.Check(e2e::FindTopWindow(wrong) == nullptr, "a title is matched whole, not as a prefix");
    wrong = by_class;
    wrong.process = GetCurrentProcessId() + 4;
    run.Check(e2e::WaitForWindow(wrong, 1) == nullptr,
              "a wait for a window that never comes gives up with null");
    run.Check(e2e::TextOf(window) == kSampleTitle, "TextOf reads a Chinese title");
    run.Screenshot(window, "sample");

    e2e::Type(window, kEdit, "Hello 你好");
    run.Check(e2e::TextOf(window, kEdit) == "Hello 你好", "Type enters keystrokes, Chinese too");
    e2e::Type(window, kEdit, "again");
    run.Check(e2e::TextOf(window, kEdit) == "again", "Type replaces what the field held");
    e2e::SetText(window, kEdit, "set 设置");
    run.Check(e2e::TextOf(window, kEdit) == "set 设置", "SetText replaces the text at once");

    run.Check(!e2e::IsChecked(window, kBox), "a new box is clear");
    e2e::SetChecked(window, kBox, true);
    run.Check(e2e::IsChecked(window, kBox), "SetChecked ticks it");
    run.Check(e2e::IsShown(window, kStatic) && !e2e::IsShown(window, kHidden) &&
                  !e2e::IsShown(window, 999),
              "IsShown tells visible, hidden and missing controls apart");
    std::vector<std::string> statics = e2e::StaticTexts(window);
    run.Check(statics.size() == 2 && statics[0] == kSampleStatic && statics[1] == "hidden",
              "StaticTexts lists the static texts in order");

    e2e::Click(window, IDOK);
    std::string written;
    run.Check(Within(10, [&] { return e2e::TextOf(window) == "written"; }) &&
                  e2e::ReadBytes(kSampleOutput, &written) && written == "set 设置",
              "Click reaches the window, which wrote the field's text");
    e2e::PressKey(window, VK_F5);
    run.Check(Within(10, [&] { return e2e::TextOf(window) == "F5"; }), "PressKey reaches it");
    e2e::ClickAt(window, 300, 120);
    run.Check(Within(10, [&] { return e2e::TextOf(window) == "click 300,120"; }),
              "ClickAt clicks at the client point");
    e2e::LetPaint(window);
    COLORREF red = e2e::PixelAt(window, 5, 5);
    COLORREF face = e2e::PixelAt(window, 25, 160);
    run.Check(red == RGB(255, 0, 0) && face != red,
              "PixelAt reads the painted square and the face beside it");

    e2e::Close(window);
    run.Check(e2e::WaitUntilGone(window, 10), "Close closes the window");
  }
  run.Check(WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0, "the sample thread ends");
  CloseHandle(thread);
}

// --- Files, profiles, the registry, links ---------------------------------------------

void CheckFiles(Run& run) {
  const std::string folder = "C:\\robot-self\\深\\nested folder";
  run.Check(e2e::MakeDirectories(folder) && e2e::IsDirectory(folder),
            "MakeDirectories makes every missing parent");
  run.Check(!e2e::IsDirectory(folder + "\\none") && !e2e::Exists(folder + "\\none"),
            "a missing path neither exists nor is a folder");
  const std::string bytes("a\0b\r\n\xff", 6);
  std::string read;
  run.Check(e2e::WriteBytes(folder + "\\b.bin", bytes) &&
                e2e::ReadBytes(folder + "\\b.bin", &read) && read == bytes,
            "WriteBytes and ReadBytes keep every byte");
  run.Check(!e2e::ReadBytes(folder + "\\none", &read) && read.empty(),
            "ReadBytes of a missing file fails");
  run.Check(e2e::CopyOneFile(folder + "\\b.bin", folder + "\\a.bin") &&
                e2e::ListFolder(folder) == std::vector<std::string>{"a.bin", "b.bin"},
            "CopyOneFile copies; ListFolder lists sorted without . and ..");
  const std::string long_name = folder + "\\a rather long file name.text";
  e2e::WriteBytes(long_name, "x");
  const std::string short_name = e2e::ShortPath(long_name);
  run.Check(!short_name.empty() && short_name != long_name &&
                e2e::SameNoCase(e2e::LongPath(short_name), long_name),
            "ShortPath and LongPath round trip: " + short_name);
  run.Check(
      e2e::WithBackslash("C:\\x\\\\") == "C:\\x\\" && e2e::WithBackslash("C:\\x") == "C:\\x\\",
      "WithBackslash leaves exactly one");
  run.Check(e2e::SameNoCase("C:\\ABC", "c:\\abc") && !e2e::SameNoCase("C:\\ab", "C:\\abc"),
            "SameNoCase ignores case only");
  run.Check(e2e::IsDirectory(e2e::WindowsFolder()) && e2e::WindowsFolder().back() != '\\',
            "WindowsFolder names the Windows folder without a backslash");

  // Profile files hold text in the ANSI code page: a value the run's code
  // page can hold comes back whole.
  const std::string profile = "C:\\robot-self\\robot.ini";
  const std::string value = run.Pick("café value", "值 value");
  WritePrivateProfileStringW(L"SECTION", L"Key", e2e::Wide(value).c_str(),
                             e2e::Wide(profile).c_str());
  run.Check(e2e::ProfileText(profile, "SECTION", "Key") == value,
            "ProfileText reads a value back in the run's code page");
  run.Check(e2e::ProfileText(profile, "SECTION", "Other") == e2e::kMissing,
            "a missing profile value reads as kMissing");

  const std::string key = "Software\\Lumaview\\RobotSelf";
  run.Check(e2e::SetRegistryText(HKEY_CURRENT_USER, key, "Name", "名 name") &&
                e2e::RegistryText(HKEY_CURRENT_USER, key, "Name") == "名 name",
            "SetRegistryText and RegistryText round trip");
  run.Check(e2e::RegistryKeyExists(HKEY_CURRENT_USER, key) &&
                !e2e::RegistryKeyExists(HKEY_CURRENT_USER, key + "\\None"),
            "RegistryKeyExists tells a key from a missing one");
  run.Check(e2e::RegistryText(HKEY_CURRENT_USER, key, "None") == e2e::kMissing &&
                e2e::RegistryText(HKEY_CURRENT_USER, key + "\\None", "Name") == e2e::kMissing,
            "missing values and keys read as kMissing");
}

void CheckLinks(Run& run) {
  const std::string path = "C:\\robot-self\\链接 link.lnk";
  IShellLinkW* link = nullptr;
  if (!run.Check(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IShellLinkW, reinterpret_cast<void**>(&link))),
                 "the shell's link object is there"))
    return;
  link->SetPath(L"C:\\robot-self\\target.exe");
  link->SetArguments(e2e::Wide("\"参数\" -x").c_str());
  link->SetDescription(L"described");
  link->SetIconLocation(L"C:\\robot-self\\icons.dll", 3);
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
               SUCCEEDED(file->Save(e2e::Wide(path).c_str(), TRUE));
  if (file != nullptr) file->Release();
  link->Release();
  if (!run.Check(saved, "a link is saved")) return;
  e2e::LinkFields fields = e2e::LoadLink(path);
  run.Check(fields.loaded && fields.target == "C:\\robot-self\\target.exe" &&
                fields.arguments == "\"参数\" -x" && fields.description == "described" &&
                fields.icon == "C:\\robot-self\\icons.dll" && fields.icon_index == 3,
            "LoadLink reads target, arguments, description and icon back");
  e2e::WriteBytes("C:\\robot-self\\not a link.lnk", "text");
  run.Check(!e2e::LoadLink("C:\\robot-self\\not a link.lnk").loaded,
            "LoadLink refuses a file that is no link");
}

// --- Processes -------------------------------------------------------------------------

void CheckProcesses(Run& run) {
  const std::string cmd = e2e::WindowsFolder() + "\\system32\\cmd.exe";
  e2e::Process exits = e2e::Process::Start(cmd, "/c exit 3");
  DWORD code = 0;
  run.Check(exits.started() && exits.WaitForExit(60, &code) && code == 3 && exits.Ended(),
            "a started process is awaited with its exit code (" + std::to_string(code) + ")");
  run.Check(!e2e::Process::Start("C:\\robot-self\\missing.exe").started(),
            "a missing program does not start");

  const std::string notepad = e2e::WindowsFolder() + "\\notepad.exe";
  DWORD id = 0;
  {
    e2e::Process running = e2e::Process::Start(notepad, "", "C:\\robot-self");
    id = running.id();
    e2e::WindowQuery query;
    query.class_name = "Notepad";
    HWND window = e2e::WaitForWindowOf(running, query, 60);
    run.Check(window != nullptr, "WaitForWindowOf finds the window of a started process");
    run.Check(!running.WaitForExit(1, &code) && code == STILL_ACTIVE && !running.Ended(),
              "a running process is not taken for ended");
  }
  HANDLE left = OpenProcess(SYNCHRONIZE, FALSE, id);
  bool gone = left == nullptr || WaitForSingleObject(left, 10000) == WAIT_OBJECT_0;
  if (left != nullptr) CloseHandle(left);
  run.Check(gone, "a process still running when its Process goes out of scope is ended");

  e2e::Process ended = e2e::Process::Start(cmd, "/c exit 0");
  ended.WaitForExit(60, &code);
  e2e::WindowQuery none;
  none.title = "never shown";
  run.Check(e2e::WaitForWindowOf(ended, none, 30) == nullptr,
            "WaitForWindowOf gives up once the process ended");
}

E2E_SCENARIO(RobotSelf, "robot.self",
             "the robot's own calls against a sample window, files, registry, links") {
  run.Check(run.language() == (run.chinese() ? "zh" : "en") &&
                run.Pick("english", "中文") == (run.chinese() ? "中文" : "english"),
            "Pick follows the language");
  run.Check(run.HasParam("files") && run.HasParam("shots") && !run.HasParam("none"),
            "the runner passes files= and shots=");
  run.Check(e2e::MakeDirectories("C:\\robot-self"), "a work folder C:\\robot-self");
  CheckWindows(run);
  CheckFiles(run);
  CheckLinks(run);
  CheckProcesses(run);
}

}  // namespace
