// Binary semaphores of the platform: count 1 at most, released by any thread.
#ifndef PIXBASE_PLATFORM_SEMAPHORES_H
#define PIXBASE_PLATFORM_SEMAPHORES_H

namespace pixbase::platform {

// A new free semaphore (count 1 of at most 1), inheritable by child processes
// where the platform has that notion; null when it cannot be created.
void* CreateBinarySemaphore();
void CloseBinarySemaphore(void* semaphore);
// Waits without time limit; false when the wait itself failed.
bool WaitBinarySemaphore(void* semaphore);
// Frees a taken semaphore; false when it was free (the count stays 1).
bool ReleaseBinarySemaphore(void* semaphore);

}  // namespace pixbase::platform

#endif
