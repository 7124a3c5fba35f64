// The index map of a resized line and the smoothing of a pixel line: the
// listed examples and random lengths against the reference model, at every
// vector level.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "pixbase/pixel.h"
#include "pixel/vector_level.h"
#include "pixel_reference.h"

namespace {

using pixbase::pixel::LimitVectorLevel;
using pixbase::pixel::ProcessorVectorLevel;
using pixbase::pixel::VectorLevel;

// The map for (s, d) with a guard entry after it that must stay untouched.
std::vector<int32_t> MapOf(int32_t s, int32_t d) {
  std::vector<int32_t> map(static_cast<size_t>(d > 0 ? d : 0) + 1, -7);
  BuildResampleMap(s, d, map.data());
  EXPECT_EQ(map.back(), -7) << s << "->" << d;
  map.pop_back();
  return map;
}

TEST(ResampleMapTest, ListedExamples) {
  EXPECT_EQ(MapOf(2, 5), (std::vector<int32_t>{0, 0, 0, 1, 1}));
  EXPECT_EQ(MapOf(4, 3), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(MapOf(5, 5), (std::vector<int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(MapOf(1, 3), (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(MapOf(2, 8), (std::vector<int32_t>{0, 0, 0, 0, 1, 1, 1, 1}));
  EXPECT_EQ(MapOf(3, 13), (std::vector<int32_t>{0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2}));
}

TEST(ResampleMapTest, NothingIsWrittenForAnEmptyOrNegativeDestination) {
  int32_t guard = 99;
  for (int32_t s : {0, 1, 7, 1 << 30}) {
    BuildResampleMap(s, 0, &guard);
    BuildResampleMap(s, -5, &guard);
  }
  BuildResampleMap(-3, 0, &guard);
  EXPECT_EQ(guard, 99);
}

TEST(ResampleMapTest, RandomLengthsMatchTheReferenceAndStayInTheSource) {
  std::mt19937 random(11);
  for (int n = 0; n < 1000; ++n) {
    const int32_t s = 1 + static_cast<int32_t>(random() % 2000);
    const int32_t d = 1 + static_cast<int32_t>(random() % 6000);
    const std::vector<int32_t> map = MapOf(s, d);
    ASSERT_EQ(map, pixel_reference::ResampleMap(s, d)) << s << "->" << d;
    for (size_t i = 0; i < map.size(); ++i) {
      ASSERT_GE(map[i], 0);
      ASSERT_LT(map[i], s);
      if (i > 0) {
        ASSERT_GE(map[i], map[i - 1]);
      }
    }
  }
}

class ResampleMapLevelTest : public ::testing::Test {
 protected:
  void TearDown() override { LimitVectorLevel(pixbase::pixel::kWidestVectorLevel); }
};

TEST_F(ResampleMapLevelTest, MapsOfEveryLengthMatchTheReferenceAtEveryVectorLevel) {
  // Every destination length up to 70 (whole vectors of each width and every
  // remainder) from every source up to three times as long, widening at
  // least 4 times or not, and random longer ones.
  std::vector<std::pair<int32_t, int32_t>> cases;
  for (int32_t d = 1; d <= 70; ++d)
    for (int32_t s = 0; s <= 3 * d; ++s) cases.emplace_back(s, d);
  std::mt19937 random(5);
  for (int n = 0; n < 400; ++n) {
    const int32_t d = 71 + static_cast<int32_t>(random() % 8000);
    const int32_t s = static_cast<int32_t>(random() % (n % 2 == 0 ? d / 4 + 1 : 3 * d));
    cases.emplace_back(s, d);
  }
  for (int level = 0; level <= static_cast<int>(ProcessorVectorLevel()); ++level) {
    LimitVectorLevel(static_cast<VectorLevel>(level));
    for (const auto& [s, d] : cases)
      ASSERT_EQ(MapOf(s, d), pixel_reference::ResampleMap(s, d))
          << s << "->" << d << " at vector level " << level;
  }
}

TEST_F(ResampleMapLevelTest, LongSourcesStepExactlyAtEveryVectorLevel) {
  // The vector units step sources of any length in 32-bit lanes, the plain
  // steps (and the last entries) in 64 bits, where 4S does not fit in 32
  // from 2^30 source pixels on. Every entry is floor(k * S / D).
  for (int level = 0; level <= static_cast<int>(ProcessorVectorLevel()); ++level) {
    LimitVectorLevel(static_cast<VectorLevel>(level));
    for (int32_t s : {(1 << 28) + 1, (1 << 30) - 1, 1 << 30, 2147483647}) {
      for (int32_t d : {1, 7, 1000, 4099}) {
        const std::vector<int32_t> map = MapOf(s, d);
        for (int32_t k = 0; k < d; ++k)
          ASSERT_EQ(map[static_cast<size_t>(k)], int64_t{k} * s / d)
              << s << "->" << d << " at " << k << ", vector level " << level;
      }
    }
  }
}

TEST(ResampleMapTest, LongLinesDoNotOverflowTheAccumulator) {
  // Four times the source does not fit in 32 bits.
  const int32_t s = 600000000, d = 7;
  const std::vector<int32_t> map = MapOf(s, d);
  ASSERT_EQ(map.size(), 7u);
  EXPECT_EQ(map[0], 0);
  for (size_t i = 1; i < map.size(); ++i) EXPECT_GT(map[i], map[i - 1]);
  EXPECT_LT(map.back(), s);
}

TEST(ResampleMapTest, VeryLongDestinationsEndAtTheLastSourcePixel) {
  // The single-precision ratio rounds i * S / D up to S for the last entries
  // of these maps; each of them names pixel S - 1, and every entry below
  // that is the truncated product as before.
  const std::pair<int32_t, int32_t> cases[] = {{1, 13103685}, {2, 26207370}, {5, 40000000}};
  for (const auto& [s, d] : cases) {
    const std::vector<int32_t> map = MapOf(s, d);
    ASSERT_EQ(map.size(), static_cast<size_t>(d));
    EXPECT_EQ(map.back(), s - 1) << s << "->" << d;
    volatile float ratio = static_cast<float>(static_cast<double>(s) / d);
    int32_t clamped = 0;
    for (int32_t i = 0; i < d; ++i) {
      // Each step rounded to single precision, also where floats are kept wider.
      volatile float position = static_cast<float>(i);
      volatile float exact = position * ratio;
      const auto product = static_cast<int32_t>(exact);
      if (product >= s) ++clamped;
      ASSERT_EQ(map[static_cast<size_t>(i)], product < s ? product : s - 1) << s << "->" << d;
    }
    EXPECT_GT(clamped, 0) << s << "->" << d << " no longer rounds past the source";
  }
}

std::vector<uint32_t> Smoothed(std::vector<uint32_t> line) {
  SmoothPixelLine(line.data(), static_cast<int32_t>(line.size()));
  return line;
}

TEST(SmoothPixelLineTest, ShortLinesAreLeftAlone) {
  for (size_t n = 0; n <= 3; ++n) {
    std::vector<uint32_t> line(n, 0x123456u);
    EXPECT_EQ(Smoothed(line), line);
  }
  SmoothPixelLine(nullptr, 0);
  SmoothPixelLine(nullptr, -4);
}

TEST(SmoothPixelLineTest, NarrowKernelExamples) {
  EXPECT_EQ(Smoothed({0, 0, 0, 0}), (std::vector<uint32_t>(4, 0x010101u)));
  EXPECT_EQ(Smoothed(std::vector<uint32_t>(4, 0x808080u)), std::vector<uint32_t>(4, 0x818181u));
  EXPECT_EQ(Smoothed({0, 0, 0xFFFFFF, 0, 0}),
            (std::vector<uint32_t>{0x010101, 0x414141, 0x909090, 0x252525, 0x0A0A0A}));
}

TEST(SmoothPixelLineTest, WideKernelExamples) {
  EXPECT_EQ(Smoothed(std::vector<uint32_t>(12, 0xFFFFFFu)), std::vector<uint32_t>(12, 0xFFFFFFu));
  std::vector<uint32_t> line(10, 0);
  line[0] = 0xFF;
  EXPECT_EQ(Smoothed(line),
            (std::vector<uint32_t>{0x9F, 0x3B, 0x2C, 0x1D, 0x12, 0x0B, 0x07, 0x04, 0x02, 0x01}));
  std::vector<uint32_t> opaque(10, 0xAB102030u);
  for (uint32_t p : Smoothed(opaque)) EXPECT_EQ(p, 0x00102030u);
}

TEST(SmoothPixelLineTest, RandomLinesMatchTheReference) {
  std::mt19937 random(5);
  for (int n = 0; n < 2000; ++n) {
    std::vector<uint32_t> line(random() % 64);
    for (uint32_t& p : line) p = random() & 0xFFFFFFu;
    std::vector<uint32_t> expected = line;
    pixel_reference::Smooth(expected);
    ASSERT_EQ(Smoothed(line), expected) << "length " << line.size();
  }
}

}  // namespace
