/*
 * Reading and writing an image's file through the image itself: the runtime
 * stream in `file`, or the operations of the image's `streamTable` wherever a
 * slot is filled. One open file serves a whole image list.
 */
#ifndef PIXBASE_IMAGE_IO_H
#define PIXBASE_IMAGE_IO_H

#include "api.h"
#include "image.h"

PIXBASE_BEGIN_DECLS

/* Opens `filename` (closing an open file first) and puts the handle into
 * every image of the list. 1 on success, 0 on failure. */
int32_t PIXBASE_CALL OpenImageFile(ImageRecord* image, const char* mode);
/* Closes the open file, if any, and clears `file` along the whole list.
 * The status of the close, or 0 when nothing was open. */
int32_t PIXBASE_CALL CloseImageFile(ImageRecord* image);

uint32_t PIXBASE_CALL ReadImageBytes(ImageRecord* image, uint32_t length, void* destination);
uint32_t PIXBASE_CALL WriteImageBytes(ImageRecord* image, uint32_t length, const void* source);
/* 0 to 255, or -1 for a null image or when no byte could be read. */
int32_t PIXBASE_CALL ReadImageByte(ImageRecord* image);
uint32_t PIXBASE_CALL WriteImageByte(ImageRecord* image, int32_t value);
/* A length byte n, then n bytes (no terminator); the destination holds 255. */
uint32_t PIXBASE_CALL ReadCountedBytes(ImageRecord* image, unsigned char* destination);
/* Skips a length byte and that many bytes: the new position, 0 when there
 * was nothing to skip, -1 when the runtime seek failed. */
int32_t PIXBASE_CALL SkipCountedBytes(ImageRecord* image);

int32_t PIXBASE_CALL SeekImageFile(ImageRecord* image, int32_t offset, int32_t origin);
int32_t PIXBASE_CALL TellImageFile(ImageRecord* image);
int32_t PIXBASE_CALL GetImageFileSize(ImageRecord* image);
int32_t PIXBASE_CALL FlushImageFile(ImageRecord* image);
int32_t PIXBASE_CALL ImageFileAtEnd(ImageRecord* image);

/* Integers in a fixed byte order. A short read gives all bits set. */
uint32_t PIXBASE_CALL ReadLittleEndianLong(ImageRecord* image);
uint16_t PIXBASE_CALL ReadLittleEndianShort(ImageRecord* image);
uint32_t PIXBASE_CALL ReadBigEndianLong(ImageRecord* image);
uint16_t PIXBASE_CALL ReadBigEndianShort(ImageRecord* image);
/* The writers return the number of bytes written; the short writers write
 * the low 16 bits of the value. */
uint32_t PIXBASE_CALL WriteLittleEndianLong(ImageRecord* image, uint32_t value);
uint32_t PIXBASE_CALL WriteLittleEndianShort(ImageRecord* image, uint32_t value);
uint32_t PIXBASE_CALL WriteBigEndianLong(ImageRecord* image, uint32_t value);
uint32_t PIXBASE_CALL WriteBigEndianShort(ImageRecord* image, uint32_t value);

/* In-place byte-order reversal of whole 4- or 2-byte groups. */
void PIXBASE_CALL ReverseLongBytes(void* buffer, uint32_t length);
void PIXBASE_CALL ReverseShortBytes(void* buffer, uint32_t length);

/* 1 when the path opens for reading and holds at least one byte. */
int32_t PIXBASE_CALL IsFileReadable(const char* path);
/* 1 when the path names a directory. */
int32_t PIXBASE_CALL IsDirectoryPath(const char* path);

PIXBASE_END_DECLS

#endif
