// One-dimensional resizing helpers: the index map of a resized line and the
// smoothing of a line of packed pixels in place.
#include <cstdint>

#include "pixbase/pixel.h"
#include "pixel/single_precision.h"

namespace {

using pixbase::pixel::Single;

// 9 taps with weights 1 2 4 5 8 5 4 2 1 (sum 32) per colour byte. Taps left
// of the current pixel read values smoothed already; indices beyond either
// end stand for the end pixel.
void SmoothWide(uint32_t* line, int32_t length) {
  static constexpr uint32_t kWeights[9] = {1, 2, 4, 5, 8, 5, 4, 2, 1};
  const int32_t last = length - 1;
  for (int32_t i = 0; i < length; ++i) {
    uint32_t red = 0, green = 0, blue = 0;
    for (int32_t k = -4; k <= 4; ++k) {
      int32_t at = i + k;
      if (at < 0) at = 0;
      if (at > last) at = last;
      uint32_t pixel = line[at];
      uint32_t weight = kWeights[k + 4];
      red += ((pixel >> 16) & 0xFF) * weight;
      green += ((pixel >> 8) & 0xFF) * weight;
      blue += (pixel & 0xFF) * weight;
    }
    line[i] = (red / 32) << 16 | (green / 32) << 8 | (blue / 32);
  }
}

// 3 taps on whole words: with the lowest bit of every colour byte set, each
// byte sum is even, so one shift halves all three channels at once.
inline uint32_t Odd(uint32_t word) { return word | 0x10101u; }

inline uint32_t SmoothNarrowOne(uint32_t left, uint32_t middle, uint32_t right) {
  uint32_t mean = ((Odd(left) + Odd(right)) | 0x20202u) >> 1;
  return (Odd(middle) + mean) >> 1;
}

void SmoothNarrow(uint32_t* line, int32_t length) {
  line[0] = SmoothNarrowOne(line[0], line[0], line[1]);
  for (int32_t i = 1; i < length - 1; ++i)
    line[i] = SmoothNarrowOne(line[i - 1], line[i], line[i + 1]);
  line[length - 1] = SmoothNarrowOne(line[length - 2], line[length - 1], line[length - 1]);
}

}  // namespace

extern "C" {

void BuildResampleMap(int32_t source_length, int32_t destination_length, int32_t* map) {
  const int64_t source = source_length;
  const int64_t destination = destination_length;
  if (destination <= 0) return;  // either way nothing is written
  if (destination >= 4 * source) {
    const float ratio = static_cast<float>(static_cast<double>(source) / destination);
    for (int32_t i = 0; i < destination_length; ++i)
      map[i] = static_cast<int32_t>(Single(Single(static_cast<float>(i)) * ratio));
    return;
  }
  // Quarter positions of the source picked by an error accumulator: of the
  // 4S quarters, quarter q is taken when the accumulator, growing by 4S - D,
  // does not wrap past 4S. The k-th quarter taken is floor(4kS / D), so entry k
  // is floor(kS / D), stepped here without a division per entry (and in 64
  // bits, where 4S would not fit in 32).
  const int64_t whole = source / destination;
  const int64_t part = source % destination;
  int64_t index = 0, remainder = 0;
  for (int32_t k = 0; k < destination_length; ++k) {
    map[k] = static_cast<int32_t>(index);
    index += whole;
    remainder += part;
    if (remainder >= destination) {
      remainder -= destination;
      ++index;
    }
  }
}

void SmoothPixelLine(uint32_t* line, int32_t length) {
  if (length >= 10) {
    SmoothWide(line, length);
  } else if (length >= 4) {
    SmoothNarrow(line, length);
  }
}

}  // extern "C"
