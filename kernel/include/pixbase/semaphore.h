/*
 * Semaphores: binary locks of the platform (initial count 1, maximum 1).
 *
 * A semaphore is free after NewSemaphore, taken by LockSemaphore and free
 * again after UnlockSemaphore, which any thread may call. The locks are not
 * re-entrant: a second LockSemaphore without an unlock in between waits for
 * ever, whichever thread makes it.
 */
#ifndef PIXBASE_SEMAPHORE_H
#define PIXBASE_SEMAPHORE_H

#include "api.h"

PIXBASE_BEGIN_DECLS

#define PIXBASE_SEMAPHORE_SIGNATURE 0xCAFEu

typedef struct SemaphoreRecord {
  void* handle;       /* the system semaphore (inheritable by child processes) */
  uint32_t signature; /* 0xCAFE once the record is complete */
} SemaphoreRecord;
PIXBASE_CHECK_LAYOUT(sizeof(SemaphoreRecord) == 8, "SemaphoreRecord is 8 bytes");

/* A new, free semaphore, or null. Raises "Unable to allocate semaphore_info
 * info" when the record cannot be allocated; a system semaphore that cannot be
 * created gives null without a report. */
SemaphoreRecord* PIXBASE_CALL NewSemaphore(void);
/* Closes the semaphore and releases the record; null is ignored. */
void PIXBASE_CALL DeleteSemaphore(SemaphoreRecord* semaphore);
/* Waits without time limit until the semaphore is taken: 1, or 0 when the
 * wait failed or there is no semaphore (null). */
int PIXBASE_CALL LockSemaphore(SemaphoreRecord* semaphore);
/* Frees the semaphore: 1, or 0 when it was not taken or there is none. */
int PIXBASE_CALL UnlockSemaphore(SemaphoreRecord* semaphore);

PIXBASE_END_DECLS

#endif
