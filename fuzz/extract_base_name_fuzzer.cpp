// ExtractBaseName on any path: a result no longer than the path, made of one
// stretch of it, with a separator only in its first position.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "pixbase/memory.h"
#include "pixbase/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  std::string path = lumaview::fuzz::Text(data, size);
  char* base = ExtractBaseName(path.c_str());
  FUZZ_CHECK(base != nullptr);
  std::string result = base;
  ReleaseMemory(&base);
  FUZZ_CHECK(result.size() <= path.size());
  FUZZ_CHECK(path.find(result) != std::string::npos);
  if (result.size() > 1) FUZZ_CHECK(result.find_first_of("/\\", 1) == std::string::npos);
  return 0;
}
