// Semaphore records: a system binary semaphore and its signature.
#include "platform/semaphores.h"

#include "pixbase/allocator.h"
#include "pixbase/semaphore.h"
#include "services/raise.h"

extern "C" {

SemaphoreRecord* NewSemaphore(void) {
  auto* semaphore = static_cast<SemaphoreRecord*>(AllocateMemory(sizeof(SemaphoreRecord)));
  if (semaphore == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to allocate semaphore_info info");
    return nullptr;
  }
  semaphore->handle = pixbase::platform::CreateBinarySemaphore();
  if (semaphore->handle == nullptr) {
    ReleaseMemory(&semaphore);
    return nullptr;
  }
  semaphore->signature = PIXBASE_SEMAPHORE_SIGNATURE;
  return semaphore;
}

void DeleteSemaphore(SemaphoreRecord* semaphore) {
  if (semaphore == nullptr) return;
  if (semaphore->handle != nullptr) pixbase::platform::CloseBinarySemaphore(semaphore->handle);
  ReleaseMemory(&semaphore);
}

// A null record (after a failed creation) is no lock: 0, and nothing waits.
int LockSemaphore(SemaphoreRecord* semaphore) {
  if (semaphore == nullptr || semaphore->handle == nullptr) return 0;
  return pixbase::platform::WaitBinarySemaphore(semaphore->handle) ? 1 : 0;
}

int UnlockSemaphore(SemaphoreRecord* semaphore) {
  if (semaphore == nullptr || semaphore->handle == nullptr) return 0;
  return pixbase::platform::ReleaseBinarySemaphore(semaphore->handle) ? 1 : 0;
}

}  // extern "C"
