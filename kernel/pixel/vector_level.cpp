// Detection of the vector units, once per process.
#include "pixel/vector_level.h"

namespace pixbase::pixel {

namespace {

VectorLevel Detect() {
#if PIXBASE_PIXEL_X86
  __builtin_cpu_init();
  // The checks include the operating system's saving of the wider registers.
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512vl"))
    return __builtin_cpu_supports("avx512vbmi") ? VectorLevel::kAvx512Vbmi : VectorLevel::kAvx512;
  if (__builtin_cpu_supports("avx2")) return VectorLevel::kAvx2;
  if (__builtin_cpu_supports("sse2")) return VectorLevel::kSse2;
#endif
  return VectorLevel::kPlain;
}

#ifdef PIXBASE_TEST_HOOKS
VectorLevel limit = kWidestVectorLevel;
#endif

}  // namespace

VectorLevel ProcessorVectorLevel() {
  static const VectorLevel level = Detect();
  return level;
}

VectorLevel ActiveVectorLevel() {
  VectorLevel level = ProcessorVectorLevel();
#ifdef PIXBASE_TEST_HOOKS
  if (limit < level) level = limit;
#endif
  return level;
}

#ifdef PIXBASE_TEST_HOOKS
void LimitVectorLevel(VectorLevel level) { limit = level; }
#endif

}  // namespace pixbase::pixel
