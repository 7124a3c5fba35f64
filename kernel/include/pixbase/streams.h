/*
 * Runtime stream services: the C runtime's stream and file-system calls of
 * the library, so that a stream opened on one side of the library boundary
 * can be used and closed on the other. Each behaves as the C runtime function
 * it is named after.
 */
#ifndef PIXBASE_STREAMS_H
#define PIXBASE_STREAMS_H

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
int PIXBASE_CALL SetDescriptorMode(int descriptor, int mode);

PIXBASE_END_DECLS

#endif
