// The operations the benchmarks time, on two image shapes, shared by the
// native benchmark and the Win32 client of the shipped library so that both
// measure exactly the same calls on the same data.
//
// "cache": 2048x512 (4 MiB of pixels), the size of the rows or tiles a
// decoder converts while they sit in the cache, where the work is bound by
// computation. "memory": 4096x4096 (64 MiB), where every pass waits on main
// memory.
#ifndef LUMAVIEW_BENCH_BENCH_CASES_H
#define LUMAVIEW_BENCH_BENCH_CASES_H

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "pixbase/pixbase.h"

namespace bench {

struct Shape {
  const char* name;
  int32_t width;
  int32_t height;
  size_t pixels() const { return static_cast<size_t>(width) * static_cast<size_t>(height); }
};

inline constexpr Shape kShapes[] = {{"cache", 2048, 512}, {"memory", 4096, 4096}};

enum class Kind { kMemcpy, kPeer, kConvert, kConvertCmyk, kSmooth, kResampleMap, kImport };

// The goal an operation is held to, as a ratio to the peer's conversion on
// the cache-resident image (0: none).
struct Case {
  std::string name;
  Kind kind;
  int32_t a;  // colour space, smoothing segment, source length, layout
  int32_t b;  // destination length, depth
  double goal;
};

inline std::vector<Case> Cases() {
  std::vector<Case> cases = {{"memcpy", Kind::kMemcpy, 0, 0, 0},
                             {"libyuv J444ToARGB", Kind::kPeer, 0, 0, 0}};
  struct Space {
    const char* name;
    int32_t value;
  };
  const Space spaces[] = {
      {"I1I2I3 (4)", 4},   {"XYZ (5)", 5},           {"YCbCr (6)", 6},
      {"PhotoYCC (7)", 7}, {"YIQ (8)", 8},           {"YPbPr (9)", 9},
      {"YUV (10)", 10},    {"CMYK values (11)", 11}, {"YCC alternate (12)", 12}};
  for (const Space& s : spaces)
    cases.push_back({std::string("ConvertImageToRGB ") + s.name, Kind::kConvert, s.value, 0,
                     s.value == 7 || s.value == 12 ? 0.5 : 1.0});
  cases.push_back({"ConvertImageToRGB CMYK image", Kind::kConvertCmyk, 0, 0, 0});
  const std::pair<const char*, int32_t> layouts[] = {{"index (0)", SampleIndex},
                                                     {"RGB (12)", SampleRGB},
                                                     {"RGBA (13)", SampleRGBA},
                                                     {"CMYK (14)", SampleCMYK}};
  for (const auto& [name, layout] : layouts)
    for (int32_t depth : {8, 16})
      cases.push_back(
          {std::string("ImportPixelSamples ") + name + " depth " + std::to_string(depth),
           Kind::kImport, layout, depth, depth == 8 ? 1.0 : 0.7});
  cases.push_back({"SmoothPixelLine wide, whole rows", Kind::kSmooth, 0, 0, 0});
  cases.push_back({"SmoothPixelLine narrow, lines of 8", Kind::kSmooth, 8, 0, 0});
  cases.push_back({"BuildResampleMap 4096->1000 (entries)", Kind::kResampleMap, 4096, 1000, 0});
  cases.push_back({"BuildResampleMap 1000->4096 (entries)", Kind::kResampleMap, 1000, 4096, 0});
  return cases;
}

inline std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
  std::vector<uint8_t> bytes(count);
  std::mt19937 random(seed);
  for (size_t i = 0; i + 4 <= count; i += 4) {
    const uint32_t r = random();
    std::memcpy(&bytes[i], &r, 4);
  }
  return bytes;
}

inline std::vector<uint32_t> RandomPixels(size_t count, uint32_t seed) {
  std::vector<uint32_t> pixels(count);
  std::mt19937 random(seed);
  for (uint32_t& p : pixels) p = random();
  return pixels;
}

// The data of one case on one shape and one pass of its operation. The peer
// conversion is supplied by the native benchmark only (`peer`).
class Workload {
 public:
  using Peer = std::function<void(const uint8_t* y, const uint8_t* u, const uint8_t* v,
                                  uint32_t* argb, int32_t width, int32_t height)>;

