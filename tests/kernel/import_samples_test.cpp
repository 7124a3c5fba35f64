// Unpacking of raw samples: the listed examples and every layout code at
// depths up to and above 8, at every vector level, against the reference
// model, with source buffers of exactly the line's size and colour maps that
// end at an inaccessible page.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "guarded_memory.h"
#include "pixbase/pixel.h"
#include "pixel/vector_level.h"
#include "pixel_reference.h"

namespace {

using pixbase::pixel::LimitVectorLevel;
using pixbase::pixel::ProcessorVectorLevel;
using pixbase::pixel::VectorLevel;

class ImportSamplesTest : public ::testing::Test {
 protected:
  void TearDown() override { LimitVectorLevel(pixbase::pixel::kWidestVectorLevel); }
};

uint32_t Import1(int32_t layout, int32_t depth, std::vector<uint8_t> source,
                 uint32_t destination = 0xEE000000u, const uint32_t* map = nullptr) {
  EXPECT_EQ(ImportPixelSamples(1, depth, &destination, map, layout, source.data()), 1);
  return destination;
}

TEST_F(ImportSamplesTest, ListedExamples) {
  EXPECT_EQ(Import1(SampleRGB, 8, {10, 20, 30}), 0xEE0A141Eu);
  EXPECT_EQ(Import1(SampleRGB, 16, {10, 99, 20, 99, 30, 99}), 0xEE0A141Eu);
  std::vector<uint32_t> map(256, 0x12345678u);
  map[5] = 0x00336699u;
  EXPECT_EQ(Import1(SampleIndexAlpha, 8, {5, 255}, 0, map.data()), 0x00336699u);
  EXPECT_EQ(Import1(SampleIndexAlpha, 8, {5, 0}, 0, map.data()), 0xFF336699u);
  EXPECT_EQ(Import1(SampleCMYK, 8, {100, 0, 50, 200}), 0x00003705u);
  EXPECT_EQ(Import1(12345, 8, {1, 2, 3}), 0xEE010203u);  // unlisted codes are RGB
}

TEST_F(ImportSamplesTest, ChannelByChannel) {
  std::vector<uint32_t> row(3, 0xAA000000u);
  const uint8_t red[] = {1, 2, 3}, green[] = {4, 5, 6}, blue[] = {7, 8, 9};
  ImportPixelSamples(3, 8, row.data(), nullptr, SampleRed, red);
  ImportPixelSamples(3, 8, row.data(), nullptr, SampleGreen, green);
  ImportPixelSamples(3, 8, row.data(), nullptr, SampleBlue, blue);
  EXPECT_EQ(row, (std::vector<uint32_t>{0xAA010407u, 0xAA020508u, 0xAA030609u}));
}

TEST_F(ImportSamplesTest, NothingForAnEmptyLineOrAPaletteWithoutMap) {
  uint32_t pixel = 0x12345678u;
  const uint8_t source[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(ImportPixelSamples(0, 8, &pixel, nullptr, SampleRGB, source), 1);
  EXPECT_EQ(ImportPixelSamples(-3, 8, &pixel, nullptr, SampleRGB, source), 1);
  for (int32_t layout : {0, 1, 2, 3})
    EXPECT_EQ(ImportPixelSamples(1, 8, &pixel, nullptr, layout, source), 1);
  EXPECT_EQ(pixel, 0x12345678u);
}

TEST_F(ImportSamplesTest, EveryLayoutAndDepthMatchesTheReferenceAtEveryVectorLevel) {
  std::mt19937 random(17);
  std::vector<uint32_t> map(256);
  for (uint32_t& entry : map) entry = static_cast<uint32_t>(random());
  const int32_t counts[] = {1, 2, 5, 7, 8, 9, 15, 16, 17, 31, 33, 40, 63, 64, 65, 100, 1001};
  for (int level = 0; level <= static_cast<int>(ProcessorVectorLevel()); ++level) {
    LimitVectorLevel(static_cast<VectorLevel>(level));
    for (int32_t layout = -1; layout <= 16; ++layout) {
      for (int32_t depth : {1, 4, 8, 9, 12, 16}) {
        for (int32_t count : counts) {
          const size_t bytes = static_cast<size_t>(count) *
                               pixel_reference::SamplesPerPixel(layout) * (depth > 8 ? 2 : 1);
          std::vector<uint8_t> source(bytes);  // exactly the line: over-reads are caught
          for (uint8_t& b : source) b = static_cast<uint8_t>(random());
          // The line starts count % 16 pixels into its buffer, so that the
          // parts before the first cache-line boundary vary too.
          const size_t start = static_cast<size_t>(count % 16);
          std::vector<uint32_t> buffer(start + static_cast<size_t>(count));
          for (uint32_t& p : buffer) p = static_cast<uint32_t>(random());
          std::vector<uint32_t> expected = buffer;
          pixel_reference::ImportSamples(count, depth, expected.data() + start, map.data(), layout,
                                         source.data());
          ASSERT_EQ(ImportPixelSamples(count, depth, buffer.data() + start, map.data(), layout,
                                       source.data()),
                    1);
          ASSERT_EQ(buffer, expected) << "level " << level << " layout " << layout << " depth "
                                      << depth << " count " << count;
        }
      }
    }
  }
}

// A colour map need only hold the entries the samples name: a map of n
// entries ending at an inaccessible page, with samples below n, is read
// without a fault on every path (a read past it ends the test program).
TEST_F(ImportSamplesTest, ColourMapsEndingAtAnInaccessiblePageAreReadOnlyWhereNamed) {
  std::mt19937 random(23);
  const int32_t entries[] = {1, 2, 16, 17, 64, 65, 128, 129, 200, 255, 256};
  const int32_t counts[] = {63, 64, 65, 128, 200, 1000};
  for (int level = 0; level <= static_cast<int>(ProcessorVectorLevel()); ++level) {
    LimitVectorLevel(static_cast<VectorLevel>(level));
    for (int32_t n : entries) {
      lumaview::testing::GuardedMemory memory(sizeof(uint32_t) * static_cast<size_t>(n));
      ASSERT_TRUE(memory.usable());
      auto* map = static_cast<uint32_t*>(memory.data());
      for (int32_t e = 0; e < n; ++e) map[e] = static_cast<uint32_t>(random());
      for (int32_t layout : {SampleIndex, SampleIndex1, SampleIndexAlpha, SampleIndexAlpha3}) {
        for (int32_t depth : {8, 16}) {
          for (int32_t count : counts) {
            const int stride = depth > 8 ? 2 : 1;
            const int samples = pixel_reference::SamplesPerPixel(layout);
            std::vector<uint8_t> source(static_cast<size_t>(count) * samples * stride);
            for (uint8_t& b : source) b = static_cast<uint8_t>(random());
            // Every index sample (the first of each pixel) names an entry;
            // the largest one the last, so that the whole map is in use.
            for (int32_t p = 0; p < count; ++p)
              source[static_cast<size_t>(p) * samples * stride] =
                  static_cast<uint8_t>(p == count / 2 ? n - 1 : random() % n);
            std::vector<uint32_t> pixels(static_cast<size_t>(count), 0xA5A5A5A5u);
            std::vector<uint32_t> expected = pixels;
            pixel_reference::ImportSamples(count, depth, expected.data(), map, layout,
                                           source.data());
            ImportPixelSamples(count, depth, pixels.data(), map, layout, source.data());
            ASSERT_EQ(pixels, expected) << "level " << level << " entries " << n << " layout "
                                        << layout << " depth " << depth << " count " << count;
          }
        }
      }
    }
  }
}

}  // namespace
