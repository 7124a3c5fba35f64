// Process services on Win32: platform family, termination, message boxes and
// system error texts.
#include <windows.h>

#include <cstring>

#include "platform/platform.h"

namespace pixbase::platform {

bool IsWindows9x() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

void TerminateProcessNow(int code) {
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  ExitProcess(static_cast<UINT>(code));  // not reached; keeps the promise of noreturn
}

void ShowMessageBox(const char* text, const char* caption, BoxIcon icon) {
  UINT style = MB_SETFOREGROUND | MB_TASKMODAL | MB_OK |
               (icon == BoxIcon::Exclamation ? MB_ICONEXCLAMATION : MB_ICONINFORMATION);
  MessageBoxA(nullptr, text, caption, style);
}

// The system allocates the text (a local-heap block, released here); when it
// cannot, there is no text.
size_t LastSystemErrorText(char* text, size_t size) {
  char* buffer = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
      reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  size_t copied = 0;
  if (length != 0 && buffer != nullptr && size != 0) {
    copied = length < size - 1 ? length : size - 1;
    std::memcpy(text, buffer, copied);
    text[copied] = '\0';
  }
  if (buffer != nullptr) LocalFree(buffer);
  return copied;
}

}  // namespace pixbase::platform
