/*
 * The coder convention of this distribution: what its coder modules (the
 * "VELO<tag>.dll" files, such as VELOPNM.dll and VELOBMP.dll) put into the
 * words of a FormatEntry that the kernel leaves "for the coder and its
 * clients", and how a client asks a module to read or write a picture. The
 * kernel itself never looks at these words; this is an agreement between the
 * modules and the programs that use them (the viewer among them).
 *
 * The words of a registered entry:
 *   reserved1[0]  the read procedure (CoderReadImage), or 0
 *   reserved1[1]  the write procedure (CoderWriteImage), or 0 when the format
 *                 cannot be written
 *   reserved1[2]  capability flags: CoderCanRead, CoderCanWrite,
 *                 CoderMultiFrame
 *   ownedText1    a short description, for example "Portable pixmap" (a copy
 *                 the entry owns)
 *   ownedText2    the MIME type, for example "image/x-portable-pixmap" (a
 *                 copy the entry owns), or null
 * Use the accessors below (CoderOf, SetCoderProcedures, SetCoderTexts)
 * rather than casting the words by hand.
 *
 * The distribution's modules and their formats:
 *   VELOPNM.dll  PBM, PGM, PPM, PAM (each recognised by its magic numbers)
 *                and PNM (any of P1 to P6): every entry reads the whole
 *                family, plain and raw, maxval up to 65535, the arbitrary
 *                map's tuple types; several pictures per file
 *                (CoderMultiFrame). Each writes its own kind (PNM the most
 *                compact that holds the pixels), raw unless the image's
 *                "Encoding" attribute is "plain"; header comments are the
 *                "Comment" attribute both ways.
 *   VELOBMP.dll  BMP: 1, 4, 8, 16, 24 and 32 bits, colour tables, masks,
 *                RLE8 and RLE4, both row orders, OS/2 and Windows headers;
 *                writes 24-bit files.
 *
 * Reading (CoderReadImage):
 *   The caller allocates an image (AllocateImage), copies the path into
 *   `filename`, opens the file with OpenImageFile(image, "rb") and calls the
 *   read procedure of the format DetectImageFormat decided. The coder reads
 *   through the kernel's image file I/O only (so a `streamTable` on the image
 *   is honoured), sets `width`, `height` and `colorSpace`, allocates the
 *   pixel array with AllocateMemory (width * height PackedPixel values, rows
 *   top to bottom without gaps) and stores it in both `pixels` and
 *   `extraBlock`, so that DestroyImageList releases it. Pixels are RGB
 *   (ColorspaceRGB) unless `colorSpace` says otherwise; the fourth byte is
 *   the opacity as the kernel defines it: 0 is opaque, 255 - alpha for a
 *   picture with an alpha channel. When the file holds several pictures the
 *   coder appends one image per further picture with AllocateNextImage, each
 *   with its own pixel array in `pixels` and `extraBlock`.
 *   It returns 1 when the image (or list) can be shown, 0 when it cannot.
 *   Every fault of the data is recorded in the report of the image it
 *   concerns (reason, description, severity), with the kernel's rule that a
 *   report is replaced only by one of at least its severity:
 *     - a recoverable fault (for example a truncated file: the rows that are
 *       missing stay black) is a warning, CoderDataWarning, and the result
 *       is 1;
 *     - unusable data (a malformed header, impossible dimensions, no pixel
 *       data at all) is an error, CoderDataError, and the result is 0;
 *     - no memory for the pixels is OutOfMemoryError, and the result is 0.
 *   A coder never reads past a buffer and never ends the process over a
 *   file's contents. Whatever it allocated hangs off the images, so that
 *   DestroyImageList releases everything, also after a result of 0. The
 *   file stays open; the caller closes it (CloseImageFile or
 *   DestroyImageList). A client raises the worst report of the list with
 *   ReportImageExceptions, or reads it with CollectImageExceptions.
 *
 * Writing (CoderWriteImage):
 *   The caller sets `filename`, `width`, `height` and `pixels` (RGB), opens
 *   the file with OpenImageFile(image, "wb") and calls the write procedure
 *   of the format to write. The coder writes the picture in that format
 *   (and, for a format with CoderMultiFrame, every image after it in the
 *   list) through the kernel's image file I/O and returns 1, or 0 with the
 *   fault in the image's report (an image without pixels or with impossible
 *   dimensions, or a short write). The caller closes the file.
 */
#ifndef PIXBASE_CODERS_H
#define PIXBASE_CODERS_H

#include "api.h"
#include "formats.h"
#include "image.h"
#include "text.h"

PIXBASE_BEGIN_DECLS

typedef int32_t(PIXBASE_CALL* CoderReadImage)(ImageRecord* image);
typedef int32_t(PIXBASE_CALL* CoderWriteImage)(ImageRecord* image);

/* Capability flags, in reserved1[2]. */
enum {
  CoderCanRead = 1,
  CoderCanWrite = 2,
  CoderMultiFrame = 4 /* a file may hold several pictures, one image each */
};

/* The words of reserved1. */
enum { CoderReadWord = 0, CoderWriteWord = 1, CoderFlagsWord = 2 };

/* Severities of the faults of a file's data in an image's report. */
enum {
  CoderDataWarning = 330, /* recoverable: the picture is shown as far as it goes */
  CoderDataError = 430    /* unusable: nothing to show */
};

/* What an entry says about its coder. The texts point into the entry. */
typedef struct CoderInfo {
  CoderReadImage read;   /* null when the entry has none */
  CoderWriteImage write; /* null when the format cannot be written */
  uint32_t flags;        /* CoderCanRead, CoderCanWrite, CoderMultiFrame */
  const char* description;
  const char* mimeType;
} CoderInfo;

/* The coder of an entry; all empty for a null entry. */
static inline CoderInfo CoderOf(const FormatEntry* entry) {
  CoderInfo info = {0, 0, 0, 0, 0};
  if (entry != 0) {
    info.read = (CoderReadImage)entry->reserved1[CoderReadWord];
    info.write = (CoderWriteImage)entry->reserved1[CoderWriteWord];
    info.flags = (uint32_t)entry->reserved1[CoderFlagsWord];
    info.description = entry->ownedText1;
    info.mimeType = entry->ownedText2;
  }
  return info;
}

/* Stores the procedures and the flags in an entry (before it is registered). */
static inline void SetCoderProcedures(FormatEntry* entry, CoderReadImage read,
                                      CoderWriteImage write, uint32_t flags) {
  entry->reserved1[CoderReadWord] = (uintptr_t)read;
  entry->reserved1[CoderWriteWord] = (uintptr_t)write;
  entry->reserved1[CoderFlagsWord] = (uintptr_t)flags;
}

/* Gives an entry copies of its description and MIME type (either may be
 * null), releasing the texts it held. 1, or 0 when a copy could not be had.
 * It calls the library's AssignString, so it is for code that links the
 * library (a module); CoderOf and SetCoderProcedures call nothing. */
static inline int32_t SetCoderTexts(FormatEntry* entry, const char* description,
                                    const char* mime_type) {
  int described = AssignString(&entry->ownedText1, description);
  int typed = AssignString(&entry->ownedText2, mime_type);
  return described && typed ? 1 : 0;
}

PIXBASE_END_DECLS

#endif
