// Buffered writing to an image's open file through the kernel's image file
// I/O (WriteImageBytes). A short write is remembered and ends the writing.
#ifndef LUMAVIEW_CODERS_COMMON_IMAGE_WRITER_H
#define LUMAVIEW_CODERS_COMMON_IMAGE_WRITER_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "pixbase/pixbase.h"

namespace lumaview::coders {

class ImageWriter {
 public:
  explicit ImageWriter(ImageRecord* image) : image_(image) {}
  ~ImageWriter() { Flush(); }
  ImageWriter(const ImageWriter&) = delete;
  ImageWriter& operator=(const ImageWriter&) = delete;

  void Put(uint8_t byte) {
    if (used_ == kBufferSize) Flush();
    buffer_[used_++] = byte;
  }
  void Write(const void* source, size_t length);
  void Text(const char* text) { Write(text, std::strlen(text)); }
  // Hands the buffered bytes to the kernel; false once any write fell short.
  bool Flush();
  bool ok() const { return ok_; }

 private:
  static constexpr size_t kBufferSize = 16 * 1024;
  ImageRecord* image_;
  size_t used_ = 0;
  bool ok_ = true;
  uint8_t buffer_[kBufferSize];
};

}  // namespace lumaview::coders

#endif
