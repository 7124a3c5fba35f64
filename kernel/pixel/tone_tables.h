// Tone curves of the YCC encodings, indexed by a value from 0 to 350.
#ifndef PIXBASE_PIXEL_TONE_TABLES_H
#define PIXBASE_PIXEL_TONE_TABLES_H

#include <cstdint>

namespace pixbase::pixel {

inline constexpr int kToneTableLength = 351;
inline constexpr int kToneTableLast = kToneTableLength - 1;
// Zero bytes follow the last entry up to 384, so that a vector unit may read
// four bytes at any index, or the table as six blocks of 64 bytes.
inline constexpr int kToneTableStorage = 384;

extern const uint8_t kPhotoYCCToneTable[kToneTableStorage];
extern const uint8_t kAlternateYCCToneTable[kToneTableStorage];

// Which curve a transform ends with (kNone: the linear byte rule).
enum class ToneCurve : int32_t { kNone, kPhotoYCC, kAlternateYCC };

// The curve's table, or null for kNone.
inline const uint8_t* ToneTableOf(ToneCurve curve) {
  switch (curve) {
    case ToneCurve::kPhotoYCC:
      return kPhotoYCCToneTable;
    case ToneCurve::kAlternateYCC:
      return kAlternateYCCToneTable;
    default:
      return nullptr;
  }
}

}  // namespace pixbase::pixel

#endif
