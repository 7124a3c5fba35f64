/* SaveJumpContext on x86-64: a tail jump into the C library's _setjmp, so
 * that the context saved is that of SaveJumpContext's caller. */
        .text
        .globl  SaveJumpContext
        .type   SaveJumpContext, @function
SaveJumpContext:
        jmp     _setjmp@PLT
        .size   SaveJumpContext, .-SaveJumpContext
        .section .note.GNU-stack,"",@progbits
