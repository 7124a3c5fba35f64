// Writing of the portable anymap family: a bitmap (black where the
// luminance is below 128), a greymap (the luminance), a pixmap, or an
// arbitrary map (RGB, or RGB_ALPHA when any pixel is not opaque), all with a
// maxval of 255 (1 for bitmaps). The raw form is written unless the image's
// "Encoding" attribute asks for "plain". The "Comment" attribute becomes the
// header's comment lines. Every image of the list from the given one on is
// written, one picture after another.
#include <cstdio>
#include <string>

#include "image_writer.h"
#include "kernel_block.h"
#include "pixel_checks.h"
#include "pnm.h"
#include "pnm_texts.h"

namespace lumaview::coders::pnm {

namespace {

enum class Kind { kBitmap, kGreymap, kPixmap, kArbitrary, kSmallest };

// Plain rows are broken into lines of at most this many characters.
constexpr size_t kPlainLine = 70;

bool IsPlain(ImageRecord* image) {
  ImageAttribute* encoding = GetImageAttribute(image, kEncodingAttribute);
  return encoding != nullptr && CompareNoCase(encoding->value, kPlainEncoding) == 0;
}

Kind SmallestKind(const ImageRecord* image) {
  bool grey = true;
  const int64_t count = static_cast<int64_t>(image->width) * image->height;
  for (int64_t i = 0; i < count; ++i) {
    const PackedPixel p = image->pixels[i];
    if (RedOf(p) != GreenOf(p) || GreenOf(p) != BlueOf(p)) return Kind::kPixmap;
    if (RedOf(p) != 0 && RedOf(p) != 255) grey = false;
  }
  return grey ? Kind::kBitmap : Kind::kGreymap;
}

bool HasTransparency(const ImageRecord* image) {
  const int64_t count = static_cast<int64_t>(image->width) * image->height;
  for (int64_t i = 0; i < count; ++i)
    if (OpacityOf(image->pixels[i]) != 0) return true;
  return false;
}

void WriteComments(ImageWriter& out, ImageRecord* image) {
  ImageAttribute* comment = GetImageAttribute(image, kCommentAttribute);
  if (comment == nullptr || comment->value == nullptr) return;
  std::string text(comment->value);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.Text("# ");
    out.Text(line.c_str());
    out.Put('\n');
    start = end + 1;
  }
}

// One plain row: the values, separated by blanks, in lines of at most
// kPlainLine characters (a bitmap's digits without blanks).
void WritePlainRow(ImageWriter& out, const uint8_t* values, size_t count, bool bitmap) {
  size_t column = 0;
  char number[8];
  for (size_t i = 0; i < count; ++i) {
    int length =
        bitmap ? std::snprintf(number, sizeof number, "%u", values[i])
               : std::snprintf(number, sizeof number, "%s%u", column > 0 ? " " : "", values[i]);
    if (column + static_cast<size_t>(length) > kPlainLine) {
      out.Put('\n');
      column = 0;
      if (!bitmap) length = std::snprintf(number, sizeof number, "%u", values[i]);
    }
    out.Text(number);
    column += static_cast<size_t>(length);
  }
  out.Put('\n');
}

bool WriteOne(ImageRecord* image, Kind kind) {
  if (!CheckWritable(image, kUnableToWrite)) return false;
  if (kind == Kind::kSmallest) kind = SmallestKind(image);
  const bool plain = kind != Kind::kArbitrary && IsPlain(image);
  const bool alpha = kind == Kind::kArbitrary && HasTransparency(image);
  const size_t width = static_cast<size_t>(image->width);
  const size_t channels = kind == Kind::kPixmap      ? 3
                          : kind == Kind::kArbitrary ? (alpha ? 4 : 3)
                                                     : 1;
  KernelBlock row;
  if (!row.Allocate(static_cast<uint64_t>(width) * channels)) {
    RecordFault(image, OutOfMemoryError, kNoMemoryReason, "no memory for a row");
    return false;
  }

  ImageWriter out(image);
  const char magic = kind == Kind::kBitmap    ? (plain ? '1' : '4')
                     : kind == Kind::kGreymap ? (plain ? '2' : '5')
                     : kind == Kind::kPixmap  ? (plain ? '3' : '6')
                                              : '7';
  char text[160];
  std::snprintf(text, sizeof text, "P%c\n", magic);
  out.Text(text);
  WriteComments(out, image);
  if (kind == Kind::kArbitrary) {
    std::snprintf(text, sizeof text,
                  "WIDTH %d\nHEIGHT %d\nDEPTH %zu\nMAXVAL 255\nTUPLTYPE %s\nENDHDR\n", image->width,
                  image->height, channels, alpha ? "RGB_ALPHA" : "RGB");
  } else if (kind == Kind::kBitmap) {
    std::snprintf(text, sizeof text, "%d %d\n", image->width, image->height);
  } else {
    std::snprintf(text, sizeof text, "%d %d\n255\n", image->width, image->height);
  }
  out.Text(text);

  uint8_t* bytes = row.bytes();
  for (int32_t y = 0; y < image->height && out.ok(); ++y) {
    const PackedPixel* pixels = image->pixels + static_cast<size_t>(y) * width;
    if (kind == Kind::kBitmap && !plain) {
      const size_t packed = (width + 7) / 8;
      for (size_t i = 0; i < packed; ++i) bytes[i] = 0;
      for (size_t x = 0; x < width; ++x)
        if (GreyOf(pixels[x]) < 128) bytes[x >> 3] |= static_cast<uint8_t>(0x80u >> (x & 7));
      out.Write(bytes, packed);
      continue;
    }
    for (size_t x = 0; x < width; ++x) {
      const PackedPixel p = pixels[x];
      uint8_t* at = bytes + x * channels;
      if (kind == Kind::kBitmap) {
        at[0] = GreyOf(p) < 128 ? 1 : 0;
      } else if (kind == Kind::kGreymap) {
        at[0] = GreyOf(p);
      } else {
        at[0] = RedOf(p);
        at[1] = GreenOf(p);
        at[2] = BlueOf(p);
        if (channels == 4) at[3] = static_cast<uint8_t>(255 - OpacityOf(p));
      }
    }
    if (plain)
      WritePlainRow(out, bytes, width * channels, kind == Kind::kBitmap);
    else
      out.Write(bytes, width * channels);
  }
  if (!out.Flush()) {
    RecordFault(image, CoderDataError, kUnableToWrite, "the file took fewer bytes than written");
    return false;
  }
  return true;
}

int32_t WriteList(ImageRecord* image, Kind kind) {
  if (image == nullptr) return 0;
  for (ImageRecord* frame = image; frame != nullptr; frame = frame->next)
    if (!WriteOne(frame, kind)) {
      // The list's worst fault is found from the given image on.
      if (frame != image)
        RecordFault(image, frame->report.severity, frame->report.reason, frame->report.description);
      return 0;
    }
  return 1;
}

}  // namespace

int32_t PIXBASE_CALL WritePBMImage(ImageRecord* image) { return WriteList(image, Kind::kBitmap); }
int32_t PIXBASE_CALL WritePGMImage(ImageRecord* image) { return WriteList(image, Kind::kGreymap); }
int32_t PIXBASE_CALL WritePPMImage(ImageRecord* image) { return WriteList(image, Kind::kPixmap); }
int32_t PIXBASE_CALL WritePAMImage(ImageRecord* image) {
  return WriteList(image, Kind::kArbitrary);
}
int32_t PIXBASE_CALL WritePNMImage(ImageRecord* image) { return WriteList(image, Kind::kSmallest); }

}  // namespace lumaview::coders::pnm
