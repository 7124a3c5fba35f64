// Decoding of Windows bitmaps. Every row goes through ImportPixelSamples:
// colour indexes (unpacked to one byte each, RLE runs expanded) through the
// colour table, 24-bit rows as blue-first triples (opaque_rows.h), 16- and 32-bit
// pixels through their masks (each field scaled to 0..255, rounding down).
// Pixels that RLE codes skip (end of line, delta, end of bitmap) take colour
// 0 of the table; rows a truncated file lacks stay black.
#include <algorithm>

#include "bmp.h"
#include "bmp_texts.h"
#include "image_faults.h"
#include "image_reader.h"
#include "kernel_block.h"
#include "opaque_rows.h"
#include "pixel_array.h"

namespace lumaview::coders::bmp {

namespace {

enum class Outcome { kComplete, kCutShort, kEmpty, kFailed };

// One mask of a 16- or 32-bit pixel: where its field lies and its largest
// value.
struct Field {
  uint32_t mask = 0;
  uint32_t shift = 0;
  uint32_t largest = 0;
  explicit Field(uint32_t m) : mask(m) {
    if (mask == 0) return;
    while (((mask >> shift) & 1u) == 0) ++shift;
    largest = mask >> shift;
  }
  uint8_t Of(uint32_t pixel) const {
    if (largest == 0) return 0;
    const uint64_t value = (pixel & mask) >> shift;
    return static_cast<uint8_t>(value * 255u / largest);
  }
};

class Decoder {
 public:
  Decoder(ImageRecord* image, const Header& header) : image_(image), header_(header) {
    // Entries the table lacks are black; an index that reaches one is noted.
    for (uint32_t i = 0; i < 256; ++i) map_[i] = i < header.palette_size ? header.palette[i] : 0;
  }

  Outcome Decode() {
    const uint64_t width = static_cast<uint64_t>(header_.width);
    if (!samples_.Allocate(width * 4)) return NoMemory();
    if (header_.compression == kCompressionRLE8 || header_.compression == kCompressionRLE4)
      return DecodeRunLengths();
    return DecodeRows();
  }

 private:
  Outcome NoMemory() {
    RecordFault(image_, OutOfMemoryError, kNoMemoryReason, "no memory for a row");
    return Outcome::kFailed;
  }

  // The image row of the file's `index`-th row.
  int64_t RowAt(int64_t index) const {
    return header_.top_down ? index : header_.height - 1 - index;
  }

  void ImportIndexes(int64_t index, int64_t count, const uint8_t* indexes) {
    if (header_.palette_size < 256 && !bad_index_) {
      for (int64_t x = 0; x < count; ++x)
        if (indexes[x] >= header_.palette_size) {
          RecordFault(image_, CoderDataWarning, kCorruptImage,
                      "a colour index beyond the colour table");
          bad_index_ = true;
          break;
        }
    }
    ImportRow(image_, RowAt(index), count, map_, SampleIndex, indexes);
  }

  // Converts `count` pixels of a stored row and imports them.
  void ConvertRow(int64_t index, int64_t count, const uint8_t* row) {
    uint8_t* out = samples_.bytes();
    const uint32_t bits = header_.bits;
    if (bits <= 8) {
      if (bits == 8) {
        ImportIndexes(index, count, row);
        return;
      }
      const uint32_t per_byte = 8 / bits;
      const uint32_t low = (1u << bits) - 1;
      for (int64_t x = 0; x < count; ++x) {
        const uint32_t slot = static_cast<uint32_t>(x) % per_byte;
        out[x] = static_cast<uint8_t>((row[x / per_byte] >> (8 - bits * (slot + 1))) & low);
      }
      ImportIndexes(index, count, out);
      return;
    }
    if (bits == 24) {
      ImportBlueFirstTriples(image_, RowAt(index), count, row);
      return;
    }
    const Field red(header_.masks[0]), green(header_.masks[1]), blue(header_.masks[2]),
        alpha(header_.masks[3]);
    const bool with_alpha = alpha.mask != 0;
    const uint32_t channels = with_alpha ? 4 : 3;
    for (int64_t x = 0; x < count; ++x) {
      uint32_t pixel;
      if (bits == 16) {
        pixel = static_cast<uint32_t>(row[2 * x]) | static_cast<uint32_t>(row[2 * x + 1]) << 8;
      } else {
        const uint8_t* at = row + 4 * x;
        pixel = static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
                static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
      }
      uint8_t* to = out + channels * static_cast<size_t>(x);
      to[0] = red.Of(pixel);
      to[1] = green.Of(pixel);
      to[2] = blue.Of(pixel);
      if (with_alpha) {
        to[3] = alpha.Of(pixel);
        if (to[3] != 0) any_alpha_ = true;
      }
    }
    ImportRow(image_, RowAt(index), count, nullptr, with_alpha ? SampleRGBA : SampleRGB, out);
  }

  Outcome CutShort(int64_t index, bool any_pixel) {
    if (!any_pixel) {
      RecordFault(image_, CoderDataError, kNoImageData, "the file holds no pixel data");
      return Outcome::kEmpty;
    }
    RecordFaultAt(image_, CoderDataWarning, kTruncatedImage,
                  "the data ends in the %lld-th stored row", index + 1);
    return Outcome::kCutShort;
  }

