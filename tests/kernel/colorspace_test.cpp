// Conversion to RGB: every colour space against the reference model on every
// vector level the processor has, the listed pixel examples, the CMYK rule,
// the progress monitor and the failure to obtain the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "pixbase/exceptions.h"
#include "pixbase/memory.h"
#include "pixbase/pixel.h"
#include "pixel/color_transforms.h"
#include "pixel/vector_level.h"
#include "pixel_reference.h"
#include "services/test_hooks.h"

namespace {

using pixbase::pixel::LimitVectorLevel;
using pixbase::pixel::ProcessorVectorLevel;
using pixbase::pixel::VectorLevel;
using pixbase::testing::AllocationAttempts;
using pixbase::testing::FailAllocationsAfter;
using pixbase::testing::StopFailingAllocations;

constexpr char kProgressText[] = "  Transforming image colors...  ";

struct TestImage {
  ImageRecord record{};
  std::vector<uint32_t> pixels;

  TestImage(int32_t width, int32_t height, Colorspace space = ColorspaceRGB) {
    record.size = sizeof(ImageRecord);
    record.width = width;
    record.height = height;
    record.colorSpace = space;
    InitExceptionReport(&record.report);
    pixels.assign(static_cast<size_t>(width > 0 && height > 0 ? width : 0) *
                      static_cast<size_t>(height > 0 ? height : 0),
                  0);
    record.pixels = pixels.empty() ? nullptr : pixels.data();
  }
  ~TestImage() { DisposeExceptionReport(&record.report); }
  TestImage(const TestImage&) = delete;
  TestImage& operator=(const TestImage&) = delete;
};

std::string Name(VectorLevel level);

std::vector<VectorLevel> Levels() {
  static bool told = false;
  if (!told) {
    std::printf("vector units of this processor: up to %s\n", Name(ProcessorVectorLevel()).c_str());
    told = true;
  }
  std::vector<VectorLevel> levels;
  for (int l = 0; l <= static_cast<int>(ProcessorVectorLevel()); ++l)
    levels.push_back(static_cast<VectorLevel>(l));
  return levels;
}

std::string Name(VectorLevel level) {
  static const char* names[] = {"plain", "SSE2", "AVX2", "AVX-512", "AVX-512 VBMI"};
  return names[static_cast<int>(level)];
}

struct MonitorCall {
  int32_t code;
  std::string text;
  int32_t position;
  int32_t span;
};
std::vector<MonitorCall> monitor_calls;
int32_t stop_after_calls = -1;  // answer 0 on this call (1-based); -1: never

int32_t PIXBASE_CALL RecordingMonitor(int32_t code, const char* text, int32_t position,
                                      int32_t span) {
  monitor_calls.push_back({code, text ? text : "(null)", position, span});
  return static_cast<int32_t>(monitor_calls.size()) == stop_after_calls ? 0 : 1;
}

class ColorspaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    monitor_calls.clear();
    stop_after_calls = -1;
    previous_ = SetProgressMonitor(RecordingMonitor);
  }
  void TearDown() override {
    SetProgressMonitor(previous_);
    StopFailingAllocations();
    LimitVectorLevel(pixbase::pixel::kWidestVectorLevel);
  }
  ProgressMonitor previous_ = nullptr;
};

uint32_t Pixel(uint32_t fourth, uint32_t first, uint32_t second, uint32_t third) {
  return fourth << 24 | first << 16 | second << 8 | third;
}

uint32_t Converted(Colorspace space, uint32_t pixel) {
  TestImage image(1, 1);
  image.pixels[0] = pixel;
  EXPECT_EQ(ConvertImageToRGB(&image.record, space), 1);
  return image.pixels[0];
}

