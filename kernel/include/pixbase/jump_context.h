/*
 * The jump context: setjmp and longjmp of the C runtime the library is built
 * with, so that a client and the library agree on the jump buffer's layout.
 */
#ifndef PIXBASE_JUMP_CONTEXT_H
#define PIXBASE_JUMP_CONTEXT_H

#include <setjmp.h>

#include "api.h"

PIXBASE_BEGIN_DECLS

/* Saves the context of its caller: a later JumpToContext(env, v) resumes the
 * caller as if SaveJumpContext had just returned v. */
int PIXBASE_CALL SaveJumpContext(jmp_buf env) PIXBASE_RETURNS_TWICE;
void PIXBASE_CALL JumpToContext(jmp_buf env, int value) PIXBASE_NORETURN;

PIXBASE_END_DECLS

#endif
