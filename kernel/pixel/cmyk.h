// The CMYK rule: cyan, magenta and yellow in the red, green and blue bytes,
// black in the fourth; each colour is 255 - colour - black, or 0 where
// colour + black exceeds 255, and the fourth byte ends as 0.
#ifndef PIXBASE_PIXEL_CMYK_H
#define PIXBASE_PIXEL_CMYK_H

#include <cstdint>

namespace pixbase::pixel {

inline uint32_t CmykChannel(uint32_t colour, uint32_t black) {
  return colour + black <= 255 ? 255 - colour - black : 0;
}

inline uint32_t CmykToRgb(uint32_t pixel) {
  const uint32_t black = pixel >> 24;
  return CmykChannel((pixel >> 16) & 0xFF, black) << 16 |
         CmykChannel((pixel >> 8) & 0xFF, black) << 8 | CmykChannel(pixel & 0xFF, black);
}

// Whole rows of pixels in place; the vector units are used where present.
void CmykRowToRgb(uint32_t* pixels, int32_t count);

}  // namespace pixbase::pixel

#endif
