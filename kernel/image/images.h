// What operations on an image share inside the library: the rule for
// recording a failure in an image's report, and the close that destroying an
// image and closing its file have in common.
#ifndef PIXBASE_IMAGE_IMAGES_H
#define PIXBASE_IMAGE_IMAGES_H

#include "pixbase/image.h"

namespace pixbase {

// Stores a failure of an operation on `image` in its report: the severity and
// copies of the texts replace what is there when `severity` is at least the
// stored one (an equal severity replaces the texts, a lower one is dropped).
void RecordImageException(ImageRecord* image, ExceptionSeverity severity, const char* reason,
                          const char* description);

// The first image of the list that `image` belongs to.
ImageRecord* FirstImageOfList(ImageRecord* image);

}  // namespace pixbase

#endif
