// Image records: allocation with the initial values every coder and client
// relies on, chaining frames into lists, destruction, and the exception
// reports carried by the images of a list.
#include "image/images.h"

#include <cstring>

#include "pixbase/allocator.h"
#include "pixbase/attributes.h"
#include "pixbase/image_io.h"
#include "pixbase/text.h"
#include "services/raise.h"

namespace pixbase {

ImageRecord* FirstImageOfList(ImageRecord* image) {
  while (image->previous != nullptr) image = image->previous;
  return image;
}

void RecordImageException(ImageRecord* image, ExceptionSeverity severity, const char* reason,
                          const char* description) {
  if (image == nullptr || severity < image->report.severity) return;
  image->report.severity = severity;
  AssignString(&image->report.reason, reason);
  AssignString(&image->report.description, description);
}

}  // namespace pixbase

extern "C" {

ImageRecord* AllocateImage(void) {
  auto* image = static_cast<ImageRecord*>(AllocateMemory(sizeof(ImageRecord)));
  if (image == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to allocate image");
    return nullptr;
  }
  image->size = sizeof(ImageRecord);
  image->qualityLevel = 75;
  image->colorSpace = ColorspaceRGB;
  image->reserved5 = 1;
  ClearQuad(image->quad);
  InitExceptionReport(&image->report);
  return image;
}

void AllocateNextImage(ImageRecord* image) {
  ImageRecord* next = AllocateImage();
  image->next = next;
  if (next == nullptr) return;
  std::memcpy(next->filename, image->filename, sizeof next->filename);
  next->file = image->file;
  next->listIndex = image->listIndex + 1;
  next->previous = image;
}

void DestroyImage(ImageRecord* image) {
  if (image->file != nullptr) CloseImageFile(image);
  DestroyImageAttributes(image);
  DisposeExceptionReport(&image->report);
  if (image->previous != nullptr) image->previous->next = image->next;
  if (image->next != nullptr) image->next->previous = image->previous;
  ReleaseMemory(&image);
}

void DestroyImageList(ImageRecord* image) {
  if (image == nullptr) return;
  image = pixbase::FirstImageOfList(image);
  while (image != nullptr) {
    ImageRecord* next = image->next;
    ReleaseMemory(&image->extraBlock);
    // Detached first, so that unlinking never touches a released image.
    if (next != nullptr) next->previous = nullptr;
    DestroyImage(image);
    image = next;
  }
}

uint32_t* ClearQuad(uint32_t* quad) {
  quad[0] = quad[1] = quad[2] = quad[3] = 0;
  return quad;
}

PackedPixel* InitializePixel(PackedPixel* pixel) {
  auto* bytes = reinterpret_cast<unsigned char*>(pixel);
  bytes[0] = bytes[1] = bytes[2] = 0;
  bytes[3] = 255;
  return pixel;
}

void CollectImageExceptions(ImageRecord* image, ExceptionReport* report) {
  for (; image != nullptr; image = image->next) {
    const ExceptionReport& own = image->report;
    if (own.severity == NoException || own.severity <= report->severity) continue;
    report->severity = own.severity;
    AssignString(&report->reason, own.reason);
    AssignString(&report->description, own.description);
  }
}

void ReportImageExceptions(ImageRecord* image) {
  ExceptionReport report;
  InitExceptionReport(&report);
  CollectImageExceptions(image, &report);
  // A reason that could not be copied has been raised as that failure; the
  // report is not raised again without it (a null reason reports nothing).
  if (report.severity != NoException && report.reason != nullptr) {
    if (report.severity >= ErrorThreshold)
      RaiseError(report.severity, report.reason, report.description);
    RaiseWarning(report.severity, report.reason, report.description);
  }
  DisposeExceptionReport(&report);
}

}  // extern "C"
