// Windows of the programs under test: finding them by process, class and
// title, waiting for them with bounded polling, clicking, typing and reading
// their texts. Every wait takes a limit in seconds and gives up with null or
// false; nothing waits for ever.
#ifndef LUMAVIEW_E2E_GUI_H
#define LUMAVIEW_E2E_GUI_H

#include <windows.h>

#include <string>
#include <vector>

#include "process.h"

namespace e2e {

// A visible top-level window; empty fields match anything.
struct WindowQuery {
  DWORD process = 0;       // process id (Process::id()); 0: any process
  std::string title;       // exact title, UTF-8
  std::string class_name;  // exact window class, e.g. "#32770" for dialogs
};

HWND FindTopWindow(const WindowQuery& query);
// Polls every 10 ms, since some windows are up only briefly.
HWND WaitForWindow(const WindowQuery& query, int seconds);
// True once WINDOW is destroyed or hidden.
bool WaitUntilGone(HWND window, int seconds);

// A window of PROCESS matching QUERY (its process field is set from
// PROCESS); gives up early, with null, when the process ended first.
HWND WaitForWindowOf(const Process& process, WindowQuery query, int seconds);

// A control of a dialog by its id (null when there is none).
HWND Control(HWND dialog, int id);

// Presses button ID of DIALOG the way the button reports a click: the
// dialog receives WM_COMMAND with BN_CLICKED. Works for message boxes too
// (IDOK, IDYES, IDNO...).
void Click(HWND dialog, int id);
// A key pressed and released in WINDOW (WM_KEYDOWN, WM_KEYUP), e.g. VK_NEXT.
void PressKey(HWND window, UINT virtual_key);
// A left click at client point (X, Y) of WINDOW (button down and up).
void ClickAt(HWND window, int x, int y);
// Asks WINDOW to close, as its close box does (WM_CLOSE).
void Close(HWND window);
// Types TEXT into control ID as keystrokes (WM_CHAR), after selecting what
// the control holds, so it replaces it.
void Type(HWND dialog, int id, const std::string& text);
// Replaces the text of control ID at once (WM_SETTEXT).
void SetText(HWND dialog, int id, const std::string& text);
std::string TextOf(HWND window);
std::string TextOf(HWND dialog, int id);
// The texts of a window's static controls, in child order (the message of
// a message box is among them).
std::vector<std::string> StaticTexts(HWND window);
// Check boxes.
bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);
bool IsShown(HWND dialog, int id);

// The colour on screen at client point (X, Y) of WINDOW, as the X server
// shows it (CLR_INVALID outside the screen).
COLORREF PixelAt(HWND window, int x, int y);

// Gives WINDOW's thread time to handle what is queued (a paint among it):
// returns once the thread answered a message, or after 5 s.
void LetPaint(HWND window);

}  // namespace e2e

#endif