// `colours` as a side x side image, converted to RGB from `space` at
// `level` (at most).
std::vector<uint32_t> ConvertedAtLevel(VectorLevel level, Colorspace space,
                                       const std::vector<uint32_t>& colours, int32_t side) {
  LimitVectorLevel(level);
  TestImage image(side, side);
  image.pixels = colours;
  image.record.pixels = image.pixels.data();
  EXPECT_EQ(ConvertImageToRGB(&image.record, space), 1);
  LimitVectorLevel(pixbase::pixel::kWidestVectorLevel);
  return std::move(image.pixels);
}

// The first index at which the two differ, or their size.
size_t FirstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  return static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin()).first - a.begin());
}

// Every space, named or not, on images whose widths leave every possible
// tail after whole vectors, at every vector level.
TEST_F(ColorspaceTest, EverySpaceMatchesTheReferenceModelAtEveryVectorLevel) {
  std::mt19937 random(20261207);
  const int32_t widths[] = {1, 3, 15, 16, 17, 31, 33, 257, 1000};
  for (Colorspace space : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, -1, 1000}) {
    for (int32_t width : widths) {
      const int32_t height = 37;
      std::vector<uint32_t> input(static_cast<size_t>(width) * height);
      for (uint32_t& p : input) p = static_cast<uint32_t>(random());
      std::vector<uint32_t> expected = input;
      pixel_reference::ConvertPixels(ColorspaceRGB, space, expected);
      for (VectorLevel level : Levels()) {
        LimitVectorLevel(level);
        TestImage image(width, height);
        image.pixels = input;
        image.record.pixels = image.pixels.data();
        monitor_calls.clear();
        ASSERT_EQ(ConvertImageToRGB(&image.record, space), 1);
        for (size_t i = 0; i < input.size(); ++i)
          ASSERT_EQ(image.pixels[i], expected[i])
              << "space " << space << " width " << width << " " << Name(level) << " pixel " << i
              << " input " << std::hex << input[i];
        EXPECT_EQ(image.record.colorSpace, ColorspaceRGB);
        const bool converts = space < 1 || space > 3;
        EXPECT_EQ(monitor_calls.size(), converts ? static_cast<size_t>(height) : 0u);
      }
    }
  }
}

// Every combination of the upper 22 bits of a colour (the two lowest bits of
// the third component chosen at random) in each space, with each vector unit
// against the plain table loop; then a sample against the reference model.
TEST_F(ColorspaceTest, FourMillionColoursAgreeBetweenVectorAndTableLoops) {
#if defined(_WIN32)
  // Under Wine a sixteenth of them.
  std::vector<uint32_t> all(1u << 18);
#else
  std::vector<uint32_t> all(1u << 22);
#endif
  for (uint32_t i = 0; i < all.size(); ++i) {
    const uint32_t hash = i * 2654435761u;
    all[i] = (i << 2 | hash >> 30) | (hash & 0xFF000000u);
  }
  const int32_t side = static_cast<int32_t>(std::sqrt(static_cast<double>(all.size())));
  for (Colorspace space : {4, 5, 6, 7, 8, 9, 10, 12}) {
    const std::vector<uint32_t> plain = ConvertedAtLevel(VectorLevel::kPlain, space, all, side);
    for (VectorLevel level : Levels()) {
      if (level == VectorLevel::kPlain) continue;
      const size_t at = FirstDifference(ConvertedAtLevel(level, space, all, side), plain);
      EXPECT_EQ(at, all.size()) << "space " << space << " " << Name(level) << " colour " << std::hex
                                << all[at % all.size()];
    }
    const pixel_reference::Tables tables = pixel_reference::TablesFor(space);
    for (size_t i = 0; i < all.size(); i += 1021)
      ASSERT_EQ(plain[i], pixel_reference::ConvertPixel(space, tables, all[i]))
          << "space " << space << " colour " << std::hex << all[i];
  }
}

