// Faults of a file's data, recorded in the report of the image they concern
// (the coder convention's severities, pixbase/coders.h).
#ifndef LUMAVIEW_CODERS_COMMON_IMAGE_FAULTS_H
#define LUMAVIEW_CODERS_COMMON_IMAGE_FAULTS_H

#include "pixbase/pixbase.h"

namespace lumaview::coders {

// The kernel's rule for an image's report: a new fault replaces the stored
// one when its severity is at least the stored severity.
void RecordFault(ImageRecord* image, ExceptionSeverity severity, const char* reason,
                 const char* description);

// The same with a description printed from a pattern and one number.
void RecordFaultAt(ImageRecord* image, ExceptionSeverity severity, const char* reason,
                   const char* pattern, long long number);

// The reason that every coder gives when no memory is left for a picture.
inline constexpr char kNoMemoryReason[] = "Memory allocation failed";

}  // namespace lumaview::coders

#endif
