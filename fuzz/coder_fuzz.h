// The promises every coder's read procedure keeps over any file contents,
// checked by the coder fuzzers: the result is 1 with pixels for every image
// of the list and no error, or 0 with an error and its reason; every pixel
// of the array can be read; and a small picture written in `write_format`
// reads back to the same colours.
#ifndef LUMAVIEW_FUZZ_CODER_FUZZ_H
#define LUMAVIEW_FUZZ_CODER_FUZZ_H

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "coder_module.h"
#include "fuzz_input.h"

namespace lumaview::fuzz {

// Decodes the file through the format's read procedure; the list, or null
// when the file could not be opened.
inline ImageRecord* DecodeFile(const char* format, const std::string& path, int32_t* result) {
  ImageRecord* image = AllocateImage();
  std::snprintf(image->filename, sizeof image->filename, "%s", path.c_str());
  if (OpenImageFile(image, "rb") != 1) {
    DestroyImage(image);
    return nullptr;
  }
  *result = CoderOf(FindFormatEntry(format)).read(image);
  return image;
}

inline void CheckCoder(const char* format, const char* write_format, const std::string& stem,
                       const uint8_t* data, size_t size) {
  const std::string path = stem + ".in";
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return;
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  int32_t result = -1;
  ImageRecord* image = DecodeFile(format, path, &result);
  if (image == nullptr) return;
  FUZZ_CHECK(result == 0 || result == 1);
  if (result == 0) {
    FUZZ_CHECK(image->report.severity >= ErrorThreshold);
    FUZZ_CHECK(image->report.reason != nullptr);
    FUZZ_CHECK(image->next == nullptr);
  } else {
    FUZZ_CHECK(image->report.severity < ErrorThreshold);
    uint32_t sum = 0;
    for (ImageRecord* frame = image; frame != nullptr; frame = frame->next) {
      FUZZ_CHECK(frame->pixels != nullptr && frame->extraBlock == frame->pixels);
      FUZZ_CHECK(frame->width >= 1 && frame->height >= 1);
      FUZZ_CHECK(frame->colorSpace == ColorspaceRGB);
      const size_t count = static_cast<size_t>(frame->width) * frame->height;
      for (size_t i = 0; i < count; ++i) sum += frame->pixels[i];
    }
    std::vector<PackedPixel> colours;
    const size_t count = static_cast<size_t>(image->width) * image->height;
    if (count <= 4096) {
      // Written and read again, the first picture keeps its colours.
      for (size_t i = 0; i < count; ++i) colours.push_back(image->pixels[i] & 0xFFFFFFu);
      const std::string copy = stem + ".out";
      CloseImageFile(image);
      std::snprintf(image->filename, sizeof image->filename, "%s", copy.c_str());
      FUZZ_CHECK(OpenImageFile(image, "wb") == 1);
      ImageRecord* next = image->next;
      image->next = nullptr;  // one picture
      FUZZ_CHECK(CoderOf(FindFormatEntry(write_format)).write(image) == 1);
      image->next = next;
      CloseImageFile(image);
      int32_t again = -1;
      ImageRecord* reread = DecodeFile(write_format, copy, &again);
      FUZZ_CHECK(reread != nullptr && again == 1 && reread->report.severity == 0);
      FUZZ_CHECK(reread->width == image->width && reread->height == image->height);
      for (size_t i = 0; i < count; ++i) FUZZ_CHECK((reread->pixels[i] & 0xFFFFFFu) == colours[i]);
      DestroyImageList(reread);
      std::remove(copy.c_str());
    }
    static volatile uint32_t sink;
    sink = sum;  // the loads stay, so every pixel is checked
    (void)sink;
  }
  DestroyImageList(image);
  std::remove(path.c_str());
}

}  // namespace lumaview::fuzz

#endif
