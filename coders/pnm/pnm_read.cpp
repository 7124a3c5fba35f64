// Decoding of the portable anymap family. Every row goes through
// ImportPixelSamples: samples are first reduced to bytes (rounded to the
// nearest of 0..255 for a maxval other than 255), then handed on with the
// layout of the pixel's tuple (grey and bitmaps through a colour map). A file
// may hold several pictures one after another; each becomes an image of the
// list.
#include <algorithm>

#include "image_faults.h"
#include "kernel_block.h"
#include "opaque_rows.h"
#include "pixel_array.h"
#include "pnm.h"
#include "pnm_texts.h"

namespace lumaview::coders::pnm {

namespace {

// How the samples of a row are handed to ImportPixelSamples.
struct RowPlan {
  uint32_t used;  // samples per pixel handed on (the first ones of the file's)
  SampleLayout layout;
  const PackedPixel* map;
};

struct ColourMaps {
  // Whole maps of 256 entries: ImportPixelSamples may read every entry.
  PackedPixel grey[256];
  PackedPixel bitmap[256];  // 0 white, 1 black (and nothing else used)
  ColourMaps() {
    for (uint32_t g = 0; g < 256; ++g) {
      grey[g] = g << 16 | g << 8 | g;
      bitmap[g] = 0;
    }
    bitmap[0] = 0x00FFFFFFu;
  }
};

RowPlan PlanFor(Tuple tuple, const ColourMaps& maps) {
  switch (tuple) {
    case Tuple::Bitmap:
      return {1, SampleIndex, maps.bitmap};
    case Tuple::Grey:
      return {1, SampleIndex, maps.grey};
    case Tuple::GreyAlpha:
      return {2, SampleIndexAlpha, maps.grey};
    case Tuple::RGB:
      return {3, SampleRGB, nullptr};
    case Tuple::RGBAlpha:
      return {4, SampleRGBA, nullptr};
    case Tuple::CMYK:
      return {4, SampleCMYK, nullptr};
  }
  return {3, SampleRGB, nullptr};
}

enum class Outcome { kComplete, kCutShort, kEmpty, kFailed };

class FrameDecoder {
 public:
  FrameDecoder(ImageReader& reader, ImageRecord* image, const Header& header,
               const ColourMaps& maps)
      : reader_(reader), image_(image), header_(header), plan_(PlanFor(header.tuple, maps)) {}

  Outcome Decode() {
    const auto width = static_cast<uint64_t>(header_.width);
    if (!samples_.Allocate(width * 4) || !BuildScale()) {
      RecordFault(image_, OutOfMemoryError, kNoMemoryReason, "no memory for a row");
      return Outcome::kFailed;
    }
    return header_.plain ? DecodePlain() : DecodeRaw();
  }

 private:
  // The byte for every sample value up to the maxval, rounded to nearest.
  bool BuildScale() {
    if (header_.tuple == Tuple::Bitmap) return true;
    if (!scale_.Allocate(uint64_t{header_.maxval} + 1)) return false;
    const uint32_t maxval = header_.maxval;
    for (uint32_t v = 0; v <= maxval; ++v)
      scale_.bytes()[v] = static_cast<uint8_t>((v * 255u + maxval / 2) / maxval);
    return true;
  }

  uint8_t Scaled(uint32_t value) {
    if (header_.tuple == Tuple::Bitmap) return static_cast<uint8_t>(value);
    if (value > header_.maxval) {
      if (!over_maxval_)
        RecordFault(image_, CoderDataWarning, kCorruptImage, "a sample exceeds the maxval");
      over_maxval_ = true;
      value = header_.maxval;
    }
    return scale_.bytes()[value];
  }

  void Import(int64_t y, int64_t count, const uint8_t* source) {
    ImportRow(image_, y, count, plan_.map, plan_.layout, source);
  }

  Outcome CutShort(int64_t y, bool any_pixel, const char* reason, const char* pattern) {
    if (!any_pixel) {
      RecordFault(image_, CoderDataError, kNoImageData, "the file holds no pixel data");
      return Outcome::kEmpty;
    }
    RecordFaultAt(image_, CoderDataWarning, reason, pattern, y + 1);
    return Outcome::kCutShort;
  }

