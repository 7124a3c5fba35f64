// The removal seam (platform/removal.h) on Windows.
#include "platform/removal.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace setup::platform {

void Pause(unsigned milliseconds) { Sleep(milliseconds); }

std::size_t TemporaryDirectory(char* buffer, std::size_t size) {
  DWORD length = GetTempPathA(static_cast<DWORD>(size), buffer);
  if (length == 0 || length >= size) return 0;
  if (buffer[length - 1] != '\\') {
    if (length + 2 > size) return 0;
    buffer[length++] = '\\';
    buffer[length] = '\0';
  }
  return length;
}

bool CopyFileTo(const char* source, const char* target) {
  return CopyFileA(source, target, FALSE) != FALSE;
}

bool StartProgram(const char* path, const char* arguments) {
  // The command line is written into by CreateProcessA: a buffer of our own.
  char command[1024];
  int length = std::snprintf(command, sizeof command, "\"%s\" %s", path, arguments);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof command) return false;
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

namespace {

// The Windows 95 family has no MoveFileEx: WININIT.INI's [rename] section
// lists "NUL=short path" lines, carried out before the next start. The lines
// share one key name, so they are appended as text, never written through
// the profile functions (which would replace the previous line).
bool ScheduleInWininit(const char* path) {
  char short_path[MAX_PATH];
  DWORD length = GetShortPathNameA(path, short_path, sizeof short_path);
  if (length == 0 || length >= sizeof short_path) return false;
  char wininit[MAX_PATH];
  UINT directory = GetWindowsDirectoryA(wininit, sizeof wininit);
  if (directory == 0 || directory + 14 >= sizeof wininit) return false;
  if (wininit[directory - 1] != '\\') std::strcat(wininit, "\\");
  std::strcat(wininit, "WININIT.INI");
  HANDLE file =
      CreateFileA(wininit, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  SetFilePointer(file, 0, nullptr, FILE_END);
  char lines[MAX_PATH + 32];
  int count = std::snprintf(lines, sizeof lines, "\r\n[rename]\r\nNUL=%s\r\n", short_path);
  DWORD written = 0;
  bool ok = count > 0 &&
            WriteFile(file, lines, static_cast<DWORD>(count), &written, nullptr) != FALSE &&
            written == static_cast<DWORD>(count);
  CloseHandle(file);
  return ok;
}

}  // namespace

bool ScheduleRemovalAtRestart(const char* path) {
  if ((GetVersion() & 0x80000000u) == 0)
    return MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
  return ScheduleInWininit(path);
}

bool DeleteRegistrySubkey(RegistryKey parent, const char* name) {
  return RegDeleteKeyA(reinterpret_cast<HKEY>(parent), name) == ERROR_SUCCESS;
}

bool SendToWindowWithin(Window window, unsigned message, std::uintptr_t wparam,
                        std::intptr_t lparam, unsigned timeout_ms) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(reinterpret_cast<HWND>(window), message, wparam, lparam,
                             SMTO_ABORTIFHUNG, timeout_ms, &answer) != 0;
}

}  // namespace setup::platform
