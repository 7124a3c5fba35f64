/*
 * The image record, one picture or one frame of a multi-frame file, and the
 * records that hang off it: the optional table of stream operations and the
 * attribute list. Field order and widths are an interface with separately
 * built coder modules and clients and do not change.
 */
#ifndef PIXBASE_IMAGE_H
#define PIXBASE_IMAGE_H

#include "api.h"
#include "exceptions.h"

PIXBASE_BEGIN_DECLS

/* One pixel: blue in bits 0-7, green 8-15, red 16-23, opacity (0 opaque) or
 * black in bits 24-31. */
typedef uint32_t PackedPixel;

/* The colour space of an image's pixel values; a new image is RGB. */
typedef int32_t Colorspace;
enum {
  ColorspaceRGB = 1,
  ColorspacePassThrough2 = 2,
  ColorspacePassThrough3 = 3,
  ColorspaceI1I2I3 = 4,
  ColorspaceXYZ = 5,
  ColorspaceYCbCr = 6,
  ColorspacePhotoYCC = 7,
  ColorspaceYIQ = 8,
  ColorspaceYPbPr = 9,
  ColorspaceYUV = 10,
  ColorspaceCMYK = 11,
  ColorspaceYCCAlternate = 12
};

struct ImageRecord;

/* Stream operations an image may carry in place of the runtime streams; a
 * null slot uses the runtime stream. */
typedef struct StreamCallbacks {
  int32_t(PIXBASE_CALL* open)(struct ImageRecord* image, const char* mode);
  int32_t(PIXBASE_CALL* seek)(struct ImageRecord* image, int32_t offset, int32_t origin);
  uint32_t(PIXBASE_CALL* read)(struct ImageRecord* image, void* destination, uint32_t length);
  uint32_t(PIXBASE_CALL* write)(struct ImageRecord* image, const void* source, uint32_t length);
  int32_t(PIXBASE_CALL* sizeOf)(struct ImageRecord* image);
  int32_t(PIXBASE_CALL* flush)(struct ImageRecord* image);
  int32_t(PIXBASE_CALL* atEnd)(struct ImageRecord* image);
  int32_t(PIXBASE_CALL* close)(struct ImageRecord* image);
} StreamCallbacks;

/* One key/value attribute of an image, a node of a doubly linked list. */
typedef struct ImageAttribute {
  char* key;
  char* value;
  int32_t reserved;
  struct ImageAttribute* previous;
  struct ImageAttribute* next;
} ImageAttribute;

#define PIXBASE_FILENAME_EXTENT 260

typedef struct ImageRecord {
  uint32_t size; /* the record's own size */
  uint32_t reserved1[3];
  PackedPixel* pixels;                    /* height rows of width pixels; not owned */
  void* extraBlock;                       /* owned; released by DestroyImageList */
  char filename[PIXBASE_FILENAME_EXTENT]; /* path of the file behind the image */
  void* file;                             /* the open stream, shared along the list */
  StreamCallbacks* streamTable;           /* optional stream operations */
  uint32_t reserved2;
  char reservedText[16];
  int32_t listIndex; /* position in the list */
  uint32_t reserved3;
  uint32_t qualityLevel; /* 75 at allocation */
  int32_t width;
  int32_t height;
  uint32_t reserved4;
  Colorspace colorSpace; /* ColorspaceRGB at allocation */
  uint32_t reserved5;    /* 1 at allocation */
  uint32_t quad[4];
  uint32_t reserved6[6];
  ExceptionReport report;     /* the worst problem recorded */
  ImageAttribute* attributes; /* first attribute, or null */
  struct ImageRecord* previous;
  struct ImageRecord* next;
} ImageRecord;

PIXBASE_CHECK_LAYOUT(sizeof(ImageRecord) == 412, "ImageRecord is 412 bytes");
PIXBASE_CHECK_LAYOUT(offsetof(ImageRecord, filename) == 24, "filename at 24");
PIXBASE_CHECK_LAYOUT(offsetof(ImageRecord, file) == 284, "file at 284");
PIXBASE_CHECK_LAYOUT(offsetof(ImageRecord, listIndex) == 312, "listIndex at 312");
PIXBASE_CHECK_LAYOUT(offsetof(ImageRecord, width) == 324, "width at 324");
PIXBASE_CHECK_LAYOUT(offsetof(ImageRecord, colorSpace) == 336, "colorSpace at 336");
PIXBASE_CHECK_LAYOUT(offsetof(ImageRecord, report) == 384, "report at 384");
PIXBASE_CHECK_LAYOUT(offsetof(ImageRecord, next) == 408, "next at 408");
PIXBASE_CHECK_LAYOUT(sizeof(ImageAttribute) == 20, "ImageAttribute is 20 bytes");
PIXBASE_CHECK_LAYOUT(sizeof(StreamCallbacks) == 32, "StreamCallbacks is 32 bytes");

/* Allocation, chaining and destruction of images. */
ImageRecord* PIXBASE_CALL AllocateImage(void);
/* Allocates the image that follows `image` (the last of its list) into its
 * `next`; `next` is null when no memory was left. */
void PIXBASE_CALL AllocateNextImage(ImageRecord* image);
/* Closes the shared file, releases attributes and report texts, unlinks and
 * releases the record; never `pixels` or `extraBlock`. */
void PIXBASE_CALL DestroyImage(ImageRecord* image);
/* Destroys every image of the list that `image` belongs to (null: nothing),
 * releasing each `extraBlock`. */
void PIXBASE_CALL DestroyImageList(ImageRecord* image);
uint32_t* PIXBASE_CALL ClearQuad(uint32_t* quad);
/* Blue, green and red 0, the fourth byte 255. */
PackedPixel* PIXBASE_CALL InitializePixel(PackedPixel* pixel);
/* Merges into `report` the worst report of `image` and the images after it;
 * the first image of the highest severity wins. */
void PIXBASE_CALL CollectImageExceptions(ImageRecord* image, ExceptionReport* report);
/* Raises the worst report of `image` and the images after it: errors to the
 * error handler and then, in every case, to the warning handler. A report
 * whose reason could not be copied is not raised (the failed copy is). */
void PIXBASE_CALL ReportImageExceptions(ImageRecord* image);

PIXBASE_END_DECLS

#endif
