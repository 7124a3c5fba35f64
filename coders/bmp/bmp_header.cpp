// The headers of a Windows bitmap, read with the kernel's little-endian
// readers: the file header ("BM", size, reserved, data offset), the
// information header in its OS/2 or Windows size, the bit-field masks that
// follow a 40-byte header, and the colour table.
#include "bmp.h"
#include "bmp_texts.h"
#include "image_faults.h"
#include "pixel_array.h"

namespace lumaview::coders::bmp {

namespace {

bool Refuse(ImageRecord* image, const char* reason, const char* description) {
  RecordFault(image, CoderDataError, reason, description);
  return false;
}

// The fields of the information header after its size, read while the
// header holds them; a field the header is too short for reads as 0.
class InfoFields {
 public:
  InfoFields(ImageRecord* image, uint32_t size) : image_(image), size_(size) {}
  uint32_t Long() { return Take(4) ? ReadLittleEndianLong(image_) : 0; }
  uint32_t Short() { return Take(2) ? ReadLittleEndianShort(image_) : 0; }
  // Skips what is left of the header; false when the file cannot seek there.
  bool SkipRest() {
    if (consumed_ >= size_) return true;
    return SeekImageFile(image_, static_cast<int32_t>(size_ - consumed_), 1) != -1;
  }

