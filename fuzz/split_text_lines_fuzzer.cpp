// SplitTextLines on any text: a plain text's lines joined again with their
// ends give the text back without its line-end bytes; a dump has
// length / 20 + 1 lines of the fixed layout.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "pixbase/memory.h"
#include "pixbase/text.h"

namespace {

bool Binary(const std::string& text) {
  for (unsigned char c : text)
    if (c < 0x20 && !(c == ' ' || (c >= '\t' && c <= '\r'))) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  std::string text = lumaview::fuzz::Text(data, size);
  char** list = SplitTextLines(text.c_str());
  FUZZ_CHECK(list != nullptr);
  size_t lines = 0;
  std::string joined;
  bool binary = Binary(text);
  for (; list[lines] != nullptr; ++lines) {
    if (binary) {
      FUZZ_CHECK(std::strlen(list[lines]) >= 12 + 45 + 1);
      FUZZ_CHECK(std::strlen(list[lines]) <= 12 + 45 + 1 + 20);
    } else {
      joined += list[lines];
    }
    ReleaseMemory(&list[lines]);
  }
  ReleaseMemory(&list);
  if (binary) {
    FUZZ_CHECK(lines == text.size() / 20 + 1);
  } else {
    std::string kept;
    size_t ends = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n' || text[i] == '\r') {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) ++ends;
      } else {
        kept += text[i];
      }
    }
    FUZZ_CHECK(lines == ends + 1);
    FUZZ_CHECK(joined == kept);
  }
  return 0;
}