// Where a transform is marked free of ties, the widest vector unit rounds its
// sums to the nearest integer, ties to even, instead of adding a half and
// truncating: exact only if no sum of any input lies halfway above an even
// integer within 0..255. Checked over every input, both ways, so that the
// marks follow any change of a coefficient.
TEST_F(ColorspaceTest, TransformsMarkedFreeOfTiesHaveNoTieOverEveryInput) {
  for (Colorspace space : {4, 5, 6, 8, 10}) {
    const pixel_reference::Tables t = pixel_reference::TablesFor(space);
    int64_t ties = 0;
    for (int block = 0; block < 3; ++block) {
      const float* tx = t.x + 256 * block;
      const float* ty = t.y + 256 * block;
      const float* tz = t.z + 256 * block;
      for (int x = 0; x < 256; ++x) {
        for (int y = 0; y < 256; ++y) {
          const float partial = pixel_reference::Single(tx[x] + ty[y]);
          for (int z = 0; z < 256; ++z) {
            const float v = pixel_reference::Single(partial + tz[z]);
            const double rule = v < 0.0f ? 0.0 : v > 255.0f ? 255.0 : std::floor(v + 0.5);
            const double nearest =
                std::min(std::max(std::nearbyint(static_cast<double>(v)), 0.0), 255.0);
            if (rule != nearest) ++ties;
          }
        }
      }
    }
    const auto transform = pixbase::pixel::TransformFor(space);
    EXPECT_EQ(pixbase::pixel::kColorTransforms[transform].ties_absent, ties == 0)
        << "space " << space << ": " << ties << " ties";
  }
}

// The widest vector unit sums each channel in the forms the transform table
// names: products joined to the running sum by a fused multiply-add
// (fused_terms) and, where a tone curve's channel names one, the half added
// to one product before its rounding (half_term) and the sum floored;
// otherwise a curve's sum gets the rule's half, and a linear sum is rounded
// to nearest where the transform has no ties, or floored with an exact half.
// Checked against the rules over every input, whatever the processor, so
// that the forms follow any change of a coefficient.
TEST_F(ColorspaceTest, WidestUnitFormsGiveTheRulesOverEveryInput) {
  using pixbase::pixel::ColorTransform;
  using pixbase::pixel::kToneTableLast;
  using pixel_reference::Single;
  // c * a + s rounded once: c * a (24 by 9 bits) and the sum (at most 39 bits
  // from 2^11 down, coefficients above 2^-6) are exact in double precision.
  const auto fused = [](float c, float a, float s) {
    return Single(static_cast<float>(static_cast<double>(c) * a + s));
  };
  for (int index = 0; index < pixbase::pixel::kTransformCount; ++index) {
    const ColorTransform& transform = pixbase::pixel::kColorTransforms[index];
    const bool curve = transform.tone != pixbase::pixel::ToneCurve::kNone;
    const double last = curve ? kToneTableLast : 255.0;
    for (int k = 0; k < 3; ++k) {
      const int half_term = transform.half_term[k];
      const unsigned fused_terms = transform.fused_terms[k];
      if (!curve) {
        ASSERT_LT(half_term, 0) << "transform " << index;
      }
      ASSERT_LE(half_term, 2);
      ASSERT_EQ(fused_terms & (1u | (half_term >= 0 ? 1u << half_term : 0u)), 0u);
      float argument[3][256], product[3][256], term[3][256];
      for (int c = 0; c < 3; ++c) {
        const float coefficient = transform.coefficient[k][c];
        for (int byte = 0; byte < 256; ++byte) {
          argument[c][byte] = transform.scale[c] * static_cast<float>(byte) + transform.offset[c];
          product[c][byte] = coefficient == 0.0f ? 0.0f : Single(coefficient * argument[c][byte]);
          term[c][byte] =
              c == half_term ? fused(coefficient, argument[c][byte], 0.5f) : product[c][byte];
        }
      }
      // The unit's sum with the running sum s before component c.
      const auto add = [&](int c, int byte, float s) {
        return (fused_terms >> c & 1u) != 0
                   ? fused(transform.coefficient[k][c], argument[c][byte], s)
                   : Single(s + term[c][byte]);
      };
      // The rule's byte or index from its sum v, the unit's from its sum w.
      const auto rule = [&](float v) -> double {
        if (v < 0.0f) return 0.0;
        if (v > static_cast<float>(last)) return last;
        return curve ? std::trunc(Single(v + 0.5f)) : std::floor(v + 0.5);
      };
      const auto unit = [&](float w) {
        const double value = half_term >= 0          ? std::floor(w)
                             : curve                 ? std::trunc(Single(w + 0.5f))
                             : transform.ties_absent ? std::nearbyint(w)
                                                     : std::floor(w + 0.5);
        return std::min(std::max(value, 0.0), last);
      };
      int64_t differ = 0;
      for (int x = 0; x < 256; ++x) {
        for (int y = 0; y < 256; ++y) {
          const float partial = Single(product[0][x] + product[1][y]);
          const float unit_partial = add(1, y, term[0][x]);
          for (int z = 0; z < 256; ++z)
            if (rule(Single(partial + product[2][z])) != unit(add(2, z, unit_partial))) ++differ;
        }
      }
      EXPECT_EQ(differ, 0) << "transform " << index << " channel " << k << ": half with component "
                           << half_term << ", fused " << fused_terms;
    }
  }
}

