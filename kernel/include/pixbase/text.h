/*
 * Strings and text utilities.
 *
 * Texts are zero-terminated byte strings in blocks from AllocateMemory. A
 * holder is the address of a text pointer variable: the operation releases
 * the old text and stores the new one there. A text list is an array of owned
 * texts ended by a null entry; the array and every text are separate blocks
 * that the caller releases.
 *
 * Character classes are those of the "C" locale with bytes taken as unsigned:
 * white space is tab, line feed, vertical tab, form feed, carriage return and
 * blank; letters are A to Z and a to z; bytes 128 to 255 belong to no class.
 */
#ifndef PIXBASE_TEXT_H
#define PIXBASE_TEXT_H

#include "api.h"

PIXBASE_BEGIN_DECLS

/* Copying and holders. */

/* A new block of the text's length plus 256 zero bytes holding a copy, or null
 * for a null text. Raises "Unable to allocate string" when out of memory. */
char* PIXBASE_CALL DuplicateString(const char* text);
/* Replaces the held text by a copy of `text` (null for a null text).
 * Returns 1, or 0 for a null holder or when the copy cannot be made. */
int PIXBASE_CALL AssignString(char** holder, const char* text);
/* Appends `text` to the held text, growing its block; a null text changes
 * nothing and a holder holding nothing is treated as holding an empty text.
 * Returns 1, or 0 for a null holder or when out of memory ("Unable to
 * concatenate string"; the holder is then left null). */
int PIXBASE_CALL AppendString(char** holder, const char* text);
/* printf into the caller's buffer, which must hold the result; returns the
 * number of characters written without the terminator. */
int PIXBASE_CALL PrintToBuffer(char* buffer, const char* format, ...);

/* Comparison and case. */

/* 0 when both are the same pointer (both null included), 1 when only b is
 * null, -1 when only a is null; otherwise the difference of the upper-case
 * forms of the first differing bytes, each taken as a signed 8-bit value. */
int PIXBASE_CALL CompareNoCase(const char* a, const char* b);
/* The same over at most `count` bytes; a count below 1 sets no limit. */
int PIXBASE_CALL CompareNoCaseCount(const char* a, const char* b, int count);
void PIXBASE_CALL LowerCaseText(char* text);
void PIXBASE_CALL UpperCaseText(char* text);

/* Measuring and trimming. */

/* 0 for a null text, else 1 plus the number of line feeds. */
int PIXBASE_CALL CountTextLines(const char* text);
/* Removes leading and trailing white space in place. */
void PIXBASE_CALL TrimText(char* text);

/* File names. */

/* Gives the file name in `file_name` (a buffer of PIXBASE_TEXT_EXTENT bytes)
 * the extension `format`, replacing the old one; the name "-" becomes
 * "<format>:-". A result too long for the buffer is cut. */
void PIXBASE_CALL SetFileExtension(const char* format, char* file_name);
/* A new text holding the last component of `path` without its extension. */
char* PIXBASE_CALL ExtractBaseName(const char* path);

/* Converters. */

/* A new zero-terminated text of 16-bit units, one per byte except for the
 * escape \0xHHHH (the x in either case), which gives one unit. Null with
 * *count 0 for a null or empty text or a malformed escape. */
uint16_t* PIXBASE_CALL WidenText(const char* text, size_t* count);
/* A new argument vector: "tessel" followed by the arguments of `text`
 * ("double-quoted" without, 'single-quoted' with their quotes). *count is
 * the number of entries including "tessel"; null and 0 for a null text. */
char** PIXBASE_CALL SplitCommandLine(const char* text, int* count);
/* A new text list: the lines of a plain text (ended by a line feed, a
 * carriage return and line feed, or a lone carriage return), or for a text
 * holding control bytes a hexadecimal dump of 20 bytes per line. */
char** PIXBASE_CALL SplitTextLines(const char* text);

PIXBASE_END_DECLS

#endif
