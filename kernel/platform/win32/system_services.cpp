// Platform services on Win32: the calls of the Windows interface.
#include "platform/system_services.h"

#include <io.h>
#include <windows.h>

namespace pixbase::platform {
namespace {

uint64_t Ticks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

uint32_t LogicalDriveMask() { return GetLogicalDrives(); }

uint64_t SystemTimeTicks() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  FILETIME time = {};
  SystemTimeToFileTime(&now, &time);
  return Ticks(time);
}

bool ProcessTimesKept() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);  // 148 bytes
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool ProcessCpuTicks(uint64_t* ticks) {
  FILETIME creation, exit, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user)) return false;
  *ticks = Ticks(kernel) + Ticks(user);
  return true;
}

void* MapDescriptor(int descriptor, size_t length, int protection) {
  auto file = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  DWORD page = PAGE_READONLY;
  DWORD access = FILE_MAP_READ;
  if (protection == 2) {
    page = PAGE_READWRITE;
    access = FILE_MAP_WRITE;
  } else if (protection == 3) {
    page = PAGE_READWRITE;
    access = FILE_MAP_ALL_ACCESS;
  }
  HANDLE mapping = CreateFileMappingA(file, nullptr, page, 0, static_cast<DWORD>(length), nullptr);
  if (mapping == nullptr) return nullptr;
  void* view = MapViewOfFile(mapping, access, 0, 0, length);
  CloseHandle(mapping);  // the view keeps the mapping alive
  return view;
}

bool UnmapView(void* view) { return UnmapViewOfFile(view) != FALSE; }

// The handles of a background command are closed at once: the command runs
// on regardless, and nothing of the library is left holding it.
int RunCommandLine(char* command, bool background, bool minimised) {
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = minimised ? SW_SHOWMINNOACTIVE : SW_SHOWDEFAULT;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                      nullptr, &startup, &process))
    return -1;
  int result = 0;
  if (!background) {
    DWORD wait = WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (wait != WAIT_OBJECT_0)
      result = static_cast<int>(wait);
    else if (!GetExitCodeProcess(process.hProcess, &code))
      result = -1;
    else
      result = static_cast<int>(code);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

bool TemporaryDirectory(char* directory, size_t size) {
  DWORD length = GetTempPathA(static_cast<DWORD>(size), directory);
  return length != 0 && length < size;
}

uint32_t CreateUniqueTempFile(const char* directory, const char* prefix, char* path) {
  return GetTempFileNameA(directory, prefix, 0, path);
}

}  // namespace pixbase::platform
