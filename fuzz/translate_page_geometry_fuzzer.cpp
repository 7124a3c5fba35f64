// TranslatePageGeometry on any text: a result that fits its block, and the
// untouched rest of the text behind a page's geometry.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "pixbase/geometry.h"
#include "pixbase/memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  std::string text = lumaview::fuzz::Text(data, size);
  char* result = TranslatePageGeometry(text.c_str());
  FUZZ_CHECK(result != nullptr);
  size_t length = std::strlen(result);
  FUZZ_CHECK(length < text.size() + PIXBASE_TEXT_EXTENT);
  const char* mark = std::strchr(result, '>');
  if (length != text.size()) {
    // A page matched: geometry, then what followed its name.
    FUZZ_CHECK(mark != nullptr);
    std::string rest(mark + 1);
    FUZZ_CHECK(text.size() >= rest.size());
    FUZZ_CHECK(text.compare(text.size() - rest.size(), rest.size(), rest) == 0);
  }
  ReleaseMemory(&result);
  return 0;
}
