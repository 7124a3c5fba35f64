// Recording faults in an image's report.
#include "image_faults.h"

#include <cstdio>

namespace lumaview::coders {

void RecordFault(ImageRecord* image, ExceptionSeverity severity, const char* reason,
                 const char* description) {
  ExceptionReport& report = image->report;
  if (severity < report.severity) return;
  report.severity = severity;
  AssignString(&report.reason, reason);
  AssignString(&report.description, description);
}

void RecordFaultAt(ImageRecord* image, ExceptionSeverity severity, const char* reason,
                   const char* pattern, long long number) {
  char description[256];
  std::snprintf(description, sizeof description, pattern, number);
  RecordFault(image, severity, reason, description);
}

}  // namespace lumaview::coders
