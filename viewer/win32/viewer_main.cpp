// Entry point of Lumaview.exe.
#include <windows.h>

#include "win32/viewer_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR command_line, int show) {
  return viewer::win32::RunViewer(instance, command_line, show);
}
