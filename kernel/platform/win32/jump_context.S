/* SaveJumpContext on i686 Win32: a tail jump into msvcrt's _setjmp, so that
 * the context saved is that of SaveJumpContext's caller (its frame, its stack
 * position at the call and the return address into it). */
        .text
        .globl  _SaveJumpContext
        .def    _SaveJumpContext; .scl 2; .type 32; .endef
_SaveJumpContext:
        jmp     *__imp___setjmp