 private:
  bool Take(uint32_t bytes) {
    if (consumed_ + bytes > size_) return false;
    consumed_ += bytes;
    return true;
  }
  ImageRecord* image_;
  uint32_t size_;
  uint32_t consumed_ = 4;  // the size field itself
};

bool CheckFormat(ImageRecord* image, const Header& header) {
  const uint32_t bits = header.bits;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return Refuse(image, kUnsupportedImage, "bits per pixel other than 1, 4, 8, 16, 24 and 32");
  switch (header.compression) {
    case kCompressionNone:
      return true;
    case kCompressionRLE8:
      return bits == 8 || Refuse(image, kImproperHeader, "RLE8 compression without 8 bits");
    case kCompressionRLE4:
      return bits == 4 || Refuse(image, kImproperHeader, "RLE4 compression without 4 bits");
    case kCompressionBitFields:
    case kCompressionAlphaBitFields:
      return bits == 16 || bits == 32 ||
             Refuse(image, kImproperHeader, "bit fields without 16 or 32 bits");
    case kCompressionJPEG:
    case kCompressionPNG:
      return Refuse(image, kUnsupportedImage, "JPEG or PNG compressed pixel data");
    default:
      return Refuse(image, kUnsupportedImage, "an unknown compression");
  }
}

void DefaultMasks(Header* header) {
  if (header->bits == 16) {
    header->masks[0] = 0x7C00;
    header->masks[1] = 0x03E0;
    header->masks[2] = 0x001F;
  } else {
    header->masks[0] = 0xFF0000;
    header->masks[1] = 0x00FF00;
    header->masks[2] = 0x0000FF;
  }
  header->masks[3] = 0;
}

}  // namespace

bool ReadHeader(ImageRecord* image, Header* header) {
  const int64_t file_size = GetImageFileSize(image);
  if (file_size > 0 && file_size < kFileHeaderSize + 4)
    return Refuse(image, kImproperHeader, "the file is shorter than its headers");
  if (ReadLittleEndianShort(image) != 0x4D42)
    return Refuse(image, kImproperHeader, "no BM signature");
  ReadLittleEndianLong(image);  // the file size, which writers often get wrong
  ReadLittleEndianLong(image);  // reserved
  header->data_offset = ReadLittleEndianLong(image);
  header->info_size = ReadLittleEndianLong(image);
  if (!IsKnownHeaderSize(header->info_size))
    return Refuse(image, kUnsupportedImage, "an unknown information header size");
  const uint32_t info_end = kFileHeaderSize + header->info_size;
  if (file_size > 0 && file_size < info_end)
    return Refuse(image, kImproperHeader, "the file ends inside the information header");

  InfoFields fields(image, header->info_size);
  uint32_t colours_used = 0;
  if (header->info_size == kCoreHeaderSize) {
    header->os2 = true;
    header->width = fields.Short();
    header->height = fields.Short();
    fields.Short();  // planes
    header->bits = fields.Short();
  } else {
    // Between 16 and 64 bytes other than the Windows sizes is OS/2 2.x,
    // whose compressions 3 and 4 (Huffman, RLE24) are its own.
    const uint32_t size = header->info_size;
    const bool os2_v2 = size < 108 && size != 40 && size != 52 && size != 56;
    header->width = static_cast<int32_t>(fields.Long());
    const auto height = static_cast<int32_t>(fields.Long());
    if (height == INT32_MIN) return Refuse(image, kImproperHeader, "an impossible height");
    header->top_down = height < 0;
    header->height = height < 0 ? -static_cast<int64_t>(height) : height;
    fields.Short();  // planes
    header->bits = fields.Short();
    header->compression = fields.Long();
    if (os2_v2 && (header->compression == 3 || header->compression == 4))
      return Refuse(image, kUnsupportedImage, "OS/2 Huffman or RLE24 compression");
    fields.Long();  // image size
    fields.Long();  // horizontal resolution
    fields.Long();  // vertical resolution
    colours_used = fields.Long();
    fields.Long();  // important colours
    for (uint32_t& mask : header->masks) mask = fields.Long();
  }
  if (!fields.SkipRest()) return Refuse(image, kImproperHeader, "the headers cannot be passed");
  if (header->width < 1 || header->height < 1)
    return Refuse(image, kImproperHeader, "a width or height of zero or less");
  if (!DimensionsFit(header->width, header->height)) {
    RecordFaultAt(image, CoderDataError, kTooLargeReason, "%lld pixels",
                  header->width * header->height);
    return false;
  }
  if (!CheckFormat(image, *header)) return false;

  // Masks after a 40-byte header; the default layouts without bit fields.
  uint32_t table_start = info_end;
  const bool bit_fields = header->compression == kCompressionBitFields ||
                          header->compression == kCompressionAlphaBitFields;
  if (bit_fields && header->info_size == kInfoHeaderSize) {
    const uint32_t count = header->compression == kCompressionAlphaBitFields ? 4 : 3;
    for (uint32_t i = 0; i < 4; ++i) header->masks[i] = i < count ? ReadLittleEndianLong(image) : 0;
    table_start += 4 * count;
  } else if (!bit_fields && (header->bits == 16 || header->bits == 32)) {
    DefaultMasks(header);
  }
  if (bit_fields && header->info_size < 52 && header->info_size != kInfoHeaderSize)
    return Refuse(image, kImproperHeader, "bit fields without masks");

  if (header->data_offset < table_start || header->data_offset > INT32_MAX)
    return Refuse(image, kImproperHeader, "the pixel data would start inside the headers");
  if (file_size > 0 && header->data_offset >= file_size) {
    RecordFault(image, CoderDataError, kNoImageData, "the file holds no pixel data");
    return false;
  }

  if (header->bits <= 8) {
    const uint32_t possible = 1u << header->bits;
    const uint32_t entry = header->os2 && header->info_size == kCoreHeaderSize ? 3 : 4;
    uint32_t entries = colours_used == 0 || colours_used > possible ? possible : colours_used;
    // The table ends where the pixel data starts.
    const uint32_t room = (header->data_offset - table_start) / entry;
    if (entries > room) entries = room;
    unsigned char table[256 * 4];
    if (ReadImageBytes(image, entries * entry, table) != entries * entry)
      return Refuse(image, kImproperHeader, "the file ends inside the colour table");
    for (uint32_t i = 0; i < entries; ++i) {
      const unsigned char* bgr = table + i * entry;
      header->palette[i] =
          static_cast<PackedPixel>(bgr[2]) << 16 | static_cast<PackedPixel>(bgr[1]) << 8 | bgr[0];
    }
    header->palette_size = entries;
    if (entries == 0) return Refuse(image, kImproperHeader, "no colour table");
  }
  if (SeekImageFile(image, static_cast<int32_t>(header->data_offset), 0) == -1)
    return Refuse(image, kNoImageData, "the pixel data cannot be reached");
  return true;
}

}  // namespace lumaview::coders::bmp
