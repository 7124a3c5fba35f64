// One-dimensional resizing helpers: the index map of a resized line and the
// smoothing of a line of packed pixels in place.
#include <cstdint>

#include "pixbase/pixel.h"
#include "pixel/resample_kernels.h"
#include "pixel/single_precision.h"

namespace {

using pixbase::pixel::Single;

// 9 taps with weights 1 2 4 5 8 5 4 2 1 (sum 32) per colour byte. Taps left
// of the current pixel read values smoothed already; indices beyond either
// end stand for the end pixel.
//
// The three channels are summed at once in one 64-bit word, each in a 16-bit
// field (a channel's sum is at most 255 * 32).
constexpr uint64_t kWideWeights[9] = {1, 2, 4, 5, 8, 5, 4, 2, 1};

inline uint64_t Spread(uint32_t pixel) {
  return (pixel & 0xFFu) | uint64_t{pixel & 0xFF00u} << 8 | uint64_t{pixel & 0xFF0000u} << 16;
}

inline uint32_t Gather(uint64_t sums) {
  return static_cast<uint32_t>((sums >> 5) & 0xFF) |
         static_cast<uint32_t>((sums >> 21) & 0xFF) << 8 |
         static_cast<uint32_t>((sums >> 37) & 0xFF) << 16;
}

uint32_t SmoothWideAtEnd(const uint32_t* line, int32_t length, int32_t i) {
  uint64_t sums = 0;
  for (int32_t k = -4; k <= 4; ++k) {
    int32_t at = i + k;
    if (at < 0) at = 0;
    if (at > length - 1) at = length - 1;
    sums += Spread(line[at]) * kWideWeights[k + 4];
  }
  return Gather(sums);
}

void SmoothWide(uint32_t* line, int32_t length) {
  for (int32_t i = 0; i < 4; ++i) line[i] = SmoothWideAtEnd(line, length, i);
  // Inside the line the nine taps slide: the window holds the spread values
  // of line[i - 4] to line[i + 4] as they stand.
  uint64_t window[9];
  for (int k = 0; k < 9; ++k) window[k] = Spread(line[k]);
  for (int32_t i = 4; i < length - 4; ++i) {
    uint64_t sums = 0;
    for (int k = 0; k < 9; ++k) sums += window[k] * kWideWeights[k];
    const uint32_t smoothed = Gather(sums);
    line[i] = smoothed;
    for (int k = 0; k < 8; ++k) window[k] = window[k + 1];
    window[3] = Spread(smoothed);
    if (i + 5 < length) window[8] = Spread(line[i + 5]);
  }
  for (int32_t i = length - 4; i < length; ++i) line[i] = SmoothWideAtEnd(line, length, i);
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

// Entries `first` onwards of a narrowing map (D < 4S): entry k is
// floor(kS / D), stepped without a division per entry (in 64 bits, where 4S
// would not fit in 32). Each of four accumulators steps from entry k to
// k + 4, so that they do not wait on one another, and takes its carry
// without a branch: whether it carries follows S and D in a pattern that
// defeats prediction (a mispredicted branch cost a third of the rate on a
// 4096 to 1000 map, depending on where the code lay).
void NarrowingMap(int64_t source, int64_t destination, int32_t first, int32_t* map) {
  constexpr int kChains = 4;
  const int64_t step_whole = kChains * source / destination;
  const int64_t step_part = kChains * source % destination;
  int64_t index[kChains], remainder[kChains];
  for (int j = 0; j < kChains; ++j) {
    const int64_t start = (int64_t{first} + j) * source;  // below 2^63
    index[j] = start / destination;
    remainder[j] = start % destination;
  }
  int32_t k = first;
  for (; destination - k >= kChains; k += kChains) {
    for (int j = 0; j < kChains; ++j) {
      map[k + j] = static_cast<int32_t>(index[j]);
      remainder[j] += step_part;
      const int64_t carry = remainder[j] >= destination ? 1 : 0;
      index[j] += step_whole + carry;
      remainder[j] -= destination & -carry;
    }
  }
  // The last entries, each from its own accumulator by a constant index (a
  // variable one would keep them all in memory throughout the loop).
  for (int j = 0; j < kChains; ++j)
    if (k + j < destination) map[k + j] = static_cast<int32_t>(index[j]);
}

}  // namespace

extern "C" {

void BuildResampleMap(int32_t source_length, int32_t destination_length, int32_t* map) {
  if (destination_length <= 0) return;  // either way nothing is written
  if (int64_t{destination_length} >= 4 * int64_t{source_length}) {
    const float ratio = static_cast<float>(static_cast<double>(source_length) / destination_length);
    int32_t i = pixbase::pixel::WideningMapVector(ratio, map, destination_length);
    for (; i < destination_length; ++i)
      map[i] = static_cast<int32_t>(Single(Single(static_cast<float>(i)) * ratio));
    // For very long destinations i * ratio can round up to the source length
    // itself (S = 1, D = 13 103 685: the last product is 1.0); the entries
    // never decrease, so those are the last ones, and they name the last
    // source pixel instead. (A source of no pixels has no last one.)
    if (source_length > 0)
      for (i = destination_length - 1; i >= 0 && map[i] >= source_length; --i)
        map[i] = source_length - 1;
    return;
  }
  // Here 0 < D < 4S: the vector units take what they can, the rest steps on
  // from there.
  NarrowingMap(source_length, destination_length,
               pixbase::pixel::NarrowingMapVector(source_length, destination_length, map), map);
}

void SmoothPixelLine(uint32_t* line, int32_t length) {
  if (length >= 10) {
    SmoothWide(line, length);
  } else if (length >= 4) {
    SmoothNarrow(line, length);
  }
}

}  // extern "C"
