// Buffered reading of an image's open file through the kernel's image file
// I/O (ReadImageBytes), for decoders that take their data a byte or a token
// at a time. Large reads bypass the buffer.
#ifndef LUMAVIEW_CODERS_COMMON_IMAGE_READER_H
#define LUMAVIEW_CODERS_COMMON_IMAGE_READER_H

#include <cstddef>
#include <cstdint>

#include "pixbase/pixbase.h"

namespace lumaview::coders {

class ImageReader {
 public:
  explicit ImageReader(ImageRecord* image) : image_(image) {}
  ImageReader(const ImageReader&) = delete;
  ImageReader& operator=(const ImageReader&) = delete;

  // The next byte (0 to 255), or -1 at the end of the data.
  int Get() {
    if (position_ == end_ && !Fill()) return -1;
    return buffer_[position_++];
  }
  // The next byte without taking it, or -1 at the end of the data.
  int Peek() {
    if (position_ == end_ && !Fill()) return -1;
    return buffer_[position_];
  }
  // Copies up to `length` bytes; the number copied is short only at the end
  // of the data.
  size_t Read(void* destination, size_t length);
  // Skips up to `length` bytes; the number skipped.
  size_t Skip(size_t length);

 private:
  bool Fill();

  static constexpr size_t kBufferSize = 16 * 1024;
  ImageRecord* image_;
  size_t position_ = 0;
  size_t end_ = 0;
  bool ended_ = false;
  uint8_t buffer_[kBufferSize];
};

}  // namespace lumaview::coders

#endif
