// The widest vector unit the pixel loops may use, found at run time: the
// library never requires more than the processor offers.
#ifndef PIXBASE_PIXEL_VECTOR_LEVEL_H
#define PIXBASE_PIXEL_VECTOR_LEVEL_H

#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#define PIXBASE_PIXEL_X86 1
#else
#define PIXBASE_PIXEL_X86 0
#endif

namespace pixbase::pixel {

enum class VectorLevel : int32_t {
  kPlain = 0,       // no vector unit: the plain loops
  kSse2 = 1,        // 128 bits
  kAvx2 = 2,        // 256 bits
  kAvx512 = 3,      // 512 bits (foundation, byte/word and vector-length instructions)
  kAvx512Vbmi = 4,  // and the byte permutes of VBMI
};

inline constexpr VectorLevel kWidestVectorLevel = VectorLevel::kAvx512Vbmi;

// The level in use: the processor's, lowered by LimitVectorLevel.
VectorLevel ActiveVectorLevel();
// The processor's own level.
VectorLevel ProcessorVectorLevel();

#ifdef PIXBASE_TEST_HOOKS
// Test builds: use at most `level` (so that each path can be compared with
// the others); kWidestVectorLevel lifts the limit.
void LimitVectorLevel(VectorLevel level);
#endif

}  // namespace pixbase::pixel

#endif
