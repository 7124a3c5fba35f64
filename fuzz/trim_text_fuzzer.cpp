// TrimText on any text: the same text without white space at its ends.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "pixbase/text.h"

namespace {

bool Space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  std::string text = lumaview::fuzz::Text(data, size);
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  TrimText(buffer.data());
  size_t first = 0;
  while (first < text.size() && Space(text[first])) ++first;
  size_t last = text.size();
  while (last > first && Space(text[last - 1])) --last;
  FUZZ_CHECK(std::string(buffer.data()) == text.substr(first, last - first));
  return 0;
}
