// Rows longer than a memory page, whose widths leave pixels on both sides of
// the import's vector loops: raw pixmaps imported straight from the bytes
// read, 24-bit bitmaps (bottom-up and top-down) imported red-green-blue and
// then reordered, whole and cut in the middle of a row.
#include <cstring>
#include <string>

#include "coder_harness.h"

namespace {

using namespace lumaview::testing;

class WideRowsTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadCoders(); }
};

// Widths of 1 to 3 pages of pixels, none a multiple of a vector block.
constexpr int32_t kWidths[] = {1029, 2053, 3001};
constexpr int32_t kHeight = 5;

uint32_t LittleLong(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// The same bitmap stored top-down: rows reversed, a negative height.
std::string TopDown(const std::string& bottom_up) {
  const uint32_t offset = LittleLong(bottom_up, 10);
  const auto width = static_cast<int32_t>(LittleLong(bottom_up, 18));
  const auto height = static_cast<int32_t>(LittleLong(bottom_up, 22));
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  std::string file = bottom_up.substr(0, offset);
  const uint32_t negative = static_cast<uint32_t>(-height);
  for (int i = 0; i < 4; ++i) file[22 + i] = static_cast<char>((negative >> (8 * i)) & 0xFF);
  for (int32_t row = height - 1; row >= 0; --row)
    file += bottom_up.substr(offset + stride * static_cast<size_t>(row), stride);
  return file;
}

void ExpectOpaque(const Picture& picture) {
  for (size_t i = 0; i < picture.fourth.size(); ++i)
    ASSERT_EQ(picture.fourth[i], 0) << "pixel " << i << " not opaque";
}

TEST_F(WideRowsTest, WideRowsDecodeToThePixelsNetpbmReadsBack) {
  for (int32_t width : kWidths) {
    SCOPED_TRACE(width);
    const std::string size = std::to_string(width) + " " + std::to_string(kHeight);
    const std::string ppm = Scratch("wide.ppm"), bmp = Scratch("wide.bmp");
    const std::string top_down = Scratch("wide_top_down.bmp");
    Shell("ppmpat -madras " + size + " > " + ppm);
    Shell("ppmtobmp -bpp 24 -windows " + ppm + " > " + bmp);
    WriteAll(top_down, TopDown(ReadAll(bmp)));
    const Picture expected = Netpbm("pnmtoplainpnm " + ppm);
    for (const auto& [format, path] :
         {std::pair{"PPM", ppm}, std::pair{"BMP", bmp}, std::pair{"BMP", top_down}}) {
      SCOPED_TRACE(path);
      Decoded decoded(format, path);
      ASSERT_EQ(decoded.result(), 1) << decoded.reason();
      EXPECT_EQ(decoded.report().severity, 0) << decoded.reason();
      const Picture picture = PictureOf(decoded.image());
      EXPECT_TRUE(SameColours(expected, picture));
      ExpectOpaque(picture);
    }
  }
}

TEST_F(WideRowsTest, AWideRowCutShortKeepsItsWholePixelsAndTheRestStaysBlack) {
  const int32_t width = 2053;
  const std::string ppm = Scratch("cut_source.ppm"), bmp = Scratch("cut_source.bmp");
  Shell("ppmpat -tartan " + std::to_string(width) + " 3 > " + ppm);
  Shell("ppmtobmp -bpp 24 -windows " + ppm + " > " + bmp);
  const Picture whole = Netpbm("pnmtoplainpnm " + ppm);
  // Kept: the first stored row and 1500 pixels and a byte of the second.
  const int32_t kept = 1500;
  struct Cut {
    const char* format;
    std::string file;
    size_t data;    // where the samples begin
    size_t stride;  // bytes of a stored row
    bool bottom_up;
  };
  const std::string ppm_bytes = ReadAll(ppm), bmp_bytes = ReadAll(bmp);
  const Cut cuts[] = {
      {"PPM", ppm_bytes, ppm_bytes.size() - size_t{3} * width * 3, size_t{3} * width, false},
      {"BMP", bmp_bytes, LittleLong(bmp_bytes, 10), (size_t{3} * width + 3) / 4 * 4, true}};
  for (const Cut& cut : cuts) {
    SCOPED_TRACE(cut.format);
    const std::string path = Scratch(std::string("cut_wide.") + cut.format);
    WriteAll(path, cut.file.substr(0, cut.data + cut.stride + size_t{3} * kept + 1));
    Decoded decoded(cut.format, path);
    ASSERT_EQ(decoded.result(), 1) << decoded.reason();
    EXPECT_EQ(decoded.report().severity, CoderDataWarning);
    const Picture picture = PictureOf(decoded.image());
    ASSERT_EQ(picture.rgb.size(), whole.rgb.size());
    ExpectOpaque(picture);
    for (int32_t stored = 0; stored < 3; ++stored) {
      const int32_t y = cut.bottom_up ? 2 - stored : stored;
      const int32_t present = stored == 0 ? width : (stored == 1 ? kept : 0);
      for (int32_t x = 0; x < width; ++x) {
        const size_t i = static_cast<size_t>(y) * width + x;
        ASSERT_EQ(picture.rgb[i], x < present ? whole.rgb[i] : 0u) << "row " << y << " x " << x;
      }
    }
  }
}

}  // namespace