// The widest vector unit against the plain table loop on all 2^24 colours of
// every linear space and tone curve (the 32-bit build too: its widest unit
// reaches the same sums by other instructions).
TEST_F(ColorspaceTest, EveryColourAgreesBetweenTheWidestUnitAndTheTableLoop) {
  constexpr int32_t kSide = 4096;
  std::vector<uint32_t> all(static_cast<size_t>(kSide) * kSide);
  for (uint32_t i = 0; i < all.size(); ++i) all[i] = i | (i * 2654435761u & 0xFF000000u);
  for (Colorspace space : {4, 5, 6, 7, 8, 10, 12}) {
    const size_t at =
        FirstDifference(ConvertedAtLevel(pixbase::pixel::kWidestVectorLevel, space, all, kSide),
                        ConvertedAtLevel(VectorLevel::kPlain, space, all, kSide));
    EXPECT_EQ(at, all.size()) << "space " << space << " " << Name(ProcessorVectorLevel())
                              << " colour " << std::hex << all[at % all.size()];
  }
}

// Summing in double precision instead may move a byte by one, and only where
// the sum lies within rounding distance of a half.
TEST_F(ColorspaceTest, DoubleSumsDifferOnlyByOneNearHalves) {
  std::mt19937 random(7);
  for (Colorspace space : {4, 5, 6, 8, 10}) {
    const pixel_reference::Tables t = pixel_reference::TablesFor(space);
    for (int n = 0; n < 200000; ++n) {
      const uint32_t pixel = random() & 0xFFFFFFu;
      const uint32_t single = pixel_reference::ConvertPixel(space, t, pixel);
      const uint32_t wide = pixel_reference::ConvertPixel(space, t, pixel, true);
      for (int shift = 0; shift <= 16; shift += 8) {
        const int a = (single >> shift) & 255, b = (wide >> shift) & 255;
        if (a == b) continue;
        ASSERT_EQ(std::abs(a - b), 1);
        const int block = (16 - shift) / 8;
        const double sum = static_cast<double>(t.x[256 * block + ((pixel >> 16) & 255)]) +
                           t.y[256 * block + ((pixel >> 8) & 255)] +
                           t.z[256 * block + (pixel & 255)];
        EXPECT_LT(std::fabs(sum + 0.5 - std::round(sum + 0.5)), 1e-4) << sum;
      }
    }
  }
}

