// Binary semaphores on POSIX: a count of at most 1 guarded by a mutex, with a
// condition to wait on. Unlike sem_post, a release of a free semaphore is
// refused, so the count never exceeds 1. There are no inheritable handles:
// the object lives in the process's memory (not a library block, as a system
// semaphore would not be).
#include "platform/semaphores.h"

#include <pthread.h>

#include <new>

namespace pixbase::platform {
namespace {

struct BinarySemaphore {
  pthread_mutex_t mutex;
  pthread_cond_t freed;
  int count;
};

}  // namespace

void* CreateBinarySemaphore() {
  auto* semaphore = new (std::nothrow) BinarySemaphore;
  if (semaphore == nullptr) return nullptr;
  if (pthread_mutex_init(&semaphore->mutex, nullptr) != 0) {
    delete semaphore;
    return nullptr;
  }
  if (pthread_cond_init(&semaphore->freed, nullptr) != 0) {
    pthread_mutex_destroy(&semaphore->mutex);
    delete semaphore;
    return nullptr;
  }
  semaphore->count = 1;
  return semaphore;
}

void CloseBinarySemaphore(void* handle) {
  auto* semaphore = static_cast<BinarySemaphore*>(handle);
  pthread_cond_destroy(&semaphore->freed);
  pthread_mutex_destroy(&semaphore->mutex);
  delete semaphore;
}

bool WaitBinarySemaphore(void* handle) {
  auto* semaphore = static_cast<BinarySemaphore*>(handle);
  if (pthread_mutex_lock(&semaphore->mutex) != 0) return false;
  bool taken = true;
  while (semaphore->count == 0) {
    if (pthread_cond_wait(&semaphore->freed, &semaphore->mutex) != 0) {
      taken = false;
      break;
    }
  }
  if (taken) semaphore->count = 0;
  pthread_mutex_unlock(&semaphore->mutex);
  return taken;
}

bool ReleaseBinarySemaphore(void* handle) {
  auto* semaphore = static_cast<BinarySemaphore*>(handle);
  if (pthread_mutex_lock(&semaphore->mutex) != 0) return false;
  bool released = semaphore->count == 0;
  if (released) {
    semaphore->count = 1;
    pthread_cond_signal(&semaphore->freed);
  }
  pthread_mutex_unlock(&semaphore->mutex);
  return released;
}

}  // namespace pixbase::platform
