// Single-precision results on every build. Where float arithmetic is carried
// out at a wider precision (the x87 unit of the 32-bit build), a value is
// rounded to single precision only when it is stored to memory, so each
// result that must be a float goes through a store.
#ifndef PIXBASE_PIXEL_SINGLE_PRECISION_H
#define PIXBASE_PIXEL_SINGLE_PRECISION_H

#include <cfloat>

namespace pixbase::pixel {

#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
inline float Single(float value) {
  volatile float stored = value;
  return stored;
}
#else
inline float Single(float value) { return value; }
#endif

}  // namespace pixbase::pixel

#endif