TEST_F(ColorspaceTest, ListedYCbCrAndPhotoYCCExamples) {
  for (VectorLevel level : Levels()) {
    LimitVectorLevel(level);
    SCOPED_TRACE(Name(level));
    // R = 128.701, G = 127.470864, B = 128.886.
    EXPECT_EQ(Converted(ColorspaceYCbCr, Pixel(0, 128, 128, 128)), Pixel(0, 129, 127, 129));
    // R = 255 + 0.701 * 255 clamps; the fourth byte is kept.
    EXPECT_EQ(Converted(ColorspaceYCbCr, Pixel(0x5A, 255, 128, 255)) >> 16, 0x5Au << 8 | 255);
    // 1.3584 * 255 = 346.39: index 346 of the tone curve, 255.
    EXPECT_EQ(Converted(ColorspacePhotoYCC, Pixel(0, 255, 156, 137)), Pixel(0, 255, 255, 255));
    // R = 1.8215 * -137 is negative: index 0.
    EXPECT_EQ(Converted(ColorspacePhotoYCC, Pixel(0, 0, 156, 0)) >> 16, 0u);
    // Y 100 alone: index 136 (135.84 + 0.5) of the photo curve, 145; index 140
    // (140.2 + 0.5) of the alternate curve, 143.
    EXPECT_EQ(Converted(ColorspacePhotoYCC, Pixel(0, 100, 156, 137)), Pixel(0, 145, 145, 145));
    EXPECT_EQ(Converted(ColorspaceYCCAlternate, Pixel(0, 100, 156, 137)), Pixel(0, 143, 143, 143));
  }
}

TEST_F(ColorspaceTest, ToneCurvesRiseFromZeroTo255) {
  for (const uint8_t* table :
       {pixel_reference::PhotoToneTable(), pixel_reference::AlternateToneTable()}) {
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[350], 255);
    for (int i = 1; i <= 350; ++i) EXPECT_LE(table[i - 1], table[i]) << i;
  }
  EXPECT_EQ(pixel_reference::PhotoToneTable()[286], 252);
  EXPECT_EQ(pixel_reference::PhotoToneTable()[287], 253);
  EXPECT_EQ(pixel_reference::PhotoToneTable()[318], 254);
  EXPECT_EQ(pixel_reference::PhotoToneTable()[319], 255);
  EXPECT_EQ(pixel_reference::AlternateToneTable()[331], 253);
  EXPECT_EQ(pixel_reference::AlternateToneTable()[343], 254);
  EXPECT_EQ(pixel_reference::AlternateToneTable()[344], 255);
}

TEST_F(ColorspaceTest, RgbAndPassThroughValuesChangeNothing) {
  for (Colorspace space : {ColorspaceRGB, ColorspacePassThrough2, ColorspacePassThrough3}) {
    TestImage image(5, 3);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = 0x01020304u * (i + 1);
    const std::vector<uint32_t> before = image.pixels;
    FailAllocationsAfter(0, -1);  // and no tables are asked for
    EXPECT_EQ(ConvertImageToRGB(&image.record, space), 1);
    EXPECT_EQ(AllocationAttempts(), 0);
    StopFailingAllocations();
    EXPECT_EQ(image.pixels, before);
    EXPECT_TRUE(monitor_calls.empty());
  }
}

TEST_F(ColorspaceTest, CmykImageToRgbUsesTheDirectRule) {
  for (VectorLevel level : Levels()) {
    LimitVectorLevel(level);
    SCOPED_TRACE(Name(level));
    // 40 pixels, so that the vector loops and their tails both see the examples.
    TestImage image(40, 1, ColorspaceCMYK);
    for (int i = 0; i < 40; i += 4) {
      image.pixels[i] = Pixel(200, 100, 50, 0);        // 100+200 > 255; 50+200 gives 5
      image.pixels[i + 1] = Pixel(0, 0, 0, 0);         // white
      image.pixels[i + 2] = Pixel(55, 200, 201, 255);  // 0 exactly at the limit, then over
      image.pixels[i + 3] = Pixel(255, 0, 0, 0);
    }
    FailAllocationsAfter(0, -1);
    EXPECT_EQ(ConvertImageToRGB(&image.record, ColorspaceRGB), 1);
    EXPECT_EQ(AllocationAttempts(), 0);
    StopFailingAllocations();
    EXPECT_EQ(image.record.colorSpace, ColorspaceRGB);
    for (int i = 0; i < 40; i += 4) {
      EXPECT_EQ(image.pixels[i], Pixel(0, 0, 5, 55));
      EXPECT_EQ(image.pixels[i + 1], Pixel(0, 255, 255, 255));
      EXPECT_EQ(image.pixels[i + 2], Pixel(0, 0, 0, 0));
      EXPECT_EQ(image.pixels[i + 3], Pixel(0, 0, 0, 0));
    }
    EXPECT_TRUE(monitor_calls.empty());
  }
}

