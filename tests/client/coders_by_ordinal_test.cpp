// The distribution's coder modules as a client sees them: VELOPNM and
// VELOBMP loaded by the shipped library's loader (bin/coders), formats
// decided, pictures decoded and written through the procedures the coder
// convention puts into the format entries, and the formats gone after
// unloading. Under Wine this is the real PIXBASE.dll with the real modules.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "client_fixture.h"
#include "library.h"
#include "pixbase/pixbase.h"
#include "temp_files.h"

namespace {

using namespace lumaview::testing;

// Decodes a file through a format's read procedure.
ImageRecord* Decode(const ClientCalls& kernel, const char* format, const std::string& path,
                    int32_t* result) {
  ImageRecord* image = kernel.allocate();
  std::snprintf(image->filename, sizeof image->filename, "%s", path.c_str());
  EXPECT_EQ(kernel.open(image, "rb"), 1);
  CoderInfo coder = CoderOf(kernel.find_format(format));
  EXPECT_NE(coder.read, nullptr) << format;
  *result = coder.read != nullptr ? coder.read(image) : 0;
  return image;
}

// Writes an image to `path` through a format's write procedure: its result,
// or 0 when the file cannot be opened (which fails the test).
int32_t Encode(const ClientCalls& kernel, const char* format, ImageRecord* image,
               const std::string& path) {
  kernel.close(image);
  std::snprintf(image->filename, sizeof image->filename, "%s", path.c_str());
  if (kernel.open(image, "wb") != 1) {
    ADD_FAILURE() << "cannot open " << path << " for writing";
    return 0;
  }
  CoderInfo coder = CoderOf(kernel.find_format(format));
  EXPECT_NE(coder.write, nullptr) << format;
  return coder.write != nullptr ? coder.write(image) : 0;
}

TEST(ClientCodersTest, ModulesLoadDecodeWriteAndUnload) {
  ASSERT_TRUE(Pixbase().loaded());
  const ClientCalls kernel;
  ASSERT_TRUE(kernel.complete());
  const ConfiguredModuleFolder coders(kernel, BesideBuiltLibrary("coders"));
  ASSERT_EQ(kernel.load("PNM"), 1);
  ASSERT_EQ(kernel.load("BMP"), 1);

  // A 2x2 pixmap and a 2x2 24-bit bitmap (bottom-up) of the same colours.
  const std::string pixmap = WriteTempFile(
      "pixbase_client_coder.ppm",
      std::string("P6\n2 2\n255\n\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\x10\x20\x30", 23));
  std::string bitmap("BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0",
                     30);
  bitmap += std::string(24, '\0');
  bitmap += std::string("\xFF\x00\x00\x30\x20\x10\0\0\x00\x00\xFF\x00\xFF\x00\0\0", 16);
  const std::string bitmap_path = WriteTempFile("pixbase_client_coder.img", bitmap);
  const PackedPixel expected[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0x102030};

  char format[PIXBASE_TEXT_EXTENT] = {};
  ASSERT_EQ(kernel.detect(pixmap.c_str(), format), 1);
  EXPECT_STREQ(format, "PPM");
  ASSERT_EQ(kernel.detect(bitmap_path.c_str(), format), 1);  // by content alone
  EXPECT_STREQ(format, "BMP");
  EXPECT_STREQ(CoderOf(kernel.find_format("BMP")).description, "Windows bitmap");

  for (const auto& [name, path] : {std::pair{"PPM", pixmap}, std::pair{"BMP", bitmap_path}}) {
    SCOPED_TRACE(name);
    int32_t result = 0;
    ImageRecord* image = Decode(kernel, name, path, &result);
    ASSERT_EQ(result, 1) << (image->report.reason ? image->report.reason : "");
    ASSERT_EQ(image->width, 2);
    ASSERT_EQ(image->height, 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(image->pixels[i], expected[i]) << "pixel " << i;
    kernel.destroy_list(image);
  }

  // The pixmap written as a bitmap reads back the same.
  int32_t result = 0;
  ImageRecord* image = Decode(kernel, "PPM", pixmap, &result);
  ASSERT_EQ(result, 1);
  const std::string written = lumaview::testing::TempPath("pixbase_client_written.bmp");
  ASSERT_EQ(Encode(kernel, "BMP", image, written), 1);
  kernel.destroy_list(image);
  image = Decode(kernel, "BMP", written, &result);
  ASSERT_EQ(result, 1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(image->pixels[i], expected[i]) << "pixel " << i;
  kernel.destroy_list(image);

  // A malformed file gives the module's reason.
  const std::string broken = WriteTempFile("pixbase_client_broken.ppm", "P6\n2 2\n70000\n");
  image = Decode(kernel, "PPM", broken, &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(image->report.severity, CoderDataError);
  EXPECT_STREQ(image->report.reason, "Improper PNM image header");
  kernel.destroy_list(image);

  // A truncated one is shown as far as it goes, with the row where it ends
  // (the description printed by the module's own C runtime).
  const std::string cut = WriteTempFile(
      "pixbase_client_cut.ppm", std::string("P6\n2 2\n255\n\x01\x02\x03\x04\x05\x06\x07", 18));
  image = Decode(kernel, "PPM", cut, &result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(image->report.severity, CoderDataWarning);
  EXPECT_STREQ(image->report.reason, "Truncated PNM image");
  EXPECT_STREQ(image->report.description, "the data ends in row 2");
  EXPECT_EQ(image->pixels[1], 0x040506u);
  EXPECT_EQ(image->pixels[2], 0u);

  // Written as an arbitrary map, the header names the depth.
  const std::string map = lumaview::testing::TempPath("pixbase_client_written.pam");
  ASSERT_EQ(Encode(kernel, "PAM", image, map), 1);
  kernel.close(image);
  kernel.destroy_list(image);
  FILE* written_map = std::fopen(map.c_str(), "rb");
  ASSERT_NE(written_map, nullptr);
  char header[80] = {};
  EXPECT_EQ(std::fread(header, 1, 52, written_map), 52u);
  std::fclose(written_map);
  EXPECT_STREQ(header, "P7\nWIDTH 2\nHEIGHT 2\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\n");

  EXPECT_EQ(kernel.unload("PNM"), 1);
  EXPECT_EQ(kernel.unload("BMP"), 1);
  EXPECT_EQ(kernel.find_format("PPM"), nullptr);
  EXPECT_EQ(kernel.find_format("BMP"), nullptr);
  EXPECT_EQ(kernel.detect(pixmap.c_str(), format), 0);
  for (const std::string& path : {pixmap, bitmap_path, written, broken, cut, map})
    std::remove(path.c_str());
}

}  // namespace
