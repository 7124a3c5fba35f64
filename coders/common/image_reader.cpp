// The buffered reader over an image's file.
#include "image_reader.h"

#include <algorithm>
#include <cstring>

namespace lumaview::coders {

bool ImageReader::Fill() {
  if (ended_) return false;
  position_ = 0;
  end_ = ReadImageBytes(image_, kBufferSize, buffer_);
  if (end_ > kBufferSize) end_ = 0;  // a stream operation that claims too much
  if (end_ == 0) ended_ = true;
  return end_ != 0;
}

size_t ImageReader::Read(void* destination, size_t length) {
  auto* out = static_cast<uint8_t*>(destination);
  size_t copied = std::min(length, end_ - position_);
  std::memcpy(out, buffer_ + position_, copied);
  position_ += copied;
  while (copied < length && !ended_) {
    size_t wanted = length - copied;
    if (wanted >= kBufferSize) {
      // Straight into the destination, in pieces the kernel's length takes.
      auto piece = static_cast<uint32_t>(std::min<size_t>(wanted, UINT32_MAX / 2));
      uint32_t got = ReadImageBytes(image_, piece, out + copied);
      if (got == 0 || got > piece) {
        ended_ = true;
        break;
      }
      copied += got;
    } else {
      if (!Fill()) break;
      size_t take = std::min(wanted, end_);
      std::memcpy(out + copied, buffer_, take);
      position_ = take;
      copied += take;
    }
  }
  return copied;
}

size_t ImageReader::Skip(size_t length) {
  size_t skipped = 0;
  while (skipped < length) {
    if (position_ == end_ && !Fill()) break;
    size_t take = std::min(length - skipped, end_ - position_);
    position_ += take;
    skipped += take;
  }
  return skipped;
}

}  // namespace lumaview::coders
