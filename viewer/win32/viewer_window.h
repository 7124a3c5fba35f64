// The viewer's main window: one picture, fitted or at 100%, stepped through
// its folder; the release message of setup closes it.
#ifndef LUMAVIEW_VIEWER_VIEWER_WINDOW_H
#define LUMAVIEW_VIEWER_VIEWER_WINDOW_H

#include <windows.h>

namespace viewer::win32 {

// Runs the viewer until its window closes: loads the coder modules beside
// the program, records the window in the settings file, shows the picture
// the command line names. The exit code.
int RunViewer(HINSTANCE instance, const char* command_line, int show);

}  // namespace viewer::win32

#endif
