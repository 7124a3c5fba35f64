/*
 * Memory and runtime services: the allocator, the runtime stream services,
 * the jump context and the exported constant texts, each in its own header
 * and all reached through this one; and the entry point that does nothing.
 */
#ifndef PIXBASE_MEMORY_H
#define PIXBASE_MEMORY_H

#include "allocator.h"
#include "api.h"
#include "constant_texts.h"
#include "jump_context.h"
#include "streams.h"

PIXBASE_BEGIN_DECLS

/* Takes no arguments and has no effect. */
void PIXBASE_CALL DoNothing(void);

PIXBASE_END_DECLS

#endif
