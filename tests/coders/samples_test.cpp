// The distribution's sample pictures as make_samples draws them: each is
// decided by the coder that ships with it and decodes to the pixels netpbm
// reads back.
#include <string>

#include "coder_harness.h"

namespace {

using namespace lumaview::testing;

TEST(SamplesTest, EverySampleDecodesToThePixelsNetpbmReadsBack) {
  LoadCoders();
  const std::string folder = Scratch("samples");
  Shell("mkdir -p " + folder + " && " LUMAVIEW_SAMPLES_TOOL " " + folder);
  struct Sample {
    const char* name;
    const char* format;
    int32_t width;
    int32_t height;
    const char* reader;
  };
  const Sample samples[] = {{"Gradient.ppm", "PPM", 320, 240, "pnmtoplainpnm "},
                            {"Greyramp.pgm", "PGM", 256, 64, "pnmtoplainpnm "},
                            {"Checker.pbm", "PBM", 96, 96, "pnmtoplainpnm "},
                            {"Rings.bmp", "BMP", 200, 200, "bmptoppm "}};
  for (const Sample& sample : samples) {
    SCOPED_TRACE(sample.name);
    const std::string path = folder + "/" + sample.name;
    char format[PIXBASE_TEXT_EXTENT] = {};
    ASSERT_EQ(DetectImageFormat(path.c_str(), format), 1);
    EXPECT_STREQ(format, sample.format);
    Decoded decoded(format, path);
    ASSERT_EQ(decoded.result(), 1) << decoded.reason();
    EXPECT_EQ(decoded.report().severity, 0);
    EXPECT_EQ(decoded.image()->width, sample.width);
    EXPECT_EQ(decoded.image()->height, sample.height);
    EXPECT_TRUE(SameColours(Netpbm(sample.reader + path + " | pnmtoplainpnm"),
                            PictureOf(decoded.image())));
  }
}

}  // namespace