  // Stored rows, several at a time.
  Outcome DecodeRows() {
    const uint64_t stride = (static_cast<uint64_t>(header_.width) * header_.bits + 31) / 32 * 4;
    const int64_t chunk_rows =
        std::clamp<int64_t>(static_cast<int64_t>(kReadChunk / stride), 1, header_.height);
    KernelBlock stored;
    if (stride * static_cast<uint64_t>(chunk_rows) > UINT32_MAX / 2 ||
        !stored.Allocate(stride * static_cast<uint64_t>(chunk_rows)))
      return NoMemory();
    for (int64_t first = 0; first < header_.height; first += chunk_rows) {
      const int64_t rows = std::min(chunk_rows, header_.height - first);
      const uint64_t wanted = stride * static_cast<uint64_t>(rows);
      const uint64_t got = ReadImageBytes(image_, static_cast<uint32_t>(wanted), stored.bytes());
      for (int64_t r = 0; r < rows; ++r) {
        const uint64_t start = stride * static_cast<uint64_t>(r);
        const uint64_t held = got > start ? std::min(got - start, stride) : 0;
        const int64_t present =
            std::min<int64_t>(header_.width, static_cast<int64_t>(held) * 8 / header_.bits);
        if (present > 0) ConvertRow(first + r, present, stored.bytes() + start);
        if (held < stride) return Finish(CutShort(first + r, first + r > 0 || present > 0));
      }
    }
    return Finish(Outcome::kComplete);
  }

  // RLE8 and RLE4: pairs of a count and a value (a run), or of 0 and a code
  // (0 end of line, 1 end of bitmap, 2 a delta, 3 or more a literal run).
  Outcome DecodeRunLengths() {
    const bool four = header_.compression == kCompressionRLE4;
    const int64_t width = header_.width;
    uint8_t* indexes = samples_.bytes();
    std::fill(indexes, indexes + width, 0);
    ImageReader reader(image_);
    int64_t row = 0, x = 0;
    bool any = false, overrun = false;
    auto put = [&](uint8_t value) {
      if (x < width) {
        indexes[x++] = value;
      } else {
        overrun = true;
      }
    };
    auto end_row = [&]() {
      ImportIndexes(row++, width, indexes);
      std::fill(indexes, indexes + width, 0);
      x = 0;
    };
    Outcome outcome = Outcome::kComplete;
    while (row < header_.height) {
      const int count = reader.Get();
      const int code = reader.Get();
      if (count < 0 || code < 0) {
        if (x > 0) ImportIndexes(row, x, indexes);
        outcome = CutShort(row, any || x > 0);
        break;
      }
      any = true;
      if (count > 0) {
        for (int i = 0; i < count; ++i)
          put(four ? static_cast<uint8_t>((i & 1) ? code & 0x0F : code >> 4)
                   : static_cast<uint8_t>(code));
      } else if (code == 0) {
        end_row();
      } else if (code == 1) {
        while (row < header_.height) end_row();
      } else if (code == 2) {
        const int dx = reader.Get();
        const int dy = reader.Get();
        if (dx < 0 || dy < 0) continue;  // the next pass finds the end
        const int64_t to = x + dx;
        for (int i = 0; i < dy && row < header_.height; ++i) end_row();
        x = std::min(to, width);
        if (to > width) overrun = true;
      } else {
        // A literal run, padded to an even number of bytes.
        const int bytes = four ? (code + 1) / 2 : code;
        uint8_t literal[256];
        const size_t got = reader.Read(literal, static_cast<size_t>(bytes + (bytes & 1)));
        const int pixels = std::min<int>(code, static_cast<int>(four ? got * 2 : got));
        for (int i = 0; i < pixels; ++i)
          put(four ? static_cast<uint8_t>((i & 1) ? literal[i / 2] & 0x0F : literal[i / 2] >> 4)
                   : literal[i]);
        if (pixels < code) {
          ImportIndexes(row, x, indexes);
          outcome = CutShort(row, true);
          break;
        }
      }
    }
    if (overrun)
      RecordFault(image_, CoderDataWarning, kCorruptImage, "a run goes past the end of a row");
    return outcome;
  }

  // A picture whose alpha mask gave nothing but 0 was not meant to be
  // transparent: its pixels are made opaque.
  Outcome Finish(Outcome outcome) {
    if (header_.masks[3] != 0 && header_.bits >= 16 && !any_alpha_) {
      const int64_t count = header_.width * header_.height;
      for (int64_t i = 0; i < count; ++i) image_->pixels[i] &= 0x00FFFFFFu;
    }
    return outcome;
  }

  ImageRecord* image_;
  const Header& header_;
  PackedPixel map_[256];
  KernelBlock samples_;
  bool bad_index_ = false;
  bool any_alpha_ = false;
};

}  // namespace

int32_t PIXBASE_CALL ReadBMPImage(ImageRecord* image) {
  if (image == nullptr) return 0;
  Header header;
  if (!ReadHeader(image, &header)) return 0;
  if (!AllocatePixels(image, header.width, header.height)) return 0;
  const Outcome outcome = Decoder(image, header).Decode();
  return outcome == Outcome::kComplete || outcome == Outcome::kCutShort ? 1 : 0;
}

}  // namespace lumaview::coders::bmp
