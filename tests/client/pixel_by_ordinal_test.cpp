// The pixel operations as a client reaches them: through the shipped
// library, by ordinal.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "library.h"
#include "pixbase/pixbase.h"

namespace {

using lumaview::testing::Pixbase;

using SetProgressMonitorFn = ProgressMonitor(PIXBASE_CALL*)(ProgressMonitor);
using ReportProgressFn = int32_t(PIXBASE_CALL*)(int32_t, const char*, int32_t, int32_t);
using ConvertFn = int32_t(PIXBASE_CALL*)(ImageRecord*, Colorspace);
using MapFn = void(PIXBASE_CALL*)(int32_t, int32_t, int32_t*);
using SmoothFn = void(PIXBASE_CALL*)(uint32_t*, int32_t);
using ImportFn = int32_t(PIXBASE_CALL*)(int32_t, int32_t, PackedPixel*, const PackedPixel*,
                                        SampleLayout, const uint8_t*);

std::vector<int32_t> rows_seen;
int32_t PIXBASE_CALL CountingMonitor(int32_t code, const char* text, int32_t position,
                                     int32_t span) {
  EXPECT_EQ(code, 0);
  EXPECT_STREQ(text, "  Transforming image colors...  ");
  EXPECT_EQ(span, 2);
  rows_seen.push_back(position);
  return 1;
}

TEST(ClientPixelTest, EveryPixelOrdinalIsBound) {
  ASSERT_TRUE(Pixbase().loaded());
  for (int ordinal : {114, 126, 134, 180, 181, 182})
    EXPECT_NE(Pixbase().Export(ordinal), nullptr) << "ordinal " << ordinal;
}

TEST(ClientPixelTest, ProgressMonitorSlot) {
  auto set_monitor = Pixbase().Call<SetProgressMonitorFn>(114);
  auto report = Pixbase().Call<ReportProgressFn>(134);
  ASSERT_NE(set_monitor, nullptr);
  ASSERT_NE(report, nullptr);
  ProgressMonitor before = set_monitor(nullptr);
  EXPECT_EQ(report(0, "x", 1, 2), 1);
  EXPECT_EQ(set_monitor(CountingMonitor), nullptr);
  rows_seen.clear();
  EXPECT_EQ(report(0, "  Transforming image colors...  ", 1, 2), 1);
  EXPECT_EQ(rows_seen, std::vector<int32_t>{1});
  EXPECT_EQ(set_monitor(before), CountingMonitor);
}

TEST(ClientPixelTest, ConvertsYCbCrAndCmykImages) {
  auto set_monitor = Pixbase().Call<SetProgressMonitorFn>(114);
  auto convert = Pixbase().Call<ConvertFn>(126);
  ASSERT_NE(convert, nullptr);
  ImageRecord image;
  std::memset(&image, 0, sizeof image);
  image.size = sizeof image;
  image.width = 2;
  image.height = 2;
  image.colorSpace = ColorspaceRGB;
  image.report.signature = PIXBASE_REPORT_SIGNATURE;
  uint32_t pixels[4] = {0x00808080u, 0x7F808080u, 0x00FF80FFu, 0x00000000u};
  image.pixels = pixels;
  ProgressMonitor before = set_monitor(CountingMonitor);
  rows_seen.clear();
  EXPECT_EQ(convert(&image, ColorspaceYCbCr), 1);
  set_monitor(before);
  EXPECT_EQ(rows_seen, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(pixels[0], 0x00817F81u);
  EXPECT_EQ(pixels[1], 0x7F817F81u);
  EXPECT_EQ(pixels[2] >> 16, 0xFFu);
  EXPECT_EQ(image.colorSpace, ColorspaceRGB);
  EXPECT_EQ(image.report.severity, 0);

  uint32_t cmyk[4] = {0xC8643200u, 0, 0xFF000000u, 0x00FFFFFFu};
  image.pixels = cmyk;
  image.colorSpace = ColorspaceCMYK;
  EXPECT_EQ(convert(&image, ColorspaceRGB), 1);
  EXPECT_EQ(image.colorSpace, ColorspaceRGB);
  EXPECT_EQ(cmyk[0], 0x00000537u);
  EXPECT_EQ(cmyk[1], 0x00FFFFFFu);
  EXPECT_EQ(cmyk[2], 0u);
  EXPECT_EQ(cmyk[3], 0u);
}

TEST(ClientPixelTest, ResampleMapAndSmoothing) {
  auto map_fn = Pixbase().Call<MapFn>(180);
  auto smooth = Pixbase().Call<SmoothFn>(181);
  ASSERT_NE(map_fn, nullptr);
  ASSERT_NE(smooth, nullptr);
  int32_t map[13];
  map_fn(2, 5, map);
  EXPECT_EQ(std::vector<int32_t>(map, map + 5), (std::vector<int32_t>{0, 0, 0, 1, 1}));
  map_fn(3, 13, map);
  EXPECT_EQ(std::vector<int32_t>(map, map + 13),
            (std::vector<int32_t>{0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2}));
  uint32_t narrow[5] = {0, 0, 0xFFFFFF, 0, 0};
  smooth(narrow, 5);
  EXPECT_EQ(std::vector<uint32_t>(narrow, narrow + 5),
            (std::vector<uint32_t>{0x010101, 0x414141, 0x909090, 0x252525, 0x0A0A0A}));
  uint32_t wide[10] = {0xFF};
  smooth(wide, 10);
  EXPECT_EQ(std::vector<uint32_t>(wide, wide + 10),
            (std::vector<uint32_t>{0x9F, 0x3B, 0x2C, 0x1D, 0x12, 0x0B, 0x07, 0x04, 0x02, 0x01}));
}

TEST(ClientPixelTest, ImportsSamples) {
  auto import = Pixbase().Call<ImportFn>(182);
  ASSERT_NE(import, nullptr);
  // 40 pixels, long enough for the vector loops.
  std::vector<uint8_t> rgb16(40 * 6);
  for (int i = 0; i < 40; ++i) {
    rgb16[6 * i] = static_cast<uint8_t>(i);
    rgb16[6 * i + 2] = 20;
    rgb16[6 * i + 4] = 30;
    rgb16[6 * i + 1] = rgb16[6 * i + 3] = rgb16[6 * i + 5] = 99;
  }
  std::vector<uint32_t> row(40, 0xEE000000u);
  EXPECT_EQ(import(40, 16, row.data(), nullptr, SampleRGB, rgb16.data()), 1);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(row[i], 0xEE00141Eu | uint32_t(i) << 16) << i;

  std::vector<uint32_t> map(256, 0);
  map[5] = 0x00336699u;
  const uint8_t indexed[] = {5, 255, 5, 0};
  uint32_t two[2] = {0, 0};
  EXPECT_EQ(import(2, 8, two, map.data(), SampleIndexAlpha, indexed), 1);
  EXPECT_EQ(two[0], 0x00336699u);
  EXPECT_EQ(two[1], 0xFF336699u);

  const uint8_t cmyk[] = {100, 0, 50, 200};
  uint32_t one = 0x12345678u;
  EXPECT_EQ(import(1, 8, &one, nullptr, SampleCMYK, cmyk), 1);
  EXPECT_EQ(one, 0x00003705u);
}

}  // namespace