  Outcome DecodeRaw() {
    const int64_t width = header_.width;
    const uint32_t depth = header_.depth;
    const uint32_t bytes_per_sample = header_.maxval > 255 ? 2 : 1;
    const bool bitmap = header_.tuple == Tuple::Bitmap;
    const uint64_t row_bytes = bitmap ? (static_cast<uint64_t>(width) + 7) / 8
                                      : static_cast<uint64_t>(width) * depth * bytes_per_sample;
    // Bytes of maxval 255 whose every sample is handed on go straight in.
    const bool direct =
        !bitmap && bytes_per_sample == 1 && header_.maxval == 255 && depth == plan_.used;
    // Several rows are read at once.
    const int64_t chunk_rows =
        std::clamp<int64_t>(static_cast<int64_t>(kReadChunk / row_bytes), 1, header_.height);
    KernelBlock raw;
    if (!raw.Allocate(row_bytes * static_cast<uint64_t>(chunk_rows))) {
      RecordFault(image_, OutOfMemoryError, kNoMemoryReason, "no memory for a row");
      return Outcome::kFailed;
    }
    uint8_t* out = samples_.bytes();
    size_t got = 0;  // bytes of the chunk read
    for (int64_t y = 0; y < header_.height; ++y) {
      const int64_t in_chunk = y % chunk_rows;
      if (in_chunk == 0)
        got = reader_.Read(
            raw.bytes(), row_bytes * static_cast<size_t>(std::min(chunk_rows, header_.height - y)));
      const size_t start = row_bytes * static_cast<size_t>(in_chunk);
      const uint8_t* row = raw.bytes() + start;
      const size_t held = got > start ? std::min<size_t>(got - start, row_bytes) : 0;
      const int64_t present =
          bitmap ? std::min<int64_t>(width, static_cast<int64_t>(held) * 8)
                 : static_cast<int64_t>(held / (static_cast<size_t>(depth) * bytes_per_sample));
      if (direct) {
        Import(y, present, row);
      } else if (bitmap) {
        for (int64_t x = 0; x < present; ++x) out[x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        Import(y, present, out);
      } else {
        for (int64_t x = 0; x < present; ++x) {
          const uint8_t* sample = row + static_cast<size_t>(x) * depth * bytes_per_sample;
          for (uint32_t c = 0; c < plan_.used; ++c) {
            uint32_t value = bytes_per_sample == 1
                                 ? sample[c]
                                 : static_cast<uint32_t>(sample[2 * c]) << 8 | sample[2 * c + 1];
            out[static_cast<size_t>(x) * plan_.used + c] = Scaled(value);
          }
        }
        Import(y, present, out);
      }
      if (held < row_bytes)
        return CutShort(y, y > 0 || present > 0, kTruncatedImage, "the data ends in row %lld");
    }
    return Outcome::kComplete;
  }

  enum class Sample { kRead, kEnd, kGarbage };

  // Skips white space and comments; the next character, not taken.
  int SkipToSample() {
    int c = reader_.Peek();
    while (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '#') {
      reader_.Get();
      if (c == '#')
        for (c = reader_.Get(); c != -1 && c != '\n' && c != '\r';) c = reader_.Get();
      c = reader_.Peek();
    }
    return c;
  }

  Sample NextPlainSample(uint32_t* value) {
    int c = SkipToSample();
    if (c == -1) return Sample::kEnd;
    if (header_.tuple == Tuple::Bitmap) {
      // A bitmap's samples are single characters, white space optional.
      if (c != '0' && c != '1') return Sample::kGarbage;
      reader_.Get();
      *value = static_cast<uint32_t>(c - '0');
      return Sample::kRead;
    }
    if (c < '0' || c > '9') return Sample::kGarbage;
    uint32_t number = 0;
    while (c >= '0' && c <= '9') {
      reader_.Get();
      number = std::min<uint32_t>(number * 10 + static_cast<uint32_t>(c - '0'), 1u << 20);
      c = reader_.Peek();
    }
    *value = number;
    return Sample::kRead;
  }

  Outcome DecodePlain() {
    const int64_t width = header_.width;
    uint8_t* out = samples_.bytes();
    for (int64_t y = 0; y < header_.height; ++y) {
      for (int64_t x = 0; x < width; ++x) {
        for (uint32_t c = 0; c < header_.depth; ++c) {
          uint32_t value = 0;
          Sample sample = NextPlainSample(&value);
          if (sample != Sample::kRead) {
            Import(y, x, out);
            if (sample == Sample::kEnd)
              return CutShort(y, y > 0 || x > 0, kTruncatedImage, "the data ends in row %lld");
            return CutShort(y, y > 0 || x > 0, kCorruptImage,
                            "a character that is no sample in row %lld");
          }
          if (c < plan_.used) out[static_cast<size_t>(x) * plan_.used + c] = Scaled(value);
        }
      }
      Import(y, width, out);
    }
    return Outcome::kComplete;
  }

  ImageReader& reader_;
  ImageRecord* image_;
  const Header& header_;
  RowPlan plan_;
  KernelBlock samples_;
  KernelBlock scale_;
  bool over_maxval_ = false;
};

// Reads one picture into the image; the outcome of its raster.
Outcome ReadFrame(ImageReader& reader, ImageRecord* image, const ColourMaps& maps) {
  Header header;
  if (!ReadHeader(reader, image, &header)) return Outcome::kFailed;
  if (!header.comment.empty()) SetImageAttribute(image, kCommentAttribute, header.comment.c_str());
  // No pixels are allocated for a file that ends with its header.
  if (reader.Peek() == -1) {
    RecordFault(image, CoderDataError, kNoImageData, "the file holds no pixel data");
    return Outcome::kEmpty;
  }
  if (!AllocatePixels(image, header.width, header.height)) return Outcome::kFailed;
  return FrameDecoder(reader, image, header, maps).Decode();
}

// A later picture that could not be read leaves the list; the picture
// before it notes why.
void DropFrame(ImageRecord* previous, ImageRecord* frame) {
  const ExceptionReport& report = frame->report;
  RecordFault(previous, CoderDataWarning, report.reason != nullptr ? report.reason : kCorruptImage,
              "a later picture of the file cannot be read");
  ReleaseMemory(&frame->extraBlock);
  frame->pixels = nullptr;
  frame->file = nullptr;  // the list's shared file stays open for the caller
  DestroyImage(frame);
}

}  // namespace

int32_t PIXBASE_CALL ReadPNMImage(ImageRecord* image) {
  if (image == nullptr) return 0;
  ColourMaps maps;
  ImageReader reader(image);
  ImageRecord* frame = image;
  for (;;) {
    Outcome outcome = ReadFrame(reader, frame, maps);
    if (outcome == Outcome::kFailed || outcome == Outcome::kEmpty) {
      if (frame == image) return 0;
      DropFrame(frame->previous, frame);
      return 1;
    }
    if (outcome == Outcome::kCutShort) return 1;
    // Another picture may follow, after white space.
    int c = reader.Peek();
    while (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
      reader.Get();
      c = reader.Peek();
    }
    if (c != 'P') return 1;
    AllocateNextImage(frame);
    if (frame->next == nullptr) return 1;
    frame = frame->next;
  }
}

}  // namespace lumaview::coders::pnm
