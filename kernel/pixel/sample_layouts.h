// What each sample layout code of the import means: which samples a pixel
// has, which byte of the packed pixel each fills, which bytes are kept or
// stored inverted, and whether the first sample indexes the colour map. The
// plain and the vector loops both work from this one table.
#ifndef PIXBASE_PIXEL_SAMPLE_LAYOUTS_H
#define PIXBASE_PIXEL_SAMPLE_LAYOUTS_H

#include <cstdint>

#include "pixbase/pixel.h"

namespace pixbase::pixel {

// How the gathered samples of a layout become a pixel.
enum class ImportKind : int32_t {
  kIndex,       // the colour map entry of the first sample
  kIndexAlpha,  // the map entry's `keep` bytes, the other samples in the rest
  kSamples,     // the destination's `keep` bytes, the samples in the rest
  kCmyk,        // the four samples through the CMYK rule
};

// Packed-pixel bytes: 0 blue, 1 green, 2 red, 3 fourth.
struct SampleLayoutFacts {
  int32_t samples;    // per pixel
  int32_t target[4];  // byte filled by each sample, in sample order
  uint32_t keep;      // bits of the map entry or destination left as they are
  uint32_t flip;      // bits stored as 255 - sample
  ImportKind kind;
};

inline constexpr SampleLayoutFacts kSampleLayouts[] = {
    {1, {0, 0, 0, 0}, 0xFFFFFFFFu, 0, ImportKind::kIndex},                 // 0 index
    {1, {0, 0, 0, 0}, 0xFFFFFFFFu, 0, ImportKind::kIndex},                 // 1 index
    {2, {0, 3, 0, 0}, 0x00FFFFFFu, 0xFF000000u, ImportKind::kIndexAlpha},  // 2 index, alpha
    {2, {0, 3, 0, 0}, 0x00FFFFFFu, 0xFF000000u, ImportKind::kIndexAlpha},  // 3 index, alpha
    {1, {2, 0, 0, 0}, 0xFF00FFFFu, 0, ImportKind::kSamples},               // 4 red
    {1, {2, 0, 0, 0}, 0xFF00FFFFu, 0, ImportKind::kSamples},               // 5 red
    {1, {1, 0, 0, 0}, 0xFFFF00FFu, 0, ImportKind::kSamples},               // 6 green
    {1, {1, 0, 0, 0}, 0xFFFF00FFu, 0, ImportKind::kSamples},               // 7 green
    {1, {0, 0, 0, 0}, 0xFFFFFF00u, 0, ImportKind::kSamples},               // 8 blue
    {1, {0, 0, 0, 0}, 0xFFFFFF00u, 0, ImportKind::kSamples},               // 9 blue
    {1, {3, 0, 0, 0}, 0x00FFFFFFu, 0xFF000000u, ImportKind::kSamples},     // 10 alpha
    {1, {3, 0, 0, 0}, 0x00FFFFFFu, 0, ImportKind::kSamples},               // 11 black
    {3, {2, 1, 0, 0}, 0xFF000000u, 0, ImportKind::kSamples},               // 12 red, green, blue
    {4, {2, 1, 0, 3}, 0, 0xFF000000u, ImportKind::kSamples},               // 13 RGB, alpha
    {4, {2, 1, 0, 3}, 0, 0, ImportKind::kCmyk},                            // 14 C, M, Y, K
};

// Codes not listed behave as red, green, blue.
inline constexpr int32_t ListedLayout(int32_t layout) {
  return layout >= 0 && layout <= SampleCMYK ? layout : SampleRGB;
}

inline constexpr const SampleLayoutFacts& FactsOf(int32_t layout) {
  return kSampleLayouts[ListedLayout(layout)];
}

inline constexpr bool UsesColorMap(const SampleLayoutFacts& facts) {
  return facts.kind == ImportKind::kIndex || facts.kind == ImportKind::kIndexAlpha;
}

static_assert(sizeof kSampleLayouts / sizeof kSampleLayouts[0] == SampleCMYK + 1,
              "one entry per layout code");

}  // namespace pixbase::pixel

#endif
