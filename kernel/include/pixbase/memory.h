/*
 * Allocator, runtime stream services and the exported constant texts.
 *
 * Every block is zero-filled and belongs to whoever received it; it is
 * released with ReleaseMemory through a holder (the address of the pointer
 * variable), which is left null. Streams are the C runtime's FILE streams of
 * the library, so a stream opened on one side of the library boundary can be
 * used and closed on the other.
 */
#ifndef PIXBASE_MEMORY_H
#define PIXBASE_MEMORY_H

#include <setjmp.h>
#include <stdio.h>
#include <sys/stat.h>

#include "api.h"

PIXBASE_BEGIN_DECLS

/* The status record of the C runtime the library is built with. */
#if defined(_WIN32)
typedef struct _stat PixbaseStatus;
#else
typedef struct stat PixbaseStatus;
#endif

/* Allocator front. */
void* PIXBASE_CALL AllocateMemory(uint32_t size);
void PIXBASE_CALL ReleaseMemory(void* holder);
void PIXBASE_CALL ReleasePointer(void* block);
void* PIXBASE_CALL ResizeMemory(void* holder, uint32_t size);

/* Allocator raw layer. */
void* PIXBASE_CALL AllocateBlock(uint32_t size);
void* PIXBASE_CALL ReleaseBlock(void* block);
void* PIXBASE_CALL ResizeBlock(void* block, uint32_t size);

/* Runtime services: each behaves as the C runtime function it is named after. */
FILE* PIXBASE_CALL OpenFileStream(const char* path, const char* mode);
int PIXBASE_CALL SeekFileStream(FILE* stream, int32_t offset, int origin);
long PIXBASE_CALL TellFileStream(FILE* stream);
int PIXBASE_CALL ReadStreamChar(FILE* stream);
int PIXBASE_CALL GetStreamChar(FILE* stream);
int PIXBASE_CALL StreamHasError(FILE* stream);
int PIXBASE_CALL GetStreamDescriptor(FILE* stream);
int PIXBASE_CALL CloseFileStream(FILE* stream);
int PIXBASE_CALL FlushFileStream(FILE* stream);
size_t PIXBASE_CALL WriteStreamItems(const void* buffer, size_t size, size_t count, FILE* stream);
size_t PIXBASE_CALL ReadStreamItems(void* buffer, size_t size, size_t count, FILE* stream);
int PIXBASE_CALL UnreadStreamChar(int character, FILE* stream);
int PIXBASE_CALL PutStreamChar(int character, FILE* stream);
char* PIXBASE_CALL ReadStreamLine(char* buffer, int size, FILE* stream);
int PIXBASE_CALL WriteStreamString(const char* text, FILE* stream);
FILE* PIXBASE_CALL OpenDescriptorStream(int descriptor, const char* mode);
long PIXBASE_CALL GetDescriptorLength(int descriptor);
/* Formatted read and write on a usable stream only (not null, a descriptor,
 * opened for reading or writing respectively, update counting as both);
 * otherwise 0 and nothing is touched. */
int PIXBASE_CALL ScanFileStream(FILE* stream, const char* format, ...);
int PIXBASE_CALL PrintFileStream(FILE* stream, const char* format, ...);
int PIXBASE_CALL StreamAtEnd(FILE* stream);
int PIXBASE_CALL StatDescriptor(int descriptor, PixbaseStatus* status);
int PIXBASE_CALL StatPath(const char* path, PixbaseStatus* status);
int PIXBASE_CALL CheckPathAccess(const char* path, int mode);
int PIXBASE_CALL WriteStreamChar(int character, FILE* stream);
/* Saves the context of its caller: a later JumpToContext(env, v) resumes the
 * caller as if SaveJumpContext had just returned v. */
int PIXBASE_CALL SaveJumpContext(jmp_buf env) PIXBASE_RETURNS_TWICE;
void PIXBASE_CALL JumpToContext(jmp_buf env, int value) PIXBASE_NORETURN;
int PIXBASE_CALL SetDescriptorMode(int descriptor, int mode);

/* Takes no arguments and has no effect. */
void PIXBASE_CALL DoNothing(void);

/* Exported constant texts. */
PIXBASE_DATA const char* AppendModeText;    /* "ab" */
PIXBASE_DATA const char* LightGrayText;     /* "#dfdfdf" */
PIXBASE_DATA const char* LightGrayText2;    /* the same text as LightGrayText */
PIXBASE_DATA const char* TwelveText;        /* "12" */
PIXBASE_DATA const char* SmallGeometryText; /* "15x15+3+3" */
PIXBASE_DATA const char* LargeGeometryText; /* "106x106+4+3>" */
PIXBASE_DATA const char* EscapeFormatText;  /* "%f\n%wx%h\n%b" */
PIXBASE_DATA const char* BlackText;         /* "#000000" */
PIXBASE_DATA const char* LoadingOneText;    /* "  Loading image...  " */
PIXBASE_DATA const char* LoadingManyText;   /* "  Loading images...  " */
PIXBASE_DATA const char* MidGrayText;       /* "#bdbdbd" */
PIXBASE_DATA const char* GeometryText72;    /* "72x72" */
PIXBASE_DATA const char* PageGeometryText;  /* "612x792>" */
PIXBASE_DATA const char* ReadModeText;      /* "rb" */
PIXBASE_DATA const char* ReadModeTextU;     /* "rbu" */
PIXBASE_DATA const char* SavingOneText;     /* "  Saving image...  " */
PIXBASE_DATA const char* SavingManyText;    /* "  Saving images...  " */
PIXBASE_DATA const char* WriteModeText;     /* "wb" */

PIXBASE_END_DECLS

#endif
