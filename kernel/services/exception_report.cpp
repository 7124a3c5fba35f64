// The report record that every image embeds.
#include "pixbase/allocator.h"
#include "pixbase/exceptions.h"

extern "C" {

ExceptionReport* InitExceptionReport(ExceptionReport* report) {
  report->severity = NoException;
  report->reason = nullptr;
  report->description = nullptr;
  report->signature = PIXBASE_REPORT_SIGNATURE;
  return report;
}

void DisposeExceptionReport(ExceptionReport* report) {
  ReleaseMemory(&report->reason);
  ReleaseMemory(&report->description);
}

}  // extern "C"