TEST_F(ColorspaceTest, CmykImageGivenCmykGoesThroughTheYuvTables) {
  std::mt19937 random(3);
  TestImage image(64, 2, ColorspaceCMYK);
  for (uint32_t& p : image.pixels) p = static_cast<uint32_t>(random());
  std::vector<uint32_t> expected = image.pixels;
  pixel_reference::ConvertPixels(ColorspaceRGB, ColorspaceYUV, expected);
  EXPECT_EQ(ConvertImageToRGB(&image.record, ColorspaceCMYK), 1);
  EXPECT_EQ(image.pixels, expected);
  EXPECT_EQ(image.record.colorSpace, ColorspaceCMYK);
  EXPECT_EQ(monitor_calls.size(), 2u);
}

TEST_F(ColorspaceTest, MonitorSeesEveryRowInOrder) {
  TestImage image(3, 5);
  EXPECT_EQ(ConvertImageToRGB(&image.record, ColorspaceYIQ), 1);
  ASSERT_EQ(monitor_calls.size(), 5u);
  for (int32_t y = 0; y < 5; ++y) {
    EXPECT_EQ(monitor_calls[y].code, 0);
    EXPECT_EQ(monitor_calls[y].text, kProgressText);
    EXPECT_EQ(monitor_calls[y].position, y);
    EXPECT_EQ(monitor_calls[y].span, 5);
  }
}

TEST_F(ColorspaceTest, MonitorStopLeavesLaterRowsAndReleasesTheTables) {
  for (VectorLevel level : Levels()) {
    LimitVectorLevel(level);
    for (int32_t stop_at : {1, 2}) {
      monitor_calls.clear();
      stop_after_calls = stop_at;
      TestImage image(21, 4);
      for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = 0x00408040u + i;
      std::vector<uint32_t> expected = image.pixels;
      std::vector<uint32_t> converted = expected;
      pixel_reference::ConvertPixels(ColorspaceRGB, ColorspaceYCbCr, converted);
      for (size_t i = 0; i < static_cast<size_t>(21 * stop_at); ++i) expected[i] = converted[i];
      FailAllocationsAfter(100, 0);  // counts the allocations
      EXPECT_EQ(ConvertImageToRGB(&image.record, ColorspaceYCbCr), 1);
      EXPECT_EQ(AllocationAttempts(), 3);
      EXPECT_EQ(image.pixels, expected) << Name(level) << " stop at " << stop_at;
      EXPECT_EQ(monitor_calls.size(), static_cast<size_t>(stop_at));
    }
  }
}

TEST_F(ColorspaceTest, EmptyImages) {
  TestImage no_rows(10, 0);
  FailAllocationsAfter(100, 0);
  EXPECT_EQ(ConvertImageToRGB(&no_rows.record, ColorspaceXYZ), 1);
  EXPECT_EQ(AllocationAttempts(), 3);  // the tables are still built and released
  EXPECT_TRUE(monitor_calls.empty());

  TestImage no_columns(0, 4);
  EXPECT_EQ(ConvertImageToRGB(&no_columns.record, ColorspaceXYZ), 1);
  ASSERT_EQ(monitor_calls.size(), 4u);
  EXPECT_EQ(monitor_calls[3].position, 3);
}

