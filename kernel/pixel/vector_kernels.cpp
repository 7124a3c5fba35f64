// The vector loops of the pixel operations, one copy per vector unit (128,
// 256 and 512 bits), chosen at run time. Each computes exactly what the plain
// loops compute: the conversion uses the same single-precision products and
// sums as the conversion tables, and the import and CMYK loops are integer
// byte moves.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "pixel/cmyk.h"
#include "pixel/color_transforms.h"
#include "pixel/import_kernels.h"
#include "pixel/resample_kernels.h"
#include "pixel/sample_layouts.h"
#include "pixel/tone_tables.h"
#include "pixel/vector_level.h"

#if PIXBASE_PIXEL_X86
#include <immintrin.h>
#endif

// GCC 12 takes the deliberately undefined source operands inside the 512-bit
// intrinsics for uninitialised variables.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace pixbase::pixel {

namespace {

// The byte shuffle control for one 128-bit lane of four pixels with
// one-byte samples: byte 4j + b of the lane receives the sample byte the
// control names (0x80: zero).
struct ImportPlan {
  alignas(16) uint8_t control[16];
  int32_t bytes_per_pixel;  // samples per pixel
  ImportKind kind;
  uint32_t keep;
  uint32_t flip;
};

ImportPlan MakeImportPlan(const SampleLayoutFacts& facts) {
  ImportPlan plan;
  const int samples = facts.samples;
  plan.bytes_per_pixel = samples;
  std::memset(plan.control, 0x80, sizeof plan.control);
  for (int j = 0; j < 4; ++j)
    for (int n = 0; n < samples; ++n)
      plan.control[4 * j + facts.target[n]] = static_cast<uint8_t>(j * samples + n);
  plan.kind = facts.kind;
  plan.keep = facts.keep;
  plan.flip = facts.flip;
  return plan;
}

#if PIXBASE_PIXEL_X86
#define PIXEL_INLINE inline __attribute__((always_inline))

// In each 128-bit lane, the bytes of four pixels' blue, red, green and fourth
// planes (4 each) gathered pixel by pixel; written out for all four lanes so
// that the shuffle reads it from memory as it stands (no broadcast).
alignas(64) constexpr uint8_t kInterleavePlanes[64] = {
    0, 8,  4, 12, 1, 9,  5, 13, 2, 10, 6, 14, 3, 11, 7, 15, 0, 8,  4, 12, 1, 9,
    5, 13, 2, 10, 6, 14, 3, 11, 7, 15, 0, 8,  4, 12, 1, 9,  5, 13, 2, 10, 6, 14,
    3, 11, 7, 15, 0, 8,  4, 12, 1, 9,  5, 13, 2, 10, 6, 14, 3, 11, 7, 15};

// 0, 1, 2, ... in the lanes of a vector of any width.
alignas(64) constexpr uint32_t kLaneIndices[16] = {0, 1, 2,  3,  4,  5,  6,  7,
                                                   8, 9, 10, 11, 12, 13, 14, 15};

namespace sse2 {
#define PIXEL_TARGET __attribute__((target("sse2")))
struct V {
  using I = __m128i;
  using F = __m128;
  static constexpr int kLanes = 4;
  static constexpr bool kHasTernary = false;
  static constexpr bool kConstantsFromMemory = false;
  static constexpr bool kToneWithBytePermutes = false;
  static constexpr bool kPackWithBytePermutes = false;
  static constexpr bool kMaskedMemory = false;
  static PIXEL_TARGET PIXEL_INLINE I Load(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  }
  static PIXEL_TARGET PIXEL_INLINE void Store(uint32_t* p, I v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
  }
  static PIXEL_TARGET PIXEL_INLINE I Set(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  static PIXEL_TARGET PIXEL_INLINE F SetF(float v) { return _mm_set1_ps(v); }
  static PIXEL_TARGET PIXEL_INLINE I And(I a, I b) { return _mm_and_si128(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I Or(I a, I b) { return _mm_or_si128(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I Xor(I a, I b) { return _mm_xor_si128(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I AddIntegers(I a, I b) { return _mm_add_epi32(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I SubtractIntegers(I a, I b) { return _mm_sub_epi32(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I GreaterMask(I a, I b) { return _mm_cmpgt_epi32(a, b); }
  template <int kBits>
  static PIXEL_TARGET PIXEL_INLINE I ShiftRight(I a) {
    return _mm_srli_epi32(a, kBits);
  }
  template <int kBits>
  static PIXEL_TARGET PIXEL_INLINE I ShiftLeft(I a) {
    return _mm_slli_epi32(a, kBits);
  }
  static PIXEL_TARGET PIXEL_INLINE I SubtractSaturatedBytes(I a, I b) {
    return _mm_subs_epu8(a, b);
  }
  static PIXEL_TARGET PIXEL_INLINE F ToFloat(I a) { return _mm_cvtepi32_ps(a); }
  static PIXEL_TARGET PIXEL_INLINE I Truncate(F a) { return _mm_cvttps_epi32(a); }
  static PIXEL_TARGET PIXEL_INLINE F Add(F a, F b) { return _mm_add_ps(a, b); }
  static constexpr float kArgumentScale = 1.0f;
  static PIXEL_TARGET PIXEL_INLINE F AddScaledBack(F a, F b) { return _mm_add_ps(a, b); }
  static PIXEL_TARGET PIXEL_INLINE F Mul(F a, F b) { return _mm_mul_ps(a, b); }
  static PIXEL_TARGET PIXEL_INLINE F Min(F a, F b) { return _mm_min_ps(a, b); }
  static PIXEL_TARGET PIXEL_INLINE F Max(F a, F b) { return _mm_max_ps(a, b); }
  // Saturated to bytes and interleaved: blue, green, red, fourth of each pixel.
  static PIXEL_TARGET PIXEL_INLINE I PackSaturated(I b, I g, I r, I a) {
    const I planes = _mm_packus_epi16(_mm_packs_epi32(b, r), _mm_packs_epi32(g, a));
    const I pairs = _mm_unpacklo_epi8(planes, _mm_srli_si128(planes, 8));
    return _mm_unpacklo_epi16(pairs, _mm_srli_si128(pairs, 8));
  }
  static PIXEL_TARGET PIXEL_INLINE I LookupBytes(const uint8_t* table, I index) {
    alignas(16) int32_t at[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(at), index);
    return _mm_setr_epi32(table[at[0]], table[at[1]], table[at[2]], table[at[3]]);
  }
};
#define PIXEL_HAS_BYTE_SHUFFLE 0
#include "pixel/vector_kernels.inc"
#undef PIXEL_HAS_BYTE_SHUFFLE
#undef PIXEL_TARGET
}  // namespace sse2

namespace avx2 {
#define PIXEL_TARGET __attribute__((target("avx2")))
struct V {
  using I = __m256i;
  using F = __m256;
  static constexpr int kLanes = 8;
  static constexpr bool kWholeBlockLoads = false;
  static constexpr bool kHasTernary = false;
  static constexpr bool kConstantsFromMemory = false;
  static constexpr bool kToneWithBytePermutes = false;
  static constexpr bool kPackWithBytePermutes = false;
  static constexpr bool kMaskedMemory = false;
  static PIXEL_TARGET PIXEL_INLINE I Load(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  static PIXEL_TARGET PIXEL_INLINE void Store(uint32_t* p, I v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
  }
  static PIXEL_TARGET PIXEL_INLINE I Set(uint32_t v) {
    return _mm256_set1_epi32(static_cast<int>(v));
  }
  static PIXEL_TARGET PIXEL_INLINE F SetF(float v) { return _mm256_set1_ps(v); }
  static PIXEL_TARGET PIXEL_INLINE I And(I a, I b) { return _mm256_and_si256(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I Or(I a, I b) { return _mm256_or_si256(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I Xor(I a, I b) { return _mm256_xor_si256(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I AddIntegers(I a, I b) { return _mm256_add_epi32(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I SubtractIntegers(I a, I b) { return _mm256_sub_epi32(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I GreaterMask(I a, I b) { return _mm256_cmpgt_epi32(a, b); }
  template <int kBits>
  static PIXEL_TARGET PIXEL_INLINE I ShiftRight(I a) {
    return _mm256_srli_epi32(a, kBits);
  }
  template <int kBits>
  static PIXEL_TARGET PIXEL_INLINE I ShiftLeft(I a) {
    return _mm256_slli_epi32(a, kBits);
  }
  static PIXEL_TARGET PIXEL_INLINE I SubtractSaturatedBytes(I a, I b) {
    return _mm256_subs_epu8(a, b);
  }
  static PIXEL_TARGET PIXEL_INLINE F ToFloat(I a) { return _mm256_cvtepi32_ps(a); }
  static PIXEL_TARGET PIXEL_INLINE I Truncate(F a) { return _mm256_cvttps_epi32(a); }
  static PIXEL_TARGET PIXEL_INLINE F Add(F a, F b) { return _mm256_add_ps(a, b); }
  static constexpr float kArgumentScale = 1.0f;
  static PIXEL_TARGET PIXEL_INLINE F AddScaledBack(F a, F b) { return _mm256_add_ps(a, b); }
  static PIXEL_TARGET PIXEL_INLINE F Mul(F a, F b) { return _mm256_mul_ps(a, b); }
  static PIXEL_TARGET PIXEL_INLINE F Min(F a, F b) { return _mm256_min_ps(a, b); }
  static PIXEL_TARGET PIXEL_INLINE F Max(F a, F b) { return _mm256_max_ps(a, b); }
  // Saturated to bytes and interleaved: blue, green, red, fourth of each pixel.
  static PIXEL_TARGET PIXEL_INLINE I PackSaturated(I b, I g, I r, I a) {
    const I planes = _mm256_packus_epi16(_mm256_packs_epi32(b, r), _mm256_packs_epi32(g, a));
    return _mm256_shuffle_epi8(
        planes, _mm256_load_si256(reinterpret_cast<const __m256i*>(kInterleavePlanes)));
  }
  static PIXEL_TARGET PIXEL_INLINE I LookupBytes(const uint8_t* table, I index) {
    return _mm256_and_si256(_mm256_i32gather_epi32(reinterpret_cast<const int*>(table), index, 1),
                            _mm256_set1_epi32(0xFF));
  }
  static PIXEL_TARGET PIXEL_INLINE I GatherWords(const uint32_t* table, I index) {
    return _mm256_i32gather_epi32(reinterpret_cast<const int*>(table), index, 4);
  }
  static PIXEL_TARGET PIXEL_INLINE I BroadcastLane(const uint8_t* bytes) {
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(bytes)));
  }
  static PIXEL_TARGET PIXEL_INLINE I LoadLanes(const uint8_t* p, intptr_t lane_bytes) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + lane_bytes));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
  }
  // As LoadLanes over pairs of bytes, keeping the first byte of each pair.
  static PIXEL_TARGET PIXEL_INLINE I LoadLanesOfPairs(const uint8_t* p, intptr_t lane_bytes) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(FirstBytes(p)),
                                   FirstBytes(p + 2 * lane_bytes), 1);
  }
  static PIXEL_TARGET PIXEL_INLINE __m128i FirstBytes(const uint8_t* p) {
    const __m128i low = _mm_set1_epi16(0xFF);
    return _mm_packus_epi16(
        _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), low),
        _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)), low));
  }
  static PIXEL_TARGET PIXEL_INLINE I Shuffle(I a, I control) {
    return _mm256_shuffle_epi8(a, control);
  }
};
#define PIXEL_HAS_BYTE_SHUFFLE 1
#include "pixel/vector_kernels.inc"
#undef PIXEL_HAS_BYTE_SHUFFLE
#undef PIXEL_TARGET
}  // namespace avx2

namespace avx512 {
#define PIXEL_TARGET __attribute__((target("avx512f,avx512bw,avx512vl")))
struct V {
  using I = __m512i;
  using F = __m512;
  static constexpr int kLanes = 16;
  static constexpr bool kHasTernary = true;
  static constexpr bool kConstantsFromMemory = false;
  static constexpr bool kWholeBlockLoads = true;
  // 64 samples from p.
  static PIXEL_TARGET PIXEL_INLINE I LoadBlock(const uint8_t* p) { return _mm512_loadu_si512(p); }
  // The 32-bit words that start each lane's four pixels of `bytes` bytes.
  static PIXEL_TARGET PIXEL_INLINE I LaneStarts(int32_t bytes) {
    const I lane = _mm512_set_epi32(3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0);
    const I word = _mm512_set_epi32(3, 2, 1, 0, 3, 2, 1, 0, 3, 2, 1, 0, 3, 2, 1, 0);
    return _mm512_add_epi32(_mm512_mullo_epi32(lane, _mm512_set1_epi32(bytes)), word);
  }
  static PIXEL_TARGET PIXEL_INLINE I Spread(I block, I starts) {
    return _mm512_permutexvar_epi32(starts, block);
  }
  static constexpr bool kToneWithBytePermutes = false;
  static constexpr bool kPackWithBytePermutes = false;
  // Raw components (see EntersRaw) save an operation each but need two
  // constants per product. The first component enters raw wherever it may
  // (its byte moved by one shuffle, where converting it takes a mask and a
  // conversion); the second and third only in the 64-bit build: the 32-bit
  // one reads its constants from memory (see kConstantsFromMemory), and
  // there the second constant of each product costs more than the operation
  // saved.
  static constexpr bool kRawLaterComponents = sizeof(void*) == 8;
  // The first `count` (below 16) pixels from p, the others zero; and back.
  static constexpr bool kMaskedMemory = true;
  static PIXEL_TARGET PIXEL_INLINE I LoadFirst(const uint32_t* p, int32_t count) {
    return _mm512_maskz_loadu_epi32(static_cast<__mmask16>((1u << count) - 1), p);
  }
  static PIXEL_TARGET PIXEL_INLINE void StoreFirst(uint32_t* p, int32_t count, I v) {
    _mm512_mask_storeu_epi32(p, static_cast<__mmask16>((1u << count) - 1), v);
  }
  // (a & mask) | bits in one operation.
  static PIXEL_TARGET PIXEL_INLINE I AndOr(I a, I mask, I bits) {
    return _mm512_ternarylogic_epi32(a, mask, bits, 0xEA);
  }
  // The bits kBits with byte kByte of each element of `a` in bits 8 to 15
  // (for the bits of a power of two 2^e, the float 2^e + 2^(e-15) * byte):
  // one merging byte shuffle, where a shift and AndOr would take two
  // operations. (The mask is formed by an instruction: the 32-bit build has
  // no 64-bit immediates, see WithoutFourthBytes.)
  template <int kByte, uint32_t kBits>
  static PIXEL_TARGET PIXEL_INLINE I ByteIntoBitsEightToFifteen(I a) {
    const __mmask64 second_bytes = _mm512_movepi8_mask(_mm512_set1_epi32(0x00008000));
    const I from_byte =
        _mm512_set4_epi32((12 + kByte) << 8, (8 + kByte) << 8, (4 + kByte) << 8, kByte << 8);
    return _mm512_mask_shuffle_epi8(_mm512_set1_epi32(static_cast<int>(kBits)), second_bytes, a,
                                    from_byte);
  }
  static PIXEL_TARGET PIXEL_INLINE F AsFloat(I a) { return _mm512_castsi512_ps(a); }
  static PIXEL_TARGET PIXEL_INLINE F Sub(F a, F b) { return _mm512_sub_ps(a, b); }
  // a * b - c rounded once: used only where the product and the difference
  // are exact, so it equals the separate operations.
  static PIXEL_TARGET PIXEL_INLINE F ExactMulSub(F a, F b, F c) { return _mm512_fmsub_ps(a, b, c); }
  // a * b - c rounded once.
  static PIXEL_TARGET PIXEL_INLINE F MulSubRoundedOnce(F a, F b, F c) {
    return _mm512_fmsub_ps(a, b, c);
  }
  static PIXEL_TARGET PIXEL_INLINE I Load(const uint32_t* p) { return _mm512_loadu_si512(p); }
  static PIXEL_TARGET PIXEL_INLINE void Store(uint32_t* p, I v) { _mm512_storeu_si512(p, v); }
  static PIXEL_TARGET PIXEL_INLINE I Set(uint32_t v) {
    return _mm512_set1_epi32(static_cast<int>(v));
  }
  static PIXEL_TARGET PIXEL_INLINE F SetF(float v) { return _mm512_set1_ps(v); }
  static PIXEL_TARGET PIXEL_INLINE I And(I a, I b) { return _mm512_and_si512(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I Or(I a, I b) { return _mm512_or_si512(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I Xor(I a, I b) { return _mm512_xor_si512(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I AddIntegers(I a, I b) { return _mm512_add_epi32(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I SubtractIntegers(I a, I b) { return _mm512_sub_epi32(a, b); }
  static PIXEL_TARGET PIXEL_INLINE I GreaterMask(I a, I b) {
    return _mm512_maskz_set1_epi32(_mm512_cmpgt_epi32_mask(a, b), -1);
  }
  template <int kBits>
  static PIXEL_TARGET PIXEL_INLINE I ShiftRight(I a) {
    return _mm512_srli_epi32(a, kBits);
  }
  template <int kBits>
  static PIXEL_TARGET PIXEL_INLINE I ShiftLeft(I a) {
    return _mm512_slli_epi32(a, kBits);
  }
  static PIXEL_TARGET PIXEL_INLINE I SubtractSaturatedBytes(I a, I b) {
    return _mm512_subs_epu8(a, b);
  }
  static PIXEL_TARGET PIXEL_INLINE F ToFloat(I a) { return _mm512_cvtepi32_ps(a); }
  static PIXEL_TARGET PIXEL_INLINE I Truncate(F a) { return _mm512_cvttps_epi32(a); }
  static PIXEL_TARGET PIXEL_INLINE F Add(F a, F b) { return _mm512_add_ps(a, b); }
  // Arguments (and so every product and sum) come times 2^16; a * 2^-16 + b
  // rounded once is the single-precision sum of b and the unscaled value.
  static constexpr float kArgumentScale = 65536.0f;
  static PIXEL_TARGET PIXEL_INLINE F AddScaledBack(F a, F b) {
    return _mm512_fmadd_ps(a, _mm512_set1_ps(1.0f / 65536.0f), b);
  }
  static PIXEL_TARGET PIXEL_INLINE F Mul(F a, F b) { return _mm512_mul_ps(a, b); }
  static PIXEL_TARGET PIXEL_INLINE F Min(F a, F b) { return _mm512_min_ps(a, b); }
  static PIXEL_TARGET PIXEL_INLINE F Max(F a, F b) { return _mm512_max_ps(a, b); }
  // Saturated to bytes and interleaved: blue, green, red, fourth of each pixel.
  static PIXEL_TARGET PIXEL_INLINE I PackSaturated(I b, I g, I r, I a) {
    const I planes = _mm512_packus_epi16(_mm512_packs_epi32(b, r), _mm512_packs_epi32(g, a));
    return _mm512_shuffle_epi8(planes, _mm512_load_si512(kInterleavePlanes));
  }
  static PIXEL_TARGET PIXEL_INLINE I LookupBytes(const uint8_t* table, I index) {
    return _mm512_and_si512(_mm512_i32gather_epi32(index, table, 1), _mm512_set1_epi32(0xFF));
  }
  static PIXEL_TARGET PIXEL_INLINE I GatherWords(const uint32_t* table, I index) {
    return _mm512_i32gather_epi32(index, table, 4);
  }
  static PIXEL_TARGET PIXEL_INLINE I BroadcastLane(const uint8_t* bytes) {
    return _mm512_broadcast_i32x4(_mm_load_si128(reinterpret_cast<const __m128i*>(bytes)));
  }
  static PIXEL_TARGET PIXEL_INLINE I LoadLanes(const uint8_t* p, intptr_t lane_bytes) {
    I v = _mm512_castsi128_si512(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    v = _mm512_inserti32x4(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + lane_bytes)), 1);
    v = _mm512_inserti32x4(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * lane_bytes)),
                           2);
    return _mm512_inserti32x4(
        v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 3 * lane_bytes)), 3);
  }
  // As LoadLanes over pairs of bytes, keeping the first byte of each pair.
  static PIXEL_TARGET PIXEL_INLINE I LoadLanesOfPairs(const uint8_t* p, intptr_t lane_bytes) {
    I v = _mm512_castsi128_si512(FirstBytes(p));
    v = _mm512_inserti32x4(v, FirstBytes(p + 2 * lane_bytes), 1);
    v = _mm512_inserti32x4(v, FirstBytes(p + 4 * lane_bytes), 2);
    return _mm512_inserti32x4(v, FirstBytes(p + 6 * lane_bytes), 3);
  }
  static PIXEL_TARGET PIXEL_INLINE __m128i FirstBytes(const uint8_t* p) {
    return _mm256_cvtepi16_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
  }
  static PIXEL_TARGET PIXEL_INLINE I Shuffle(I a, I control) {
    return _mm512_shuffle_epi8(a, control);
  }
};
#define PIXEL_HAS_BYTE_SHUFFLE 1
#include "pixel/vector_kernels.inc"
#undef PIXEL_HAS_BYTE_SHUFFLE
#undef PIXEL_TARGET
}  // namespace avx512

// Colour map lookups with the byte permutes of the VBMI extension: the map is
// split into four planes of 256 bytes (blue, green, red, fourth), each looked
// up 64 indices at a time from four registers, and the planes interleaved
// back into pixels.
namespace vbmi {
#define PIXEL_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))

struct Planes {
  __m512i part[4][4];  // [plane][entries 64q to 64q + 63]
};

// Only entries 0 to last are read (masked loads touch nothing outside their
// mask), so a map may end right after the largest index of the line; the
// planes' other bytes are zero and never looked up. Each 16-byte lane of
// four entries is first sorted by plane, then each plane's 32-bit words
// gathered from the four registers of a quarter.
PIXEL_TARGET PIXEL_INLINE void SplitMap(const uint32_t* map, int32_t last, Planes& planes) {
  alignas(16) static constexpr uint8_t kByPlane[16] = {0, 4, 8,  12, 1, 5, 9,  13,
                                                       2, 6, 10, 14, 3, 7, 11, 15};
  const __m512i by_plane =
      _mm512_broadcast_i32x4(_mm_load_si128(reinterpret_cast<const __m128i*>(kByPlane)));
  for (int q = 0; q < 4; ++q) {
    __m512i sorted[4];  // word 4L + p: plane p of entries 64q + 16r + 4L to + 3
    for (int r = 0; r < 4; ++r) {
      const int32_t first = 64 * q + 16 * r;
      const int32_t wanted = last - first + 1;  // entries of this block in use
      const __mmask16 mask = wanted >= 16  ? static_cast<__mmask16>(0xFFFF)
                             : wanted <= 0 ? static_cast<__mmask16>(0)
                                           : static_cast<__mmask16>((1u << wanted) - 1);
      sorted[r] = _mm512_shuffle_epi8(_mm512_maskz_loadu_epi32(mask, map + first), by_plane);
    }
    for (int plane = 0; plane < 4; ++plane) {
      // Word m of the plane: entries 4m to 4m + 3, from register m / 4.
      const __m512i words =
          _mm512_set_epi32(16 + 12 + plane, 16 + 8 + plane, 16 + 4 + plane, 16 + plane, 12 + plane,
                           8 + plane, 4 + plane, plane, 16 + 12 + plane, 16 + 8 + plane,
                           16 + 4 + plane, 16 + plane, 12 + plane, 8 + plane, 4 + plane, plane);
      planes.part[plane][q] =
          _mm512_mask_blend_epi32(0xFF00, _mm512_permutex2var_epi32(sorted[0], words, sorted[1]),
                                  _mm512_permutex2var_epi32(sorted[2], words, sorted[3]));
    }
  }
}

// With kHigh false every index is below 128 and the upper half of the planes
// is not consulted.
template <bool kHigh>
PIXEL_TARGET PIXEL_INLINE __m512i LookUp(const Planes& planes, int plane, __m512i index,
                                         __mmask64 high) {
  const __m512i low_half =
      _mm512_permutex2var_epi8(planes.part[plane][0], index, planes.part[plane][1]);
  if constexpr (!kHigh) {
    (void)high;
    return low_half;
  } else {
    const __m512i high_half =
        _mm512_permutex2var_epi8(planes.part[plane][2], index, planes.part[plane][3]);
    return _mm512_mask_blend_epi8(high, low_half, high_half);
  }
}

// Indices reordered so that the in-lane interleaving below leaves 16 whole
// pixels in order in each result: position 16L + 4k + j takes pixel
// 16k + 4L + j, whose index is byte `width` times that of the samples read.
struct IndexOrder {
  alignas(64) uint8_t at[64];
  constexpr explicit IndexOrder(int width) : at() {
    for (int lane = 0; lane < 4; ++lane)
      for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 4; ++j)
          at[16 * lane + 4 * k + j] = static_cast<uint8_t>(width * (16 * k + 4 * lane + j));
  }
};
constexpr IndexOrder kOrderOfBytes{1}, kOrderOfPairs{2};

// The 64 indices of pixels i to i + 63 in the order above (samples of one or
// two bytes; of two, the first bytes, picked from both registers at once).
PIXEL_TARGET PIXEL_INLINE __m512i LoadIndices(const uint8_t* source, int32_t stride, int32_t i) {
  if (stride == 2) {
    const uint8_t* at = source + 2 * static_cast<size_t>(i);
    return _mm512_permutex2var_epi8(_mm512_loadu_si512(at), _mm512_load_si512(kOrderOfPairs.at),
                                    _mm512_loadu_si512(at + 64));
  }
  return _mm512_permutexvar_epi8(_mm512_load_si512(kOrderOfBytes.at),
                                 _mm512_loadu_si512(source + i));
}

// One block of 64 pixels from their indices, read in order.
template <bool kHigh>
PIXEL_TARGET PIXEL_INLINE void LookUpBlock(const Planes& planes, __m512i index, uint32_t* pixels) {
  const __mmask64 high = _mm512_movepi8_mask(index);
  const __m512i blue = LookUp<kHigh>(planes, 0, index, high);
  const __m512i green = LookUp<kHigh>(planes, 1, index, high);
  const __m512i red = LookUp<kHigh>(planes, 2, index, high);
  const __m512i fourth = LookUp<kHigh>(planes, 3, index, high);
  const __m512i bg_low = _mm512_unpacklo_epi8(blue, green);
  const __m512i bg_high = _mm512_unpackhi_epi8(blue, green);
  const __m512i rf_low = _mm512_unpacklo_epi8(red, fourth);
  const __m512i rf_high = _mm512_unpackhi_epi8(red, fourth);
  _mm512_storeu_si512(pixels, _mm512_unpacklo_epi16(bg_low, rf_low));
  _mm512_storeu_si512(pixels + 16, _mm512_unpackhi_epi16(bg_low, rf_low));
  _mm512_storeu_si512(pixels + 32, _mm512_unpacklo_epi16(bg_high, rf_high));
  _mm512_storeu_si512(pixels + 48, _mm512_unpackhi_epi16(bg_high, rf_high));
}

// The largest of 64 byte indices.
PIXEL_TARGET PIXEL_INLINE int32_t LargestIndex(__m512i indices) {
  // Byte maxima folded into the low byte of each 32-bit element.
  indices = _mm512_max_epu8(indices, _mm512_srli_epi32(indices, 16));
  indices = _mm512_max_epu8(indices, _mm512_srli_epi32(indices, 8));
  return static_cast<int32_t>(
      _mm512_reduce_max_epu32(_mm512_and_si512(indices, _mm512_set1_epi32(0xFF))));
}

// The map is read only up to the largest index of the pixels done here,
// which the plain loop reads too: a map needs no more entries than its image
// uses.
PIXEL_TARGET int32_t ImportIndices(int32_t count, int32_t stride, uint32_t* pixels,
                                   const uint32_t* map, const uint8_t* source) {
  const int32_t blocks = count / 64;
  if (blocks == 0) return 0;
  // The largest index: for pairs, of the first bytes (the words masked).
  __m512i largest = _mm512_setzero_si512();
  if (stride == 2) {
    const __m512i first_bytes = _mm512_set1_epi16(0xFF);
    for (int32_t at = 0; at < 128 * blocks; at += 64)
      largest =
          _mm512_max_epu16(largest, _mm512_and_si512(_mm512_loadu_si512(source + at), first_bytes));
  } else {
    for (int32_t at = 0; at < 64 * blocks; at += 64)
      largest = _mm512_max_epu8(largest, _mm512_loadu_si512(source + at));
  }
  const int32_t last = LargestIndex(largest);
  Planes planes;
  SplitMap(map, last, planes);
  if (last < 128) {
    for (int32_t i = 0; i < 64 * blocks; i += 64)
      LookUpBlock<false>(planes, LoadIndices(source, stride, i), pixels + i);
  } else {
    for (int32_t i = 0; i < 64 * blocks; i += 64)
      LookUpBlock<true>(planes, LoadIndices(source, stride, i), pixels + i);
  }
  return 64 * blocks;
}

// Samples of the other layouts (but index and alpha), 16 pixels a block:
// one byte permute puts the first byte of every sample of the block into the
// byte of its pixel, reading one register of one-byte samples or two of
// two-byte samples. The bytes a layout keeps come from the destination (the
// permute leaves them, or a blend does), inverted ones are flipped, and
// CMYK goes through its rule. Every read stays inside the line.
struct SamplePermute {
  alignas(64) uint8_t index[64] = {};
  __mmask64 filled = 0;  // the pixel bytes that receive a sample
};

// Every layout's permutes, for samples of one and of two bytes, made once.
struct SamplePermutes {
  SamplePermute of[SampleCMYK + 1][2];
  constexpr SamplePermutes() : of() {
    for (int layout = 0; layout <= SampleCMYK; ++layout)
      for (int stride = 1; stride <= 2; ++stride) {
        const SampleLayoutFacts& facts = kSampleLayouts[layout];
        SamplePermute& permute = of[layout][stride - 1];
        for (int p = 0; p < 16; ++p)
          for (int n = 0; n < facts.samples; ++n) {
            const int at = 4 * p + facts.target[n];
            permute.index[at] = static_cast<uint8_t>(stride * (p * facts.samples + n));
            permute.filled |= __mmask64{1} << at;
          }
      }
  }
};
constexpr SamplePermutes kSamplePermutes;

template <ImportKind kKind, bool kKeeps, int kStride>
PIXEL_TARGET int32_t ImportSamplesOf(const SamplePermute& permute, uint32_t flip, int32_t samples,
                                     int32_t count, uint32_t* pixels, const uint8_t* source) {
  const __m512i index = _mm512_load_si512(permute.index);
  const __m512i flips = _mm512_set1_epi32(static_cast<int>(flip));
  const intptr_t block_bytes = 16 * samples * kStride;
  const intptr_t read_bytes = 64 * kStride;
  const intptr_t total = static_cast<intptr_t>(count) * samples * kStride;
  int32_t i = 0;
  for (intptr_t at = 0; total - at >= read_bytes; at += block_bytes, i += 16) {
    __m512i bytes;
    if constexpr (kStride == 2) {
      bytes = _mm512_maskz_permutex2var_epi8(permute.filled, _mm512_loadu_si512(source + at), index,
                                             _mm512_loadu_si512(source + at + 64));
      if constexpr (kKeeps)
        bytes = _mm512_mask_blend_epi8(permute.filled, _mm512_loadu_si512(pixels + i), bytes);
    } else if constexpr (kKeeps) {
      bytes = _mm512_mask_permutexvar_epi8(_mm512_loadu_si512(pixels + i), permute.filled, index,
                                           _mm512_loadu_si512(source + at));
    } else {
      bytes = _mm512_maskz_permutexvar_epi8(permute.filled, index, _mm512_loadu_si512(source + at));
    }
    if constexpr (kKind == ImportKind::kCmyk) {
      bytes = avx512::CmykBlock(bytes);
    } else {
      bytes = _mm512_xor_si512(bytes, flips);
    }
    _mm512_storeu_si512(pixels + i, bytes);
  }
  return i;
}

template <int kStride>
PIXEL_TARGET int32_t ImportSamplesWith(const SamplePermute& permute, const SampleLayoutFacts& facts,
                                       int32_t count, uint32_t* pixels, const uint8_t* source) {
  if (facts.kind == ImportKind::kCmyk)
    return ImportSamplesOf<ImportKind::kCmyk, false, kStride>(permute, 0, facts.samples, count,
                                                              pixels, source);
  if (facts.keep != 0)
    return ImportSamplesOf<ImportKind::kSamples, true, kStride>(permute, facts.flip, facts.samples,
                                                                count, pixels, source);
  return ImportSamplesOf<ImportKind::kSamples, false, kStride>(permute, facts.flip, facts.samples,
                                                               count, pixels, source);
}

PIXEL_TARGET int32_t ImportSamples(int32_t layout, int32_t stride, int32_t count, uint32_t* pixels,
                                   const uint8_t* source) {
  const SampleLayoutFacts& facts = kSampleLayouts[layout];
  const SamplePermute& permute = kSamplePermutes.of[layout][stride - 1];
  return stride == 2 ? ImportSamplesWith<2>(permute, facts, count, pixels, source)
                     : ImportSamplesWith<1>(permute, facts, count, pixels, source);
}

// The conversions with a tone curve: the three tone indices of 16 pixels
// narrowed into one register of 48 bytes, each looked up with byte permutes
// in three pairs of registers holding entries 0 to 383 (the table's
// storage), and the fourth bytes put back.

// Byte 4p + c takes byte `part` (0 low, 1 high) of pixel p's index of
// channel c (blue, green, red; the fourth byte repeats blue) from the words
// packed as packus(blue, green) ++ packus(red, red): in 128-bit lane L, word
// j of the first register is blue of pixel 4L + j, word 4 + j its green,
// and word j of the second its red.
struct IndexBytes {
  alignas(64) uint8_t order[64];
  constexpr explicit IndexBytes(int part) : order() {
    for (int p = 0; p < 16; ++p) {
      const int lane = p / 4, j = p % 4;
      const int at[4] = {16 * lane + 2 * j, 16 * lane + 8 + 2 * j, 64 + 16 * lane + 2 * j,
                         16 * lane + 2 * j};
      for (int c = 0; c < 4; ++c) order[4 * p + c] = static_cast<uint8_t>(at[c] + part);
    }
  }
};
constexpr IndexBytes kLowIndexBytes{0}, kHighIndexBytes{1};

// Output byte 4p + c of the linear conversions (pixel p = 4L + j of lane L;
// c: blue, green, red, fourth) from the packed words of red and green (the
// first register: red at byte 16L + 2j, green at 16L + 8 + 2j) and of blue
// (the second, at 64 + 16L + 2j); the fourth byte is not written.
struct ChannelBytes {
  alignas(64) uint8_t order[64];
  constexpr ChannelBytes() : order() {
    for (int p = 0; p < 16; ++p) {
      const int lane = p / 4, j = p % 4;
      order[4 * p] = static_cast<uint8_t>(64 + 16 * lane + 2 * j);
      order[4 * p + 1] = static_cast<uint8_t>(16 * lane + 8 + 2 * j);
      order[4 * p + 2] = static_cast<uint8_t>(16 * lane + 2 * j);
      order[4 * p + 3] = 0;
    }
  }
};
constexpr ChannelBytes kChannelBytes;

// The bytes of 16 pixels but their fourth. Formed by an instruction rather
// than written as a constant: the 32-bit build, which has no 64-bit
// immediates, would otherwise write the constant to memory in two halves and
// read it back whole in every pass of a loop, a read that must wait for both
// writes.
PIXEL_TARGET PIXEL_INLINE __mmask64 WithoutFourthBytes() {
  return _mm512_movepi8_mask(_mm512_set1_epi32(0x00808080));
}

struct V : avx512::V {
  // The 32-bit build has eight vector registers: the conversion loops read
  // their constants from memory (see Constant). Measured with eight
  // registers, a block's constants kept as whole vectors on the stack cost
  // more than reading each as four bytes where it is used.
  static constexpr bool kConstantsFromMemory = sizeof(void*) == 4;
  template <uint32_t kBits>
  struct Bits {
    static constexpr uint32_t value = kBits;
  };
  // kBits in every element, read from memory each time: the compiler would
  // read the value once before the loop and keep the vector (volatile, so
  // that every use is a read of its own; a broadcast read takes no vector
  // port).
  template <uint32_t kBits>
  static PIXEL_TARGET PIXEL_INLINE I Broadcast() {
    I v;
    asm volatile("vpbroadcastd %1, %0" : "=v"(v) : "m"(Bits<kBits>::value));
    return v;
  }
  static constexpr bool kToneWithBytePermutes = true;
  static constexpr bool kPackWithBytePermutes = true;

  // The sums (times 2^16) rounded to the nearest integer, ties to even, in
  // the low 16 bits of each element (signed; the high 16 bits are above 255
  // as a signed word): v + 1.5 * 2^39 rounded once lies in 2^39 to 2^40,
  // where the floats are spaced by 2^16, so its bits are those of 1.5 * 2^39
  // plus the rounded sum, for any sum below 2^22 in magnitude.
  static PIXEL_TARGET PIXEL_INLINE I RoundedToNearest(F v) {
    return _mm512_castps_si512(_mm512_add_round_ps(v, _mm512_set1_ps(824633720832.0f),
                                                   _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC));
  }
  // As RoundedToNearest, but the sum plus exactly one half (times 2^16)
  // rounded down: 819200 * 1006633 = 1.5 * 2^39 + 2^15, a product of two
  // floats that the fused multiply-add adds to the sum exactly before its
  // one rounding.
  static PIXEL_TARGET PIXEL_INLINE I HalfAddedRoundedDown(F v) {
    return _mm512_castps_si512(_mm512_fmadd_round_ps(_mm512_set1_ps(819200.0f),
                                                     _mm512_set1_ps(1006633.0f), v,
                                                     _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC));
  }
  // a * b + c rounded once.
  static PIXEL_TARGET PIXEL_INLINE F MulAdd(F a, F b, F c) { return _mm512_fmadd_ps(a, b, c); }
  // The greatest integer not above each element (which must lie below 2^31
  // in magnitude).
  static PIXEL_TARGET PIXEL_INLINE I Floored(F v) {
    return _mm512_cvt_roundps_epi32(v, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
  }

  // Two registers of signed low words to bytes, saturated: in each 128-bit
  // lane, the first's at bytes 0, 2, 4, 6 and the second's at 8 to 14 (the
  // high words land on the odd bytes, which are dropped).
  static PIXEL_TARGET PIXEL_INLINE I PackWords(I first, I second) {
    return _mm512_packus_epi16(first, second);
  }

  // Writes blue, green and red of 16 pixels from PackWords(red, green) and
  // PackWords(blue, blue), leaving the fourth bytes in memory as they are.
  static PIXEL_TARGET PIXEL_INLINE void StorePacked(uint32_t* pixels, I red_green, I blues) {
    const I bytes =
        _mm512_permutex2var_epi8(red_green, _mm512_load_si512(kChannelBytes.order), blues);
    _mm512_mask_storeu_epi8(pixels, WithoutFourthBytes(), bytes);
  }

  // Indices, clamped here to 0..350 (by the packing and a minimum), to the
  // curve's bytes, written over blue, green and red of 16 pixels (the fourth
  // bytes in memory stay).
  static PIXEL_TARGET PIXEL_INLINE void StoreToneBytes(uint32_t* pixels, const uint8_t* table,
                                                       I blue, I green, I red) {
    const I last = _mm512_set1_epi16(350);
    const I blue_green = _mm512_min_epu16(_mm512_packus_epi32(blue, green), last);
    const I red_red = _mm512_min_epu16(_mm512_packus_epi32(red, red), last);
    const I low =
        _mm512_permutex2var_epi8(blue_green, _mm512_load_si512(kLowIndexBytes.order), red_red);
    const I high =
        _mm512_permutex2var_epi8(blue_green, _mm512_load_si512(kHighIndexBytes.order), red_red);
    const __mmask64 from_128 = _mm512_movepi8_mask(low);  // bit 7 of the index
    const __mmask64 from_256 = _mm512_test_epi8_mask(high, _mm512_set1_epi8(1));
    const I first =
        _mm512_permutex2var_epi8(_mm512_loadu_si512(table), low, _mm512_loadu_si512(table + 64));
    const I second = _mm512_permutex2var_epi8(_mm512_loadu_si512(table + 128), low,
                                              _mm512_loadu_si512(table + 192));
    const I third = _mm512_permutex2var_epi8(_mm512_loadu_si512(table + 256), low,
                                             _mm512_loadu_si512(table + 320));
    const I bytes =
        _mm512_mask_blend_epi8(from_256, _mm512_mask_blend_epi8(from_128, first, second), third);
    _mm512_mask_storeu_epi8(pixels, WithoutFourthBytes(), bytes);
  }
};
#define PIXEL_HAS_BYTE_SHUFFLE 0
#define PIXEL_CONVERSION_ONLY 1
#include "pixel/vector_kernels.inc"
#undef PIXEL_CONVERSION_ONLY
#undef PIXEL_HAS_BYTE_SHUFFLE
#undef PIXEL_TARGET
}  // namespace vbmi
#endif  // PIXBASE_PIXEL_X86

}  // namespace

void ConvertRowVector(int32_t level, TransformIndex transform, uint32_t* pixels, int32_t count) {
  const uint8_t* tone = ToneTableOf(kColorTransforms[transform].tone);
#if PIXBASE_PIXEL_X86
  if (level >= static_cast<int32_t>(VectorLevel::kAvx512Vbmi))
    return vbmi::ConvertRow(transform, pixels, count, tone);
  if (level >= static_cast<int32_t>(VectorLevel::kAvx512))
    return avx512::ConvertRow(transform, pixels, count, tone);
  if (level >= static_cast<int32_t>(VectorLevel::kAvx2))
    return avx2::ConvertRow(transform, pixels, count, tone);
  if (level >= static_cast<int32_t>(VectorLevel::kSse2))
    return sse2::ConvertRow(transform, pixels, count, tone);
#endif
  (void)level, (void)transform, (void)pixels, (void)count, (void)tone;
}

namespace {

// The loops that every unit from SSE2 up has in the same form.
struct UnitLoops {
  void (*cmyk_row)(uint32_t* pixels, int32_t count);
  int32_t (*widening_map)(float ratio, int32_t* map, int32_t count);
  int32_t (*narrowing_map)(int32_t source, int32_t destination, int32_t* map);
};

// Those of the active level's unit; none below SSE2.
const UnitLoops* ActiveUnitLoops() {
#if PIXBASE_PIXEL_X86
  static constexpr UnitLoops kSse2{sse2::CmykRow, sse2::WideningMap, sse2::NarrowingMap};
  static constexpr UnitLoops kAvx2{avx2::CmykRow, avx2::WideningMap, avx2::NarrowingMap};
  static constexpr UnitLoops kAvx512{avx512::CmykRow, avx512::WideningMap, avx512::NarrowingMap};
  switch (ActiveVectorLevel()) {
    case VectorLevel::kAvx512Vbmi:
    case VectorLevel::kAvx512:
      return &kAvx512;
    case VectorLevel::kAvx2:
      return &kAvx2;
    case VectorLevel::kSse2:
      return &kSse2;
    default:
      break;
  }
#endif
  return nullptr;
}

}  // namespace

void CmykRowToRgb(uint32_t* pixels, int32_t count) {
  if (const UnitLoops* loops = ActiveUnitLoops()) return loops->cmyk_row(pixels, count);
  for (int32_t i = 0; i < count; ++i) pixels[i] = CmykToRgb(pixels[i]);
}

int32_t WideningMapVector(float ratio, int32_t* map, int32_t count) {
  const UnitLoops* loops = ActiveUnitLoops();
  return loops != nullptr ? loops->widening_map(ratio, map, count) : 0;
}

int32_t NarrowingMapVector(int32_t source, int32_t destination, int32_t* map) {
  const UnitLoops* loops = ActiveUnitLoops();
  return loops != nullptr ? loops->narrowing_map(source, destination, map) : 0;
}

int32_t ImportLineVector(int32_t count, int32_t stride, uint32_t* pixels, const uint32_t* map,
                         int32_t layout, const uint8_t* source) {
#if PIXBASE_PIXEL_X86
  const SampleLayoutFacts& facts = kSampleLayouts[layout];
  const VectorLevel level = ActiveVectorLevel();
  if (level < VectorLevel::kAvx2) return 0;
  if (facts.kind == ImportKind::kIndex) {
    // Plain loads beat the gather unit; byte permutes beat both.
    if (level == VectorLevel::kAvx512Vbmi)
      return vbmi::ImportIndices(count, stride, pixels, map, source);
    return 0;
  }
  // Byte permutes for the sample layouts but where four one-byte samples
  // fill each pixel (one in-lane shuffle does that as fast).
  if (level == VectorLevel::kAvx512Vbmi &&
      (facts.kind == ImportKind::kSamples || facts.kind == ImportKind::kCmyk) &&
      (stride == 2 || facts.samples != 4))
    return vbmi::ImportSamples(layout, stride, count, pixels, source);
  const ImportPlan plan = MakeImportPlan(facts);
  if (level >= VectorLevel::kAvx512)
    return avx512::ImportRow(plan, stride, count, pixels, map, source);
  return avx2::ImportRow(plan, stride, count, pixels, map, source);
#else
  (void)count, (void)stride, (void)pixels, (void)map, (void)layout, (void)source;
  return 0;
#endif
}

}  // namespace pixbase::pixel
