// Turning a file into a picture through the kernel: the coder modules are
// loaded from one folder by the kernel's loader, DetectImageFormat decides a
// file's format, the format's coder module reads it into an image record,
// and ConvertImageToRGB brings pixels of another colour space to RGB. The
// picture is then made ready for display: every pixel 0x00RRGGBB, blended
// over the window's background where it is not opaque.
//
// Faults come back as a LoadFault with the kernel's reason where it gave one
// (the image's report, or what it raised while the file was being read), so
// the window can say why and stay usable.
#ifndef LUMAVIEW_VIEWER_PICTURE_LOADER_H
#define LUMAVIEW_VIEWER_PICTURE_LOADER_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pixbase/pixbase.h"

namespace viewer {

// The colour the window shows around the picture and under its transparent
// parts, as 0x00RRGGBB.
constexpr std::uint32_t kBackgroundColor = 0x00404040;

// What starting the coder modules found. A file that only looks like a
// module (a library of the product named VELO*.dll, say) raises a warning in
// the kernel; the warnings are kept here instead of stopping the start with
// a message box for each.
struct CoderStart {
  int modules_listed = 0;             // module files found in the folder
  std::vector<std::string> formats;   // the readable formats now registered
  std::vector<std::string> warnings;  // what the kernel raised, "reason (description)"
};

// Points the kernel at `folder` (configure path and library search path, the
// module directory list made from it) and loads every coder module there.
CoderStart StartCoders(const std::string& folder);
// Unloads every coder module (their formats go with them). Returns what the
// kernel raised meanwhile (a module without its unregister entry point).
std::vector<std::string> StopCoders();
// The names of the registered formats that can be read, in registry order.
std::vector<std::string> ReadableFormats();

// A decoded picture: the first image of the list a coder read, owned until
// destruction. Its pixels are ready for display.
class Picture {
 public:
  Picture(ImageRecord* image, std::string path, std::string format, std::string warning);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  int width() const { return image_->width; }
  int height() const { return image_->height; }
  const std::uint32_t* pixels() const { return image_->pixels; }
  const std::string& path() const { return path_; }
  const std::string& format() const { return format_; }
  // The kernel's reason for a recoverable fault of the data (a picture shown
  // as far as it goes), or empty.
  const std::string& warning() const { return warning_; }

 private:
  ImageRecord* image_;
  std::string path_;
  std::string format_;
  std::string warning_;
};

enum class LoadFault {
  None,
  NameTooLong,    // the path does not fit an image record's file name
  CannotRead,     // the file cannot be opened or is empty
  UnknownFormat,  // no registered format takes the file
  NoReader,       // the format's coder cannot read
  CoderFailed,    // the coder gave up; the kernel's reason says why
  NoPixels,       // the coder reported success but left no picture
};

struct LoadOutcome {
  std::unique_ptr<Picture> picture;  // set exactly when fault is None
  LoadFault fault = LoadFault::None;
  std::string format;       // the decided format, when there was one
  std::string reason;       // the kernel's reason, for CoderFailed
  std::string description;  // its description, possibly empty
};

LoadOutcome LoadPicture(const std::string& path);

// True when the kernel decides the file's format and that format's coder
// can read (the pictures the viewer steps through).
bool IsShowable(const std::string& path);

// Pixels in place as the window draws them: the opacity byte (0 opaque, 255
// transparent) blended over `background` and cleared.
void FlattenOpacity(std::uint32_t* pixels, std::size_t count, std::uint32_t background);

}  // namespace viewer

#endif
