// The Windows GUI entry of UNINST32.exe: the run's result is the process's
// exit code.
#include <windows.h>

#include "core/uninstaller.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  return uninstall::RunUninstaller(command_line);
}
