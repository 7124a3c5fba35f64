// Loading a picture through the kernel and its coder modules.
//
// Divided into: what the kernel raises while a file is read (caught for the
// load's outcome instead of ending the process), the coder modules, the
// colour space, and the load itself.
#include "core/picture_loader.h"

#include <cstring>
#include <utility>

#include "core/captions.h"

namespace viewer {

namespace {

// ---- What the kernel raises meanwhile ---------------------------------------
// The process-wide handlers show message boxes and end the process on an
// error (a picture too large for memory, say). While the viewer loads
// modules or pictures, what is raised is kept instead: the worst report
// becomes the load's reason, and every text can be shown later in one
// message. The kernel's operations cope with a handler that returns.
struct Raised {
  ExceptionSeverity severity = NoException;
  std::string reason;
  std::string description;
  std::vector<std::string> texts;  // every report, "reason (description)"
};
Raised* g_raised = nullptr;

void PIXBASE_CALL KeepRaised(ExceptionSeverity severity, const char* reason,
                             const char* description) {
  if (g_raised == nullptr || reason == nullptr) return;
  std::string described = description != nullptr ? description : "";
  g_raised->texts.push_back(ReasonText(reason, described));
  if (severity < g_raised->severity) return;
  g_raised->severity = severity;
  g_raised->reason = reason;
  g_raised->description = described;
}

// Keeps what is raised while it lives; the handlers before it come back at
// its end.
class KernelRaises {
 public:
  KernelRaises()
      : error_handler_(InstallErrorHandler(KeepRaised)),
        warning_handler_(InstallWarningHandler(KeepRaised)),
        outer_(g_raised) {
    g_raised = &raised_;
  }
  ~KernelRaises() {
    g_raised = outer_;
    InstallErrorHandler(error_handler_);
    InstallWarningHandler(warning_handler_);
  }
  KernelRaises(const KernelRaises&) = delete;
  KernelRaises& operator=(const KernelRaises&) = delete;
  const Raised& raised() const { return raised_; }

