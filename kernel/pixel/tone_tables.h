// Tone curves of the YCC encodings, indexed by a value from 0 to 350.
#ifndef PIXBASE_PIXEL_TONE_TABLES_H
#define PIXBASE_PIXEL_TONE_TABLES_H

#include <cstdint>

namespace pixbase::pixel {

inline constexpr int kToneTableLength = 351;
inline constexpr int kToneTableLast = kToneTableLength - 1;
// Three zero bytes follow the last entry, so that a vector unit may read
// four bytes at any index.
inline constexpr int kToneTableStorage = kToneTableLength + 3;

extern const uint8_t kPhotoYCCToneTable[kToneTableStorage];
extern const uint8_t kAlternateYCCToneTable[kToneTableStorage];

}  // namespace pixbase::pixel

#endif
