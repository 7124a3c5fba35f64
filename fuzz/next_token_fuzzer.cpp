// NextToken and ParseImageAttribute on any line. The first bytes choose the
// case folding, the buffer size and the character sets; the tokenizer must
// always make progress, never write past its buffer (the sanitizers watch),
// and cut every token at size - 1 characters. The parser must leave only
// well-formed attributes.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "pixbase/attributes.h"
#include "pixbase/image.h"

namespace {

std::string Take(const uint8_t*& data, size_t& size, size_t count) {
  if (count > size) count = size;
  std::string text(reinterpret_cast<const char*>(data), count);
  data += count;
  size -= count;
  size_t end = text.find('\0');
  return end == std::string::npos ? text : text.substr(0, end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  if (size < 4) return 0;
  int32_t flags = data[0] & 3;
  int32_t buffer_size = 1 + data[1] % 64;
  char escape = static_cast<char>(data[2] & 0x7F);
  size_t set_length = data[3] % 4;
  data += 4;
  size -= 4;
  std::string blanks = Take(data, size, set_length);
  std::string breaks = Take(data, size, set_length);
  std::string quotes = Take(data, size, set_length);
  std::string line = lumaview::fuzz::Text(data, size);

  // An exact-size buffer, so that any write past it is seen.
  std::vector<char> token(static_cast<size_t>(buffer_size));
  TokenState state = {};
  int32_t position = 0;
  char break_character = 0;
  char quoted = 0;
  size_t calls = 0;
  while (NextToken(&state, flags, token.data(), buffer_size, line.c_str(), blanks.c_str(),
                   breaks.c_str(), quotes.c_str(), escape, &break_character, &position,
                   &quoted) == 0) {
    FUZZ_CHECK(++calls <= line.size());  // every call moves on
    FUZZ_CHECK(position >= 0 && static_cast<size_t>(position) <= line.size());
    FUZZ_CHECK(std::strlen(token.data()) < static_cast<size_t>(buffer_size));
    FUZZ_CHECK(quoted == 0 || quoted == 1);
  }

  ImageRecord* image = AllocateImage();
  ParseImageAttribute(image, line.c_str());
  for (ImageAttribute* node = GetImageAttribute(image, nullptr); node != nullptr;
       node = node->next) {
    FUZZ_CHECK(node->key != nullptr && node->key[0] != '\0');
    FUZZ_CHECK(node->value != nullptr && node->value[0] != '\0');
    FUZZ_CHECK(std::strlen(node->key) < PIXBASE_TEXT_EXTENT);
    FUZZ_CHECK(GetImageAttribute(image, node->key) != nullptr);
  }
  DestroyImage(image);
  return 0;
}
