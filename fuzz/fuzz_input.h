// Turns a fuzzer's bytes into the texts the library takes, and stops the run
// with a crash when a promise of an operation is broken.
#ifndef LUMAVIEW_FUZZ_INPUT_H
#define LUMAVIEW_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pixbase/exceptions.h"

namespace lumaview::fuzz {

// The bytes up to the first zero byte, as a text.
inline std::string Text(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  size_t end = text.find('\0');
  return end == std::string::npos ? text : text.substr(0, end);
}

[[noreturn]] inline void Broken(const char* promise) {
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : lumaview::fuzz::Broken(#condition))

// Nothing these operations do may raise, short of running out of memory.
inline void PIXBASE_CALL RefuseRaise(ExceptionSeverity, const char* reason, const char*) {
  Broken(reason != nullptr ? reason : "an exception was raised");
}

inline void InstallRefusingHandlers() {
  InstallErrorHandler(RefuseRaise);
  InstallWarningHandler(RefuseRaise);
}

}  // namespace lumaview::fuzz

#endif
