// Unpacking of one scan line of raw samples into packed pixels.
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "pixbase/pixel.h"
#include "pixel/cmyk.h"
#include "pixel/import_kernels.h"
#include "pixel/sample_layouts.h"

namespace {

using pixbase::pixel::CmykToRgb;
using pixbase::pixel::ImportKind;
using pixbase::pixel::SampleLayoutFacts;

// Colour map lookups, four at a time from one read of their samples (a
// gather unit is slower than plain loads here).
template <int kStride>
void ImportIndices(int32_t count, uint32_t* pixels, const uint32_t* map, const uint8_t* s) {
  int32_t i = 0;
  for (; count - i >= 4; i += 4, s += 4 * kStride) {
    std::conditional_t<kStride == 1, uint32_t, uint64_t> samples;
    std::memcpy(&samples, s, 4 * kStride);  // four whole samples
    pixels[i] = map[samples & 0xFF];
    pixels[i + 1] = map[(samples >> (8 * kStride)) & 0xFF];
    pixels[i + 2] = map[(samples >> (16 * kStride)) & 0xFF];
    pixels[i + 3] = map[(samples >> (24 * kStride)) & 0xFF];
  }
  for (; i < count; ++i, s += kStride) pixels[i] = map[s[0]];
}

// The samples of one pixel from sample kFirst on, each in its byte.
template <int kSamples, int kFirst, int kStride>
inline uint32_t Assemble(const uint8_t* s, const uint32_t shift[4]) {
  uint32_t word = 0;
  for (int n = kFirst; n < kSamples; ++n) word |= uint32_t{s[n * kStride]} << shift[n];
  return word;
}

template <int kSamples, int kStride>
void ImportPixels(int32_t count, uint32_t* pixels, const uint32_t* map,
                  const SampleLayoutFacts& facts, const uint8_t* s) {
  uint32_t shift[4];
  for (int n = 0; n < 4; ++n) shift[n] = 8 * static_cast<uint32_t>(facts.target[n]);
  const uint32_t keep = facts.keep, flip = facts.flip;
  constexpr int kStep = kSamples * kStride;
  switch (facts.kind) {
    case ImportKind::kIndexAlpha:
      for (int32_t i = 0; i < count; ++i, s += kStep)
        pixels[i] = (map[s[0]] & keep) | (Assemble<kSamples, 1, kStride>(s, shift) ^ flip);
      return;
    case ImportKind::kCmyk:
      for (int32_t i = 0; i < count; ++i, s += kStep)
        pixels[i] = CmykToRgb(Assemble<kSamples, 0, kStride>(s, shift));
      return;
    default:
      for (int32_t i = 0; i < count; ++i, s += kStep)
        pixels[i] = (pixels[i] & keep) | (Assemble<kSamples, 0, kStride>(s, shift) ^ flip);
      return;
  }
}

template <int kStride>
void ImportLine(int32_t count, uint32_t* pixels, const uint32_t* map,
                const SampleLayoutFacts& facts, const uint8_t* s) {
  switch (facts.kind == ImportKind::kIndex ? 0 : facts.samples) {
    case 0:
      return ImportIndices<kStride>(count, pixels, map, s);
    case 1:
      return ImportPixels<1, kStride>(count, pixels, map, facts, s);
    case 2:
      return ImportPixels<2, kStride>(count, pixels, map, facts, s);
    case 3:
      return ImportPixels<3, kStride>(count, pixels, map, facts, s);
    default:
      return ImportPixels<4, kStride>(count, pixels, map, facts, s);
  }
}

}  // namespace

extern "C" {

int32_t ImportPixelSamples(int32_t count, int32_t depth, PackedPixel* pixels,
                           const PackedPixel* color_map, SampleLayout layout,
                           const uint8_t* source) {
  if (count <= 0) return 1;
  layout = pixbase::pixel::ListedLayout(layout);
  const SampleLayoutFacts& facts = pixbase::pixel::FactsOf(layout);
  // A palette layout without a colour map has nothing to look up in: the
  // pixels are left as they are rather than read through a null map.
  if (pixbase::pixel::UsesColorMap(facts) && color_map == nullptr) return 1;
  const int stride = depth > 8 ? 2 : 1;
  const int32_t done =
      pixbase::pixel::ImportLineVector(count, stride, pixels, color_map, layout, source);
  source += static_cast<intptr_t>(done) * stride * facts.samples;
  if (stride == 2) {
    ImportLine<2>(count - done, pixels + done, color_map, facts, source);
  } else {
    ImportLine<1>(count - done, pixels + done, color_map, facts, source);
  }
  return 1;
}

}  // extern "C"
