// SplitCommandLine on any text: "tessel" first, the count matching the
// entries, and every argument made of bytes of the text.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "pixbase/memory.h"
#include "pixbase/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  std::string text = lumaview::fuzz::Text(data, size);
  int count = -1;
  char** vector = SplitCommandLine(text.c_str(), &count);
  FUZZ_CHECK(vector != nullptr);
  FUZZ_CHECK(count >= 1);
  FUZZ_CHECK(std::strcmp(vector[0], "tessel") == 0);
  int entries = 0;
  size_t total = 0;
  while (vector[entries] != nullptr) {
    if (entries > 0) {
      size_t length = std::strlen(vector[entries]);
      FUZZ_CHECK(length <= text.size());
      total += length;
    }
    ReleaseMemory(&vector[entries]);
    ++entries;
  }
  FUZZ_CHECK(entries == count);
  FUZZ_CHECK(total <= text.size());
  ReleaseMemory(&vector);
  return 0;
}
