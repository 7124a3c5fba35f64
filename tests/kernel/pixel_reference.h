// An independent model of the pixel operations, written straight from their
// definitions (tables of single-precision products, sums rounded to single
// precision, the byte rules, the samples of each layout, the taps of each
// kernel), one pixel or one element at a time. Tests and fuzzers compare the
// library against it.
#ifndef LUMAVIEW_TESTS_PIXEL_REFERENCE_H
#define LUMAVIEW_TESTS_PIXEL_REFERENCE_H

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pixel_reference {

// Rounds to single precision on every build (the 32-bit build computes in
// wider registers).
inline float Single(float v) {
  volatile float stored = v;
  return stored;
}

inline const uint8_t* PhotoToneTable() {
  static const uint8_t table[351] = {
      0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,
      13,  14,  15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  // 0-24
      25,  26,  27,  28,  29,  30,  32,  33,  34,  35,  36,  37,  38,
      39,  40,  41,  42,  43,  45,  46,  47,  48,  49,  50,  51,  // 25-49
      52,  53,  54,  56,  57,  58,  59,  60,  61,  62,  63,  64,  66,
      67,  68,  69,  70,  71,  72,  73,  74,  76,  77,  78,  79,  // 50-74
      80,  81,  82,  83,  84,  86,  87,  88,  89,  90,  91,  92,  93,
      94,  95,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106,  // 75-99
      107, 108, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120,
      121, 122, 123, 124, 125, 126, 127, 129, 130, 131, 132, 133,  // 100-124
      134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146,
      147, 148, 149, 150, 151, 152, 153, 154, 155, 156, 157, 158,  // 125-149
      159, 160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171,
      172, 173, 174, 175, 176, 176, 177, 178, 179, 180, 181, 182,  // 150-174
      183, 184, 185, 186, 187, 188, 189, 190, 191, 192, 193, 193, 194,
      195, 196, 197, 198, 199, 200, 201, 201, 202, 203, 204, 205,  // 175-199
      206, 207, 207, 208, 209, 210, 211, 211, 212, 213, 214, 215, 215,
      216, 217, 218, 218, 219, 220, 221, 221, 222, 223, 224, 224,  // 200-224
      225, 226, 226, 227, 228, 228, 229, 230, 230, 231, 232, 232, 233,
      234, 234, 235, 236, 236, 237, 237, 238, 238, 239, 240, 240,  // 225-249
      241, 241, 242, 242, 243, 243, 244, 244, 245, 245, 245, 246, 246,
      247, 247, 247, 248, 248, 248, 249, 249, 249, 249, 250, 250,  // 250-274
      250, 250, 251, 251, 251, 251, 251, 252, 252, 252, 252, 252, 253,
      253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253, 253,  // 275-299
      254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,
      254, 254, 254, 254, 254, 254, 255, 255, 255, 255, 255, 255,  // 300-324
      255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
      255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,  // 325-349
      255,                                                         // 350-350
  };
  return table;
}

inline const uint8_t* AlternateToneTable() {
  static const uint8_t table[351] = {
      0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,
      13,  14,  15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  // 0-24
      25,  26,  27,  28,  29,  29,  30,  31,  32,  33,  34,  35,  36,
      37,  38,  39,  40,  41,  42,  43,  44,  45,  46,  47,  48,  // 25-49
      49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,
      62,  63,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  // 50-74
      75,  76,  77,  78,  79,  80,  81,  82,  83,  84,  85,  86,  87,
      88,  89,  90,  91,  92,  93,  95,  96,  97,  98,  99,  100,  // 75-99
      101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 114,
      115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126,  // 100-124
      127, 128, 129, 130, 131, 132, 133, 135, 136, 137, 138, 139, 140,
      141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152,  // 125-149
      153, 154, 155, 156, 157, 158, 159, 160, 161, 162, 163, 164, 165,
      166, 167, 168, 169, 170, 171, 172, 173, 174, 175, 175, 176,  // 150-174
      177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 187, 188,
      189, 190, 191, 192, 193, 194, 194, 195, 196, 197, 198, 199,  // 175-199
      199, 200, 201, 202, 203, 203, 204, 205, 206, 207, 207, 208, 209,
      210, 210, 211, 212, 213, 213, 214, 215, 215, 216, 217, 218,  // 200-224
      218, 219, 220, 220, 221, 222, 222, 223, 223, 224, 225, 225, 226,
      227, 227, 228, 228, 229, 229, 230, 230, 231, 232, 232, 233,  // 225-249
      233, 234, 234, 235, 235, 235, 236, 236, 237, 237, 238, 238, 238,
      239, 239, 240, 240, 240, 241, 241, 242, 242, 242, 243, 243,  // 250-274
      243, 243, 244, 244, 244, 245, 245, 245, 245, 246, 246, 246, 247,
      247, 247, 247, 247, 248, 248, 248, 248, 249, 249, 249, 249,  // 275-299
      249, 249, 250, 250, 250, 250, 250, 250, 251, 251, 251, 251, 251,
      251, 252, 252, 252, 252, 252, 252, 252, 252, 252, 253, 253,  // 300-324
      253, 253, 253, 253, 253, 253, 253, 254, 254, 254, 254, 254, 254,
      254, 254, 254, 254, 254, 254, 255, 255, 255, 255, 255, 255,  // 325-349
      255,                                                         // 350-350
  };
  return table;
}

// The three tables TX, TY, TZ of 3 blocks of 256 entries for a space.
struct Tables {
  float x[768];
  float y[768];
  float z[768];
};

inline Tables TablesFor(int space) {
  Tables t{};
  auto set = [](float* table, int i, float red, float green, float blue) {
    table[i] = red;
    table[256 + i] = green;
    table[512 + i] = blue;
  };
  for (int i = 0; i < 256; ++i) {
    const float v = static_cast<float>(i);
    const float c = static_cast<float>(2 * i - 255);
    const float c1 = static_cast<float>(i - 156);
    const float c2 = static_cast<float>(i - 137);
    auto p = [](float constant, float argument) { return Single(constant * argument); };
    switch (space) {
      case 4:
        set(t.x, i, v, v, v);
        set(t.y, i, p(0.5f, c), 0, p(-0.5f, c));
        set(t.z, i, p(-0.33334f, c), p(0.666665f, c), p(-0.33334f, c));
        break;
      case 5:
        set(t.x, i, p(3.240479f, v), p(-0.969256f, v), p(0.055648f, v));
        set(t.y, i, p(-1.53715f, v), p(1.875992f, v), p(-0.204043f, v));
        set(t.z, i, p(-0.498535f, v), p(0.041556f, v), p(1.057311f, v));
        break;
      case 6:
      case 9:
        set(t.x, i, v, v, v);
        set(t.y, i, 0, p(-0.172068f, c), p(0.886f, c));
        set(t.z, i, p(0.701f, c), p(-0.357068f, c), 0);
        break;
      case 7:
        set(t.x, i, p(1.3584f, v), p(1.3584f, v), p(1.3584f, v));
        set(t.y, i, 0, p(-0.4302726f, c1), p(2.2179f, c1));
        set(t.z, i, p(1.8215f, c2), p(-0.9271435f, c2), 0);
        break;
      case 8:
        set(t.x, i, v, v, v);
        set(t.y, i, p(0.4781f, c), p(-0.13635f, c), p(-0.55185f, c));
        set(t.z, i, p(0.3107f, c), p(-0.3234f, c), p(0.8503f, c));
        break;
      case 12:
        set(t.x, i, p(1.402f, v), p(1.402f, v), p(1.402f, v));
        set(t.y, i, 0, p(-0.444066f, c1), p(2.289f, c1));
        set(t.z, i, p(1.88f, c2), p(-0.95692f, c2), 0);
        break;
      default:  // 10, 11 and every value without a name
        set(t.x, i, v, v, v);
        set(t.y, i, 0, p(-0.1969f, c), p(1.01395f, c));
        set(t.z, i, p(0.5699f, c), p(-0.29025f, c), 0);
        break;
    }
  }
  return t;
}

inline uint32_t ByteOf(int space, float v) {
  if (space == 7 || space == 12) {
    int index;
    if (v < 0) {
      index = 0;
    } else if (v > 350) {
      index = 350;
    } else {
      index = static_cast<int>(Single(v + 0.5f));
    }
    return (space == 7 ? PhotoToneTable() : AlternateToneTable())[index];
  }
  if (v < 0) return 0;
  if (v > 255) return 255;
  return static_cast<uint32_t>(static_cast<double>(v) + 0.5);
}

// One pixel through the tables, the sums in single precision (or, with
// `double_sums`, summed in double precision and then rounded to single).
inline uint32_t ConvertPixel(int space, const Tables& t, uint32_t pixel, bool double_sums = false) {
  const uint32_t x = (pixel >> 16) & 255, y = (pixel >> 8) & 255, z = pixel & 255;
  uint32_t out = pixel & 0xFF000000u;
  for (int block = 0; block < 3; ++block) {
    const float a = t.x[256 * block + x], b = t.y[256 * block + y], c = t.z[256 * block + z];
    const float v = double_sums ? Single(static_cast<float>(static_cast<double>(a) + b + c))
                                : Single(Single(a + b) + c);
    out |= ByteOf(space, v) << (16 - 8 * block);
  }
  return out;
}

inline uint32_t CmykChannel(uint32_t colour, uint32_t black) {
  return colour + black <= 255 ? 255 - colour - black : 0;
}

inline uint32_t CmykPixel(uint32_t pixel) {
  const uint32_t k = pixel >> 24;
  return CmykChannel((pixel >> 16) & 255, k) << 16 | CmykChannel((pixel >> 8) & 255, k) << 8 |
         CmykChannel(pixel & 255, k);
}

// The whole conversion of a pixel array, without the progress monitor.
// Returns the colour space the image has afterwards.
inline int ConvertPixels(int image_space, int space, std::vector<uint32_t>& pixels) {
  if (image_space == 11 && space == 1) {
    for (uint32_t& p : pixels) p = CmykPixel(p);
    return 1;
  }
  if (space == 1 || space == 2 || space == 3) return image_space;
  const Tables t = TablesFor(space);
  for (uint32_t& p : pixels) p = ConvertPixel(space, t, p);
  return image_space;
}

// ImportPixelSamples for one line; `source` holds exactly the samples.
inline void ImportSamples(int count, int depth, uint32_t* pixels, const uint32_t* map, int layout,
                          const uint8_t* source) {
  const int stride = depth > 8 ? 2 : 1;
  int samples;
  switch (layout) {
    case 2:
    case 3:
      samples = 2;
      break;
    case 0:
    case 1:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
      samples = 1;
      break;
    case 13:
    case 14:
      samples = 4;
      break;
    default:
      samples = 3;
      break;
  }
  for (int p = 0; p < count; ++p) {
    auto s = [&](int n) -> uint32_t { return source[(p * samples + n) * stride]; };
    uint32_t& d = pixels[p];
    auto put = [&d](int shift, uint32_t value) { d = (d & ~(0xFFu << shift)) | value << shift; };
    switch (layout) {
      case 0:
      case 1:
        d = map[s(0)];
        break;
      case 2:
      case 3:
        d = map[s(0)];
        put(24, 255 - s(1));
        break;
      case 4:
      case 5:
        put(16, s(0));
        break;
      case 6:
      case 7:
        put(8, s(0));
        break;
      case 8:
      case 9:
        put(0, s(0));
        break;
      case 10:
        put(24, 255 - s(0));
        break;
      case 11:
        put(24, s(0));
        break;
      case 13:
        put(16, s(0));
        put(8, s(1));
        put(0, s(2));
        put(24, 255 - s(3));
        break;
      case 14:
        d = CmykPixel(s(0) << 16 | s(1) << 8 | s(2) | s(3) << 24);
        break;
      default:
        put(16, s(0));
        put(8, s(1));
        put(0, s(2));
        break;
    }
  }
}

inline int SamplesPerPixel(int layout) {
  switch (layout) {
    case 2:
    case 3:
      return 2;
    case 0:
    case 1:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
      return 1;
    case 13:
    case 14:
      return 4;
    default:
      return 3;
  }
}

// BuildResampleMap: the entries written, in order.
inline std::vector<int32_t> ResampleMap(int32_t s, int32_t d) {
  std::vector<int32_t> map;
  if (static_cast<int64_t>(d) >= 4 * static_cast<int64_t>(s)) {
    if (d <= 0) return map;
    const float r = static_cast<float>(s) / static_cast<float>(d);
    // An entry that rounds up to s itself names the last source pixel (when
    // there is one).
    for (int32_t i = 0; i < d; ++i) {
      const auto at = static_cast<int32_t>(Single(static_cast<float>(i) * r));
      map.push_back(s > 0 ? std::min(at, s - 1) : at);
    }
    return map;
  }
  const int64_t q_count = 4 * static_cast<int64_t>(s);
  int64_t acc = 0;
  for (int64_t q = 0; q < q_count && d > 0; ++q) {
    acc += q_count - d;
    if (acc < q_count) {
      map.push_back(static_cast<int32_t>(q / 4));
    } else {
      acc -= q_count;
    }
  }
  return map;
}

// SmoothPixelLine, channel by channel (the narrow kernel as defined for
// pixels whose fourth byte is 0).
inline void Smooth(std::vector<uint32_t>& line) {
  const int n = static_cast<int>(line.size());
  auto channel = [](uint32_t p, int c) { return (p >> (16 - 8 * c)) & 255; };
  if (n >= 10) {
    static const int w[9] = {1, 2, 4, 5, 8, 5, 4, 2, 1};
    for (int i = 0; i < n; ++i) {
      uint32_t out = 0;
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int k = -4; k <= 4; ++k) {
          int at = i + k < 0 ? 0 : (i + k > n - 1 ? n - 1 : i + k);
          sum += static_cast<int>(channel(line[at], c)) * w[k + 4];
        }
        out |= static_cast<uint32_t>(sum / 32) << (16 - 8 * c);
      }
      line[i] = out;
    }
  } else if (n >= 4) {
    for (int i = 0; i < n; ++i) {
      const uint32_t left = line[i == 0 ? 0 : i - 1];
      const uint32_t right = line[i == n - 1 ? n - 1 : i + 1];
      uint32_t out = 0;
      for (int c = 0; c < 3; ++c) {
        const uint32_t l = channel(left, c), m = channel(line[i], c), r = channel(right, c);
        const uint32_t v = ((m | 1) + ((((l | 1) + (r | 1)) / 2) | 1)) / 2;
        out |= v << (16 - 8 * c);
      }
      line[i] = out;
    }
  }
}

}  // namespace pixel_reference

#endif
