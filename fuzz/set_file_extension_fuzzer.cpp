// SetFileExtension with any format and file name (split at the first zero
// byte) on a buffer of exactly TextExtent bytes: no write past it and a
// terminated result.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "pixbase/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  std::string format = lumaview::fuzz::Text(data, size);
  size_t used = format.size() < size ? format.size() + 1 : size;
  std::string name = lumaview::fuzz::Text(data + used, size - used);
  if (name.size() > PIXBASE_TEXT_EXTENT - 1) name.resize(PIXBASE_TEXT_EXTENT - 1);
  std::vector<char> buffer(PIXBASE_TEXT_EXTENT);
  std::memcpy(buffer.data(), name.c_str(), name.size() + 1);
  SetFileExtension(format.c_str(), buffer.data());
  size_t length = strnlen(buffer.data(), buffer.size());
  FUZZ_CHECK(length < PIXBASE_TEXT_EXTENT);
  if (format.empty() || name.empty()) FUZZ_CHECK(std::string(buffer.data()) == name);
  return 0;
}
