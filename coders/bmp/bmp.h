// The Windows bitmap coder: 1, 4 and 8 bits per pixel with colour tables,
// 16 and 32 bits (5-5-5 or bit-field masks), 24 bits, RLE8 and RLE4,
// bottom-up and top-down, under the OS/2 core header (12 bytes), the OS/2
// 2.x header (16 to 64 bytes) and the Windows information headers (40, 52,
// 56, 108 and 124 bytes). Writing makes 24-bit bottom-up files.
#ifndef LUMAVIEW_CODERS_BMP_BMP_H
#define LUMAVIEW_CODERS_BMP_BMP_H

#include <cstdint>

#include "pixbase/pixbase.h"

namespace lumaview::coders::bmp {

enum Compression : uint32_t {
  kCompressionNone = 0,
  kCompressionRLE8 = 1,
  kCompressionRLE4 = 2,
  kCompressionBitFields = 3,
  kCompressionJPEG = 4,
  kCompressionPNG = 5,
  kCompressionAlphaBitFields = 6
};

inline constexpr uint32_t kFileHeaderSize = 14;
inline constexpr uint32_t kCoreHeaderSize = 12;
inline constexpr uint32_t kInfoHeaderSize = 40;

// The information header sizes this coder knows.
inline bool IsKnownHeaderSize(uint32_t size) {
  return size == kCoreHeaderSize || (size >= 16 && size <= 64) || size == 108 || size == 124;
}

struct Header {
  uint32_t data_offset = 0;  // where the pixel data starts in the file
  uint32_t info_size = 0;
  bool os2 = false;  // an OS/2 header: 3-byte colour table entries for the core header
  int64_t width = 0;
  int64_t height = 0;  // rows, whatever their order
  bool top_down = false;
  uint32_t bits = 0;
  uint32_t compression = kCompressionNone;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha (16 and 32 bits)
  uint32_t palette_size = 0;         // entries read into the colour table
  PackedPixel palette[256] = {};
};

// Reads the file and information headers, the masks and the colour table,
// and leaves the file at the pixel data. False with the fault recorded.
bool ReadHeader(ImageRecord* image, Header* header);

// The coder convention's procedures.
int32_t PIXBASE_CALL ReadBMPImage(ImageRecord* image);
int32_t PIXBASE_CALL WriteBMPImage(ImageRecord* image);
// The content test: "BM" and a known information header size.
int32_t PIXBASE_CALL IsBMP(const unsigned char* header, uint32_t length);

}  // namespace lumaview::coders::bmp

#endif
