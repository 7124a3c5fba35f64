// VELOBMP.dll: the Windows bitmap coder module. It registers the format BMP,
// recognised by "BM" and a known information header size; it reads every
// kind the coder knows and writes 24-bit files.
#include "bmp.h"
#include "coder_module.h"

namespace lumaview::coders::bmp {

inline constexpr char kFormatName[] = "BMP";

int32_t PIXBASE_CALL IsBMP(const unsigned char* header, uint32_t length) {
  if (length < 18 || header[0] != 'B' || header[1] != 'M') return 0;
  const uint32_t size = static_cast<uint32_t>(header[14]) | static_cast<uint32_t>(header[15]) << 8 |
                        static_cast<uint32_t>(header[16]) << 16 |
                        static_cast<uint32_t>(header[17]) << 24;
  return IsKnownHeaderSize(size) ? 1 : 0;
}

}  // namespace lumaview::coders::bmp

CODER_ENTRY RegisterBMPImage(void) {
  using namespace lumaview::coders;
  using namespace lumaview::coders::bmp;
  RegisterCoderFormat({kFormatName, "Windows bitmap", "image/bmp", IsBMP, ReadBMPImage,
                       WriteBMPImage, CoderCanRead | CoderCanWrite});
}

CODER_ENTRY UnregisterBMPImage(void) { UnregisterFormatEntry(lumaview::coders::bmp::kFormatName); }
