// Unpacking of one scan line of raw samples into packed pixels.
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "pixbase/pixel.h"
#include "pixel/cmyk.h"
#include "pixel/import_kernels.h"

namespace {

using pixbase::pixel::CmykToRgb;

constexpr uint32_t kRedShift = 16, kGreenShift = 8, kBlueShift = 0, kFourthShift = 24;

// Replaces one byte of every pixel with the samples.
template <int kStride>
void ImportChannel(int32_t count, uint32_t* pixels, const uint8_t* source, uint32_t shift,
                   bool inverted) {
  const uint32_t keep = ~(0xFFu << shift);
  const uint32_t flip = inverted ? 0xFFu : 0u;
  for (int32_t i = 0; i < count; ++i, source += kStride)
    pixels[i] = (pixels[i] & keep) | (uint32_t{source[0]} ^ flip) << shift;
}

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

template <int kStride>
void ImportLine(int32_t count, uint32_t* pixels, const uint32_t* map, int32_t layout,
                const uint8_t* s) {
  constexpr int kNext = kStride;
  switch (layout) {
    case SampleIndex:
    case SampleIndex1:
      return ImportIndices<kStride>(count, pixels, map, s);
    case SampleIndexAlpha:
    case SampleIndexAlpha3:
      for (int32_t i = 0; i < count; ++i, s += 2 * kNext)
        pixels[i] = (map[s[0]] & 0x00FFFFFFu) | uint32_t{static_cast<uint8_t>(255 - s[kNext])}
                                                    << 24;
      return;
    case SampleRed:
    case SampleRed5:
      return ImportChannel<kStride>(count, pixels, s, kRedShift, false);
    case SampleGreen:
    case SampleGreen7:
      return ImportChannel<kStride>(count, pixels, s, kGreenShift, false);
    case SampleBlue:
    case SampleBlue9:
      return ImportChannel<kStride>(count, pixels, s, kBlueShift, false);
    case SampleAlpha:
      return ImportChannel<kStride>(count, pixels, s, kFourthShift, true);
    case SampleBlack:
      return ImportChannel<kStride>(count, pixels, s, kFourthShift, false);
    case SampleRGBA:
      for (int32_t i = 0; i < count; ++i, s += 4 * kNext)
        pixels[i] = uint32_t{s[0]} << 16 | uint32_t{s[kNext]} << 8 | s[2 * kNext] |
                    uint32_t{static_cast<uint8_t>(255 - s[3 * kNext])} << 24;
      return;
    case SampleCMYK:
      for (int32_t i = 0; i < count; ++i, s += 4 * kNext)
        pixels[i] = CmykToRgb(uint32_t{s[0]} << 16 | uint32_t{s[kNext]} << 8 | s[2 * kNext] |
                              uint32_t{s[3 * kNext]} << 24);
      return;
    default:  // red, green, blue: SampleRGB and every code not listed
      for (int32_t i = 0; i < count; ++i, s += 3 * kNext)
        pixels[i] = (pixels[i] & 0xFF000000u) | uint32_t{s[0]} << 16 | uint32_t{s[kNext]} << 8 |
                    s[2 * kNext];
      return;
  }
}

bool UsesColorMap(int32_t layout) { return layout >= SampleIndex && layout <= SampleIndexAlpha3; }

}  // namespace

extern "C" {

int32_t ImportPixelSamples(int32_t count, int32_t depth, PackedPixel* pixels,
                           const PackedPixel* color_map, SampleLayout layout,
                           const uint8_t* source) {
  if (count <= 0) return 1;
  // A palette layout without a colour map has nothing to look up in: the
  // pixels are left as they are rather than read through a null map.
  if (UsesColorMap(layout) && color_map == nullptr) return 1;
  const int stride = depth > 8 ? 2 : 1;
  int32_t done = pixbase::pixel::ImportLineVector(count, stride, pixels, color_map, layout, source);
  source += static_cast<intptr_t>(done) * stride * pixbase::pixel::SamplesPerPixel(layout);
  if (stride == 2) {
    ImportLine<2>(count - done, pixels + done, color_map, layout, source);
  } else {
    ImportLine<1>(count - done, pixels + done, color_map, layout, source);
  }
  return 1;
}

}  // extern "C"