 private:
  Raised raised_;
  ExceptionHandler error_handler_;
  ExceptionHandler warning_handler_;
  Raised* outer_;
};

// ---- The image's report ----------------------------------------------------
struct Report {
  ExceptionSeverity severity = NoException;
  std::string reason;
  std::string description;
};

// The worst report of the image list.
Report WorstReport(ImageRecord* image) {
  ExceptionReport collected;
  InitExceptionReport(&collected);
  CollectImageExceptions(image, &collected);
  Report report;
  report.severity = collected.severity;
  if (collected.reason != nullptr) report.reason = collected.reason;
  if (collected.description != nullptr) report.description = collected.description;
  DisposeExceptionReport(&collected);
  return report;
}

// ---- Colour space ----------------------------------------------------------
// Brings the image's pixels to RGB. A CMYK image converts with the value
// RGB (the kernel's direct arithmetic, which also marks the image RGB); the
// other spaces name themselves, and the image is marked RGB afterwards. The
// two pass-through values are RGB-encoded already.
bool BringToRGB(ImageRecord* image) {
  switch (image->colorSpace) {
    case ColorspaceRGB:
    case ColorspacePassThrough2:
    case ColorspacePassThrough3:
      return true;
    case ColorspaceCMYK:
      return ConvertImageToRGB(image, ColorspaceRGB) != 0;
    default:
      if (ConvertImageToRGB(image, image->colorSpace) == 0) return false;
      image->colorSpace = ColorspaceRGB;
      return true;
  }
}

std::uint32_t Channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

LoadOutcome Fault(LoadFault fault, std::string format = std::string(),
                  std::string reason = std::string(), std::string description = std::string()) {
  LoadOutcome outcome;
  outcome.fault = fault;
  outcome.format = std::move(format);
  outcome.reason = std::move(reason);
  outcome.description = std::move(description);
  return outcome;
}

// The read procedure of a format entry's coder, or null when it cannot read.
CoderReadImage ReaderOf(const FormatEntry* entry) {
  CoderInfo coder = CoderOf(entry);
  return (coder.flags & CoderCanRead) != 0 ? coder.read : nullptr;
}

// The format the kernel decides for the file and its read procedure.
CoderReadImage DecideReader(const std::string& path, std::string* format) {
  char name[PIXBASE_TEXT_EXTENT] = {};
  if (DetectImageFormat(path.c_str(), name) == 0) return nullptr;
  *format = name;
  return ReaderOf(FindFormatEntry(name));
}

}  // namespace

// ---- Coder modules ---------------------------------------------------------

CoderStart StartCoders(const std::string& folder) {
  KernelRaises raised;
  UpdateConfigurePath(folder.c_str());
  SetLibrarySearchPath(folder.c_str());
  InitializeModuleDirectories();
  CoderStart start;
  start.modules_listed = LoadAllCoderModules();
  start.formats = ReadableFormats();
  start.warnings = raised.raised().texts;
  return start;
}

std::vector<std::string> StopCoders() {
  KernelRaises raised;
  UnloadAllCoderModules();
  return raised.raised().texts;
}

std::vector<std::string> ReadableFormats() {
  std::vector<std::string> names;
  for (const FormatEntry* entry = FirstFormatEntry(); entry != nullptr; entry = entry->next)
    if (entry->name != nullptr && ReaderOf(entry) != nullptr) names.emplace_back(entry->name);
  return names;
}

// ---- Pictures --------------------------------------------------------------

Picture::Picture(ImageRecord* image, std::string path, std::string format, std::string warning)
    : image_(image),
      path_(std::move(path)),
      format_(std::move(format)),
      warning_(std::move(warning)) {}

Picture::~Picture() { DestroyImageList(image_); }

LoadOutcome LoadPicture(const std::string& path) {
  if (path.size() >= PIXBASE_FILENAME_EXTENT) return Fault(LoadFault::NameTooLong);
  if (IsFileReadable(path.c_str()) == 0) return Fault(LoadFault::CannotRead);

  KernelRaises raised;
  std::string format;
  CoderReadImage read = DecideReader(path, &format);
  if (format.empty()) return Fault(LoadFault::UnknownFormat);
  if (read == nullptr) return Fault(LoadFault::NoReader, format);

  ImageRecord* image = AllocateImage();
  if (image == nullptr)
    return Fault(LoadFault::CoderFailed, format, raised.raised().reason,
                 raised.raised().description);
  std::memcpy(image->filename, path.c_str(), path.size() + 1);
  if (OpenImageFile(image, "rb") == 0) {
    DestroyImageList(image);
    return Fault(LoadFault::CannotRead, format);
  }
  int32_t read_result = read(image);
  // The picture is in memory now; the file is not held while it is shown.
  CloseImageFile(image);

  Report report = WorstReport(image);
  if (read_result == 0) {
    // The image's report says why; what was raised meanwhile when it is
    // silent (an allocation the coder asked of the kernel, say).
    if (report.reason.empty()) {
      report.reason = raised.raised().reason;
      report.description = raised.raised().description;
    }
    DestroyImageList(image);
    return Fault(LoadFault::CoderFailed, format, report.reason, report.description);
  }
  std::uint64_t count = static_cast<std::uint64_t>(image->width > 0 ? image->width : 0) *
                        static_cast<std::uint64_t>(image->height > 0 ? image->height : 0);
  if (image->pixels == nullptr || count == 0 || count > SIZE_MAX / sizeof(PackedPixel)) {
    DestroyImageList(image);
    return Fault(LoadFault::NoPixels, format);
  }
  if (!BringToRGB(image)) {
    Report conversion = WorstReport(image);  // the conversion's entry
    DestroyImageList(image);
    return Fault(LoadFault::CoderFailed, format, conversion.reason, conversion.description);
  }
  FlattenOpacity(image->pixels, static_cast<std::size_t>(count), kBackgroundColor);

  LoadOutcome outcome;
  outcome.format = format;
  std::string warning;
  if (report.severity != NoException) warning = ReasonText(report.reason, report.description);
  outcome.picture = std::make_unique<Picture>(image, path, format, std::move(warning));
  return outcome;
}

bool IsShowable(const std::string& path) {
  if (path.size() >= PIXBASE_FILENAME_EXTENT) return false;
  std::string format;
  return DecideReader(path, &format) != nullptr;
}

void FlattenOpacity(std::uint32_t* pixels, std::size_t count, std::uint32_t background) {
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t pixel = pixels[i];
    std::uint32_t transparency = pixel >> 24;
    if (transparency == 0) {
      pixels[i] = pixel & 0x00FFFFFFu;
      continue;
    }
    std::uint32_t opacity = 255 - transparency;
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      std::uint32_t mixed =
          (Channel(pixel, shift) * opacity + Channel(background, shift) * transparency + 127) / 255;
      result |= mixed << shift;
    }
    pixels[i] = result;
  }
}

}  // namespace viewer
