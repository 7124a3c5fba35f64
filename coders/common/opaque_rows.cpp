// Widening of three-byte samples to quads, four pixels (three words) at a
// time.
#include "opaque_rows.h"

#include <cstring>

#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the word arithmetic below assumes a little-endian processor"
#endif

namespace lumaview::coders {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;  // alpha 255 in the quad's fourth byte

// The quad of one pixel whose three bytes are the low bytes of `v`.
inline uint32_t Quad(uint32_t v, bool blue_first) {
  v &= 0xFFFFFFu;
  return (blue_first ? __builtin_bswap32(v << 8) : v) | kOpaque;
}

}  // namespace

void ImportOpaqueTriples(int32_t count, PackedPixel* pixels, const uint8_t* samples,
                         bool blue_first, uint8_t* quads) {
  if (count <= 0) return;
  int32_t x = 0;
  for (; x + 4 <= count; x += 4) {
    uint32_t w[3];
    std::memcpy(w, samples + 3 * x, sizeof w);
    const uint32_t out[4] = {Quad(w[0], blue_first), Quad(w[0] >> 24 | w[1] << 8, blue_first),
                             Quad(w[1] >> 16 | w[2] << 16, blue_first),
                             Quad(w[2] >> 8, blue_first)};
    std::memcpy(quads + 4 * x, out, sizeof out);
  }
  for (; x < count; ++x) {
    const uint8_t* s = samples + 3 * x;
    const uint32_t v = static_cast<uint32_t>(s[0]) | static_cast<uint32_t>(s[1]) << 8 |
                       static_cast<uint32_t>(s[2]) << 16;
    const uint32_t q = Quad(v, blue_first);
    std::memcpy(quads + 4 * x, &q, sizeof q);
  }
  ImportPixelSamples(count, 8, pixels, nullptr, SampleRGBA, quads);
}

}  // namespace lumaview::coders
