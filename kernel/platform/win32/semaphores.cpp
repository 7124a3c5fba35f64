// Binary semaphores on Win32: unnamed system semaphores whose handles child
// processes inherit.
#include "platform/semaphores.h"

#include <windows.h>

namespace pixbase::platform {

void* CreateBinarySemaphore() {
  SECURITY_ATTRIBUTES security = {};
  security.nLength = sizeof(security);  // 12 bytes
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = TRUE;
  return CreateSemaphoreA(&security, 1, 1, nullptr);
}

void CloseBinarySemaphore(void* semaphore) { CloseHandle(semaphore); }

bool WaitBinarySemaphore(void* semaphore) {
  return WaitForSingleObject(semaphore, INFINITE) == WAIT_OBJECT_0;
}

bool ReleaseBinarySemaphore(void* semaphore) {
  return ReleaseSemaphore(semaphore, 1, nullptr) != FALSE;
}

}  // namespace pixbase::platform