// A record with rows and columns but no pixel array: nothing to convert and
// nothing dereferenced, the rows still reported.
TEST_F(ColorspaceTest, ImageWithoutPixelArrayIsLeftAlone) {
  TestImage image(8, 3, ColorspaceCMYK);
  image.record.pixels = nullptr;
  EXPECT_EQ(ConvertImageToRGB(&image.record, ColorspaceYIQ), 1);
  EXPECT_EQ(monitor_calls.size(), 3u);
  EXPECT_EQ(ConvertImageToRGB(&image.record, ColorspaceRGB), 1);
  EXPECT_EQ(image.record.colorSpace, ColorspaceRGB);
}

TEST_F(ColorspaceTest, TablesThatCannotBeHadLeaveThePixelsAndRecordAWarning) {
  for (int32_t succeed : {0, 1, 2}) {
    TestImage image(4, 2);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = 0x11223344u + i;
    const std::vector<uint32_t> before = image.pixels;
    FailAllocationsAfter(succeed, 1);
    EXPECT_EQ(ConvertImageToRGB(&image.record, ColorspaceYCbCr), 0) << succeed;
    StopFailingAllocations();
    EXPECT_EQ(image.pixels, before);
    EXPECT_TRUE(monitor_calls.empty());
    EXPECT_EQ(image.record.report.severity, ModuleWarning);
    EXPECT_STREQ(image.record.report.reason, "Unable to transform colorspace");
    EXPECT_STREQ(image.record.report.description, "Memory allocation failed");
  }
}

TEST_F(ColorspaceTest, FailureReplacesAnEqualOrLowerReportOnly) {
  struct Case {
    ExceptionSeverity before;
    bool replaced;
  } cases[] = {{ExternalWarning, true},
               {ModuleWarning, true},
               {ModuleWarning + 1, false},
               {OutOfMemoryError, false}};
  for (const Case& c : cases) {
    TestImage image(2, 2);
    image.record.report.severity = c.before;
    image.record.report.reason = static_cast<char*>(AllocateMemory(8));
    std::strcpy(image.record.report.reason, "earlier");
    FailAllocationsAfter(0, 1);
    EXPECT_EQ(ConvertImageToRGB(&image.record, ColorspaceYUV), 0);
    StopFailingAllocations();
    EXPECT_EQ(image.record.report.severity, c.replaced ? ModuleWarning : c.before);
    EXPECT_STREQ(image.record.report.reason,
                 c.replaced ? "Unable to transform colorspace" : "earlier");
    if (!c.replaced) {
      EXPECT_EQ(image.record.report.description, nullptr);
    }
  }
}

TEST(ProgressMonitorTest, ReportProgressWithoutAndWithAMonitor) {
  ProgressMonitor original = SetProgressMonitor(nullptr);
  EXPECT_EQ(ReportProgress(7, "text", 3, 9), 1);
  monitor_calls.clear();
  stop_after_calls = 1;
  EXPECT_EQ(SetProgressMonitor(RecordingMonitor), nullptr);
  EXPECT_EQ(ReportProgress(7, "text", 3, 9), 0);
  ASSERT_EQ(monitor_calls.size(), 1u);
  EXPECT_EQ(monitor_calls[0].code, 7);
  EXPECT_EQ(monitor_calls[0].text, "text");
  EXPECT_EQ(monitor_calls[0].position, 3);
  EXPECT_EQ(monitor_calls[0].span, 9);
  EXPECT_EQ(ReportProgress(1, nullptr, 4, 9), 1);
  EXPECT_EQ(SetProgressMonitor(nullptr), RecordingMonitor);
  EXPECT_EQ(ReportProgress(0, "", 0, 0), 1);
  EXPECT_EQ(monitor_calls.size(), 2u);
  stop_after_calls = -1;
  SetProgressMonitor(original);
}

}  // namespace
