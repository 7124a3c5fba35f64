// WidenText on any text: null with count 0, or at most one unit per byte
// with the terminating zero unit in place.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "pixbase/memory.h"
#include "pixbase/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  std::string text = lumaview::fuzz::Text(data, size);
  size_t count = 12345;
  uint16_t* wide = WidenText(text.c_str(), &count);
  if (wide == nullptr) {
    FUZZ_CHECK(count == 0);
    return 0;
  }
  FUZZ_CHECK(count >= 1 && count <= text.size());
  FUZZ_CHECK(wide[count] == 0);
  if (text.find('\\') == std::string::npos) {
    FUZZ_CHECK(count == text.size());
    for (size_t i = 0; i < count; ++i) FUZZ_CHECK(wide[i] == static_cast<unsigned char>(text[i]));
  }
  ReleaseMemory(&wide);
  return 0;
}
