/*
 * The allocator: one heap for the library and its clients.
 *
 * Every block is zero-filled and belongs to whoever received it; it is
 * released with ReleaseMemory through a holder (the address of the pointer
 * variable), which is left null. The front is built on the raw layer, which
 * clients may also call.
 */
#ifndef PIXBASE_ALLOCATOR_H
#define PIXBASE_ALLOCATOR_H

#include "api.h"

PIXBASE_BEGIN_DECLS

/* Allocator front. A new block is zero-filled; null when the heap cannot
 * supply it (the caller reports it). */
void* PIXBASE_CALL AllocateMemory(uint32_t size);
/* Releases the block in the holder and leaves the holder null; a null holder
 * or a holder holding null is left alone. */
void PIXBASE_CALL ReleaseMemory(void* holder);
void PIXBASE_CALL ReleasePointer(void* block);
/* Resizes the block in the holder (a null holder is served by
 * AllocateMemory); growth reads as zero. On failure the old block has been
 * released and the holder reads null. */
void* PIXBASE_CALL ResizeMemory(void* holder, uint32_t size);

/* Allocator raw layer. ReleaseBlock returns null when the heap accepted the
 * release (of null too), the block when it refused; ResizeBlock of null is a
 * plain allocation, and after a failed ResizeBlock the old block is gone. */
void* PIXBASE_CALL AllocateBlock(uint32_t size);
void* PIXBASE_CALL ReleaseBlock(void* block);
void* PIXBASE_CALL ResizeBlock(void* block, uint32_t size);

PIXBASE_END_DECLS

#endif
