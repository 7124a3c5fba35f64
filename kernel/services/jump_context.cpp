// The jump context: JumpToContext is the runtime's longjmp. Its partner
// SaveJumpContext is written for each platform (platform/*/jump_context*.S),
// since it must save the context of its caller, not its own.
#include "pixbase/jump_context.h"

extern "C" void JumpToContext(jmp_buf env, int value) { longjmp(env, value); }