  Workload(const Case& c, const Shape& shape, Peer peer = nullptr)
      : case_(c), shape_(shape), peer_(std::move(peer)) {
    const size_t pixels = shape.pixels();
    switch (c.kind) {
      case Kind::kMemcpy:
        source_pixels_ = RandomPixels(pixels, 1);
        pixels_.resize(pixels);
        break;
      case Kind::kPeer:
        planes_ = RandomBytes(3 * pixels, 2);
        pixels_.resize(pixels);
        break;
      case Kind::kConvert:
      case Kind::kConvertCmyk:
        pixels_ = RandomPixels(pixels, 5);
        std::memset(&image_, 0, sizeof image_);
        image_.size = sizeof image_;
        image_.width = shape.width;
        image_.height = shape.height;
        image_.colorSpace = c.kind == Kind::kConvertCmyk ? ColorspaceCMYK : ColorspaceRGB;
        image_.pixels = pixels_.data();
        InitExceptionReport(&image_.report);
        break;
      case Kind::kSmooth:
        pixels_ = RandomPixels(pixels, 7);
        for (uint32_t& p : pixels_) p &= 0x00FFFFFFu;
        break;
      case Kind::kResampleMap:
        map_.resize(static_cast<size_t>(c.b));
        break;
      case Kind::kImport:
        row_bytes_ = static_cast<size_t>(shape.width) * SamplesOf(c.a) * (c.b > 8 ? 2 : 1);
        samples_ = RandomBytes(row_bytes_ * static_cast<size_t>(shape.height), 8);
        pixels_.resize(pixels);
        color_map_ = RandomPixels(256, 9);
        break;
    }
  }

  // Pixels (or map entries) one pass handles.
  size_t items() const {
    if (case_.kind == Kind::kResampleMap) return static_cast<size_t>(case_.b);
    if (case_.kind == Kind::kSmooth) return static_cast<size_t>(shape_.width);
    return shape_.pixels();
  }

  // False when the operation reported a failure.
  bool Run() {
    switch (case_.kind) {
      case Kind::kMemcpy:
        std::memcpy(pixels_.data(), source_pixels_.data(), pixels_.size() * sizeof(uint32_t));
        return true;
      case Kind::kPeer: {
        const size_t n = shape_.pixels();
        peer_(planes_.data(), planes_.data() + n, planes_.data() + 2 * n, pixels_.data(),
              shape_.width, shape_.height);
        return true;
      }
      case Kind::kConvert:
        // In place, again and again: every pass sees arbitrary bytes.
        return ConvertImageToRGB(&image_, case_.a) == 1;
      case Kind::kConvertCmyk:
        image_.colorSpace = ColorspaceCMYK;
        return ConvertImageToRGB(&image_, ColorspaceRGB) == 1;
      case Kind::kSmooth: {
        // One row a pass (the wide kernel on the whole row; the narrow one
        // runs only on lines of 4 to 9 pixels, so the row is cut in 8s).
        uint32_t* at = pixels_.data() + row_ * static_cast<size_t>(shape_.width);
        const int32_t segment = case_.a > 0 ? case_.a : shape_.width;
        for (int32_t x = 0; x + segment <= shape_.width; x += segment)
          SmoothPixelLine(at + x, segment);
        row_ = (row_ + 1) % static_cast<size_t>(shape_.height);
        return true;
      }
      case Kind::kResampleMap:
        BuildResampleMap(case_.a, case_.b, map_.data());
        return true;
      case Kind::kImport:
        // The whole image, row by row.
        for (int32_t y = 0; y < shape_.height; ++y)
          ImportPixelSamples(shape_.width, case_.b,
                             pixels_.data() + static_cast<size_t>(y) * shape_.width,
                             color_map_.data(), case_.a, samples_.data() + row_bytes_ * y);
        return true;
    }
    return false;
  }

  bool available() const { return case_.kind != Kind::kPeer || peer_ != nullptr; }

 private:
  static int SamplesOf(int32_t layout) {
    return layout == SampleIndex ? 1 : (layout == SampleRGB ? 3 : 4);
  }

  Case case_;
  Shape shape_;
  Peer peer_;
  std::vector<uint32_t> pixels_, source_pixels_, color_map_;
  std::vector<uint8_t> planes_, samples_;
  std::vector<int32_t> map_;
  size_t row_bytes_ = 0, row_ = 0;
  ImageRecord image_{};
};

}  // namespace bench

#endif
