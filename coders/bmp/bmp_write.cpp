// Writing of Windows bitmaps: a 24-bit, bottom-up, uncompressed file under
// the 40-byte information header, headers written with the kernel's
// little-endian writers.
#include "bmp.h"
#include "bmp_texts.h"
#include "image_writer.h"
#include "kernel_block.h"
#include "pixel_checks.h"

namespace lumaview::coders::bmp {

int32_t PIXBASE_CALL WriteBMPImage(ImageRecord* image) {
  if (image == nullptr) return 0;
  if (!CheckWritable(image, kUnableToWrite)) return 0;
  const uint64_t width = static_cast<uint64_t>(image->width);
  const uint64_t stride = (width * 3 + 3) / 4 * 4;
  const uint64_t data_size = stride * static_cast<uint64_t>(image->height);
  const uint32_t data_offset = kFileHeaderSize + kInfoHeaderSize;
  if (data_size + data_offset > UINT32_MAX) {
    RecordFault(image, CoderDataError, kUnableToWrite, "too large for a bitmap file");
    return 0;
  }
  KernelBlock row;
  if (!row.Allocate(stride)) {
    RecordFault(image, OutOfMemoryError, kNoMemoryReason, "no memory for a row");
    return 0;
  }
  constexpr uint32_t kPixelsPerMetre = 2835;  // 72 pixels per inch
  uint32_t header_bytes = 0;
  header_bytes += WriteLittleEndianShort(image, 0x4D42);
  header_bytes += WriteLittleEndianLong(image, static_cast<uint32_t>(data_offset + data_size));
  header_bytes += WriteLittleEndianLong(image, 0);
  header_bytes += WriteLittleEndianLong(image, data_offset);
  header_bytes += WriteLittleEndianLong(image, kInfoHeaderSize);
  header_bytes += WriteLittleEndianLong(image, static_cast<uint32_t>(image->width));
  header_bytes += WriteLittleEndianLong(image, static_cast<uint32_t>(image->height));
  header_bytes += WriteLittleEndianShort(image, 1);   // planes
  header_bytes += WriteLittleEndianShort(image, 24);  // bits per pixel
  header_bytes += WriteLittleEndianLong(image, kCompressionNone);
  header_bytes += WriteLittleEndianLong(image, static_cast<uint32_t>(data_size));
  header_bytes += WriteLittleEndianLong(image, kPixelsPerMetre);
  header_bytes += WriteLittleEndianLong(image, kPixelsPerMetre);
  header_bytes += WriteLittleEndianLong(image, 0);  // colours used
  header_bytes += WriteLittleEndianLong(image, 0);  // important colours

  bool ok = header_bytes == data_offset;
  if (ok) {
    ImageWriter out(image);
    uint8_t* bytes = row.bytes();
    for (int64_t y = image->height - 1; y >= 0 && out.ok(); --y) {
      const PackedPixel* pixels = image->pixels + static_cast<uint64_t>(y) * width;
      for (uint64_t x = 0; x < width; ++x) {
        bytes[3 * x] = BlueOf(pixels[x]);
        bytes[3 * x + 1] = GreenOf(pixels[x]);
        bytes[3 * x + 2] = RedOf(pixels[x]);
      }
      out.Write(bytes, stride);  // the padding stays zero
    }
    ok = out.Flush();
  }
  if (!ok) {
    RecordFault(image, CoderDataError, kUnableToWrite, "the file took fewer bytes than written");
    return 0;
  }
  return 1;
}

}  // namespace lumaview::coders::bmp
