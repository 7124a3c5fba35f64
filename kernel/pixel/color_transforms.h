// The linear transforms from the other colour spaces to RGB.
//
// Each input component c (first = red byte, second = green, third = blue)
// enters as an argument a = scale * byte + offset (the byte itself, the
// centred chroma 2 * byte - 255, or the byte less a fixed offset), all exact
// small integers. Its contribution to output channel k is the single-precision
// product coefficient[k][c] * a, and each channel is the single-precision sum
// of the three contributions taken in component order. A zero coefficient
// contributes nothing, a coefficient of one the argument itself.
//
// `ties_absent`: no sum of the transform lies exactly halfway between an
// even integer and the next within 0..255, so for every input the linear byte
// rule equals rounding the sum to the nearest integer, ties to even, and
// clamping. The tests check this over all 2^24 inputs of every transform.
//
// `half_term`: for a tone curve, the component whose contribution to each
// output channel takes the rule's half on the widest unit: with 0.5 added to
// that product before its one rounding, the floor of the channel's sum is
// the curve's index for every input. -1 where no product gives that (the
// unit then adds 0.5 to the sum as the rule does), and for every linear
// transform (whose sums get the half, exactly, in their rounding). The
// contribution must be a product (coefficient neither 0 nor 1).
//
// `fused_terms`: the contributions (bit c for component c) that the widest
// unit joins to each channel's running sum by one fused multiply-add instead
// of rounding the product first. The sums differ, the results do not: the
// bytes (rounded to nearest where a linear transform has no ties, the sum
// plus an exact half floored otherwise) and the curve's indices equal the
// rule's for every input. Never the first component, the half's or one that
// enters raw.
//
// The tests check every choice over all 2^24 inputs.
#ifndef PIXBASE_PIXEL_COLOR_TRANSFORMS_H
#define PIXBASE_PIXEL_COLOR_TRANSFORMS_H

#include <cstdint>

#include "pixbase/image.h"
#include "pixel/tone_tables.h"

namespace pixbase::pixel {

struct ColorTransform {
  float coefficient[3][3];  // [output channel: red, green, blue][component]
  float scale[3];
  float offset[3];
  ToneCurve tone;
  bool ties_absent;
  int8_t half_term[3];     // [output channel]
  uint8_t fused_terms[3];  // [output channel]
};

enum TransformIndex : int32_t {
  kTransformI1I2I3,
  kTransformXYZ,
  kTransformYCbCr,  // YCbCr and YPbPr
  kTransformPhotoYCC,
  kTransformYIQ,
  kTransformYUV,  // YUV, CMYK values and every space without a name
  kTransformAlternateYCC,
  kTransformCount
};

inline constexpr ColorTransform kColorTransforms[kTransformCount] = {
    // I1I2I3: R = x + 0.5t2 - 0.33334t3, G = x + 0.666665t3, B = x - 0.5t2 - 0.33334t3
    {{{1.0f, 0.5f, -0.33334f}, {1.0f, 0.0f, 0.666665f}, {1.0f, -0.5f, -0.33334f}},
     {1, 2, 2},
     {0, -255, -255},
     ToneCurve::kNone,
     true,
     {-1, -1, -1},
     {6, 4, 6}},
    // CIE XYZ, without gamma
    {{{3.240479f, -1.53715f, -0.498535f},
      {-0.969256f, 1.875992f, 0.041556f},
      {0.055648f, -0.204043f, 1.057311f}},
     {1, 1, 1},
     {0, 0, 0},
     ToneCurve::kNone,
     false,
     {-1, -1, -1},
     {0, 0, 0}},
    // YCbCr / YPbPr with chroma centred on 127.5
    {{{1.0f, 0.0f, 0.701f}, {1.0f, -0.172068f, -0.357068f}, {1.0f, 0.886f, 0.0f}},
     {1, 2, 2},
     {0, -255, -255},
     ToneCurve::kNone,
     true,
     {-1, -1, -1},
     {4, 6, 2}},
    // Photo YCC
    {{{1.3584f, 0.0f, 1.8215f}, {1.3584f, -0.4302726f, -0.9271435f}, {1.3584f, 2.2179f, 0.0f}},
     {1, 1, 1},
     {0, -156, -137},
     ToneCurve::kPhotoYCC,
     false,
     {0, 2, 0},
     {4, 0, 2}},
    // YIQ
    {{{1.0f, 0.4781f, 0.3107f}, {1.0f, -0.13635f, -0.3234f}, {1.0f, -0.55185f, 0.8503f}},
     {1, 2, 2},
     {0, -255, -255},
     ToneCurve::kNone,
     false,
     {-1, -1, -1},
     {0, 6, 6}},
    // YUV
    {{{1.0f, 0.0f, 0.5699f}, {1.0f, -0.1969f, -0.29025f}, {1.0f, 1.01395f, 0.0f}},
     {1, 2, 2},
     {0, -255, -255},
     ToneCurve::kNone,
     true,
     {-1, -1, -1},
     {4, 6, 2}},
    // The alternate YCC encoding
    {{{1.402f, 0.0f, 1.88f}, {1.402f, -0.444066f, -0.95692f}, {1.402f, 2.289f, 0.0f}},
     {1, 1, 1},
     {0, -156, -137},
     ToneCurve::kAlternateYCC,
     false,
     {0, -1, 0},
     {0, 0, 0}},
};

// A linear transform's sums get their half in the rounding, never in a product.
constexpr bool LinearTransformsCarryNoHalfTerm() {
  for (const ColorTransform& transform : kColorTransforms)
    if (transform.tone == ToneCurve::kNone)
      for (int8_t term : transform.half_term)
        if (term >= 0) return false;
  return true;
}
static_assert(LinearTransformsCarryNoHalfTerm(), "a linear sum gets its half in the rounding");

// The transform for a space other than RGB and the two pass-through values.
inline TransformIndex TransformFor(Colorspace space) {
  switch (space) {
    case ColorspaceI1I2I3:
      return kTransformI1I2I3;
    case ColorspaceXYZ:
      return kTransformXYZ;
    case ColorspaceYCbCr:
    case ColorspaceYPbPr:
      return kTransformYCbCr;
    case ColorspacePhotoYCC:
      return kTransformPhotoYCC;
    case ColorspaceYIQ:
      return kTransformYIQ;
    case ColorspaceYCCAlternate:
      return kTransformAlternateYCC;
    default:
      return kTransformYUV;
  }
}

// Converts `count` pixels with the vector units at `level` (above plain);
// the fourth byte is kept.
void ConvertRowVector(int32_t level, TransformIndex transform, uint32_t* pixels, int32_t count);

}  // namespace pixbase::pixel

#endif
