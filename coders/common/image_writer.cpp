// The buffered writer over an image's file.
#include "image_writer.h"

namespace lumaview::coders {

void ImageWriter::Write(const void* source, size_t length) {
  const auto* bytes = static_cast<const uint8_t*>(source);
  if (length >= kBufferSize) {
    Flush();
    while (ok_ && length > 0) {
      auto piece = static_cast<uint32_t>(length < (1u << 30) ? length : (1u << 30));
      if (WriteImageBytes(image_, piece, bytes) != piece) ok_ = false;
      bytes += piece;
      length -= piece;
    }
    return;
  }
  if (used_ + length > kBufferSize) Flush();
  std::memcpy(buffer_ + used_, bytes, length);
  used_ += length;
}

bool ImageWriter::Flush() {
  if (used_ > 0 && ok_ && WriteImageBytes(image_, static_cast<uint32_t>(used_), buffer_) != used_)
    ok_ = false;
  used_ = 0;
  return ok_;
}

}  // namespace lumaview::coders
