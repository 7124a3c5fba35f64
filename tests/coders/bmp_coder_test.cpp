// VELOBMP through the kernel's loader: ppmtobmp's files and bitmaps built
// here (16 and 32 bits, masks, both row orders, RLE8 and RLE4, the header
// sizes) decoded to the pixels bmptoppm reads back, what netpbm does not
// read checked against values worked out here, writing then reading,
// detection, and the reasons of malformed and truncated files.
#include <cstring>
#include <string>
#include <vector>

#include "bmp_texts.h"
#include "coder_harness.h"

namespace {

using namespace lumaview::testing;
namespace bmp = lumaview::coders::bmp;

class BmpCoderTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadCoders(); }
};

void PutShort(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}
void PutLong(std::string& out, uint32_t value) {
  PutShort(out, value & 0xFFFF);
  PutShort(out, value >> 16);
}

// The header fields, colour table and pixel bytes of a bitmap file, as a
// writer would lay them out.
struct BmpFields {
  uint32_t info_size = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint32_t bits = 24;
  uint32_t compression = 0;
  std::vector<uint32_t> palette;  // 0xRRGGBB
  std::vector<uint32_t> masks;    // in the header from 52 bytes on, else after it
  std::string data;
  int64_t data_offset = -1;  // where the headers end, unless given
};

std::string MakeBmp(const BmpFields& fields) {
  std::string info;
  PutLong(info, fields.info_size);
  if (fields.info_size == 12) {
    PutShort(info, static_cast<uint32_t>(fields.width));
    PutShort(info, static_cast<uint32_t>(fields.height));
    PutShort(info, 1);
    PutShort(info, fields.bits);
  } else {
    PutLong(info, static_cast<uint32_t>(fields.width));
    PutLong(info, static_cast<uint32_t>(fields.height));
    PutShort(info, 1);
    PutShort(info, fields.bits);
    PutLong(info, fields.compression);
    PutLong(info, static_cast<uint32_t>(fields.data.size()));
    PutLong(info, 2835);
    PutLong(info, 2835);
    PutLong(info, static_cast<uint32_t>(fields.palette.size()));
    PutLong(info, 0);
    if (fields.info_size >= 52)
      for (size_t i = 0; i < (fields.info_size >= 56 ? 4u : 3u); ++i)
        PutLong(info, i < fields.masks.size() ? fields.masks[i] : 0);
    if (fields.info_size >= 108) {
      info.replace(56, 0, "BGRs");  // the colour space: sRGB
      info.resize(fields.info_size, '\0');
    }
  }
  info.resize(fields.info_size, '\0');
  if (fields.info_size == 40)
    for (uint32_t mask : fields.masks) PutLong(info, mask);
  for (uint32_t colour : fields.palette) {
    info.push_back(static_cast<char>(colour & 0xFF));
    info.push_back(static_cast<char>((colour >> 8) & 0xFF));
    info.push_back(static_cast<char>((colour >> 16) & 0xFF));
    if (fields.info_size != 12) info.push_back('\0');
  }
  const uint32_t offset =
      fields.data_offset >= 0 ? static_cast<uint32_t>(fields.data_offset) : 14 + info.size();
  std::string file = "BM";
  PutLong(file, static_cast<uint32_t>(offset + fields.data.size()));
  PutLong(file, 0);
  PutLong(file, offset);
  return file + info + fields.data;
}

// Rows of pixel bytes padded to four bytes; `pixel` gives the bytes of each.
template <typename Pixel>
std::string Rows(int width, int height, int bytes_per_pixel, Pixel pixel) {
  std::string data;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      uint32_t value = pixel(x, y);
      for (int b = 0; b < bytes_per_pixel; ++b)
        row.push_back(static_cast<char>((value >> (8 * b)) & 0xFF));
    }
    row.resize((row.size() + 3) / 4 * 4, '\0');
    data += row;
  }
  return data;
}

Picture Bmptoppm(const std::string& path) {
  return Netpbm("bmptoppm " + path + " | pnmtoplainpnm");
}

TEST_F(BmpCoderTest, PpmtobmpFilesDecodeToThePixelsBmptoppmReadsBack) {
  struct Case {
    const char* file;
    const char* make;
  };
  const Case cases[] = {
      {"w24.bmp", "ppmpat -madras 37 23 | ppmtobmp -bpp 24 -windows"},
      {"o24.bmp", "ppmpat -tartan 30 9 | ppmtobmp -bpp 24 -os2"},
      {"w8.bmp", "ppmpat -madras 41 19 | pnmquant 200 | ppmtobmp -bpp 8 -windows"},
      {"o8.bmp", "ppmpat -poles 22 14 | pnmquant 100 | ppmtobmp -bpp 8 -os2"},
      {"w4.bmp", "pgmramp -lr 35 6 | pamdepth 15 | ppmtobmp -bpp 4 -windows"},
      {"o4.bmp", "ppmpat -madras 19 5 | pnmquant 16 | ppmtobmp -bpp 4 -os2"},
      {"w1.bmp", "pbmmake -g 29 13 | ppmtobmp -bpp 1 -windows"},
      {"o1.bmp", "pbmmake -g 33 3 | ppmtobmp -bpp 1 -os2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = Scratch(c.file);
    Shell(std::string(c.make) + " > " + path);
    Decoded decoded("BMP", path);
    ASSERT_EQ(decoded.result(), 1) << decoded.reason();
    EXPECT_EQ(decoded.report().severity, 0) << decoded.reason();
    EXPECT_EQ(decoded.image()->extraBlock, decoded.image()->pixels);
    Picture picture = PictureOf(decoded.image());
    EXPECT_TRUE(SameColours(Bmptoppm(path), picture));
    for (uint8_t fourth : picture.fourth) ASSERT_EQ(fourth, 0) << "not opaque";
  }
}

TEST_F(BmpCoderTest, SixteenAndThirtyTwoBitsAndTopDownRowsDecodeAsBmptoppmReadsThem) {
  auto five_five_five = [](int x, int y) {
    return static_cast<uint32_t>((x % 32) << 10 | ((31 - x % 32)) << 5 | ((x + y) % 32));
  };
  auto five_six_five = [](int x, int y) {
    return static_cast<uint32_t>((x % 32) << 11 | ((2 * x + y) % 64) << 5 | ((x * 3) % 32));
  };
  auto bgrx = [](int x, int y) {
    return static_cast<uint32_t>((x * 9) & 0xFF) | static_cast<uint32_t>((y * 31) & 0xFF) << 8 |
           static_cast<uint32_t>((x * y) & 0xFF) << 16 | 0x5Au << 24;
  };
  auto bgr = [](int x, int y) {
    return static_cast<uint32_t>((x * 40 + y) & 0xFF) |
           static_cast<uint32_t>((x * 7 + y * 50) & 0xFF) << 8 |
           static_cast<uint32_t>((200 - x * 30) & 0xFF) << 16;
  };
  struct Case {
    const char* file;
    BmpFields fields;
  };
  std::vector<Case> cases;
  BmpFields fields;
  fields.width = 37;
  fields.height = 5;
  fields.bits = 16;
  fields.data = Rows(37, 5, 2, five_five_five);
  cases.push_back({"555.bmp", fields});
  fields.info_size = 108;
  fields.compression = 3;
  fields.masks = {0xF800, 0x07E0, 0x001F};
  fields.data = Rows(37, 5, 2, five_six_five);
  cases.push_back({"565v4.bmp", fields});
  fields = BmpFields();
  fields.width = 23;
  fields.height = 4;
  fields.bits = 32;
  fields.data = Rows(23, 4, 4, bgrx);
  cases.push_back({"x888.bmp", fields});
  fields.info_size = 124;
  fields.compression = 3;
  fields.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
  cases.push_back({"888v5.bmp", fields});
  fields = BmpFields();
  fields.width = 11;
  fields.height = -6;  // top-down
  fields.data = Rows(11, 6, 3, bgr);
  cases.push_back({"topdown.bmp", fields});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = Scratch(c.file);
    WriteAll(path, MakeBmp(c.fields));
    Decoded decoded("BMP", path);
    ASSERT_EQ(decoded.result(), 1) << decoded.reason();
    EXPECT_EQ(decoded.report().severity, 0) << decoded.reason();
    EXPECT_TRUE(SameColours(Bmptoppm(path), PictureOf(decoded.image())));
  }

  // Masks after a 40-byte header, which bmptoppm does not take: the same
  // pixels as under the 108-byte header.
  BmpFields after = cases[1].fields;
  after.info_size = 40;
  const std::string path = Scratch("565v3.bmp");
  WriteAll(path, MakeBmp(after));
  Decoded decoded("BMP", path);
  ASSERT_EQ(decoded.result(), 1) << decoded.reason();
  EXPECT_TRUE(SameColours(Bmptoppm(Scratch("565v4.bmp")), PictureOf(decoded.image())));
}

TEST_F(BmpCoderTest, AnAlphaMaskGivesTheOpacityUnlessItIsZeroEverywhere) {
  BmpFields fields;
  fields.info_size = 124;
  fields.width = 4;
  fields.height = 1;
  fields.bits = 32;
  fields.compression = 3;
  fields.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  fields.data = std::string("\x10\x20\x30\xFF\x11\x21\x31\x00\x12\x22\x32\x80\x13\x23\x33\x40", 16);
  const std::string path = Scratch("alpha.bmp");
  WriteAll(path, MakeBmp(fields));
  Decoded decoded("BMP", path);
  ASSERT_EQ(decoded.result(), 1) << decoded.reason();
  Picture picture = PictureOf(decoded.image());
  EXPECT_TRUE(SameColours(Bmptoppm(path), picture));
  EXPECT_EQ(picture.fourth, (std::vector<uint8_t>{0, 255, 127, 191}));

  fields.data = std::string("\x10\x20\x30\x00\x11\x21\x31\x00\x12\x22\x32\x00\x13\x23\x33\x00", 16);
  WriteAll(path, MakeBmp(fields));
  Decoded unused("BMP", path);
  ASSERT_EQ(unused.result(), 1);
  EXPECT_EQ(PictureOf(unused.image()).fourth, (std::vector<uint8_t>{0, 0, 0, 0}));
}

const std::vector<uint32_t> kPalette = {0x102030, 0xC80000, 0x00C800, 0x0000C8,
                                        0x808080, 0xFFFF00, 0x00FFFF, 0xFF00FF};

TEST_F(BmpCoderTest, RunLengthFilesDecodeAsBmptoppmReadsThem) {
  // Rows of runs and literal runs that fill each row exactly.
  BmpFields rle8;
  rle8.width = 12;
  rle8.height = 3;
  rle8.bits = 8;
  rle8.compression = 1;
  rle8.palette = kPalette;
  rle8.data = std::string(
      "\x05\x01\x00\x03\x02\x03\x04\x00\x04\x05"   // 5 x 1, literal 2 3 4 (padded), 4 x 5
      "\x00\x00"                                   // end of line
      "\x0C\x06\x00\x00"                           // 12 x 6
      "\x00\x04\x07\x06\x05\x04\x08\x00\x00\x01",  // literal 7 6 5 4, 8 x 0, end of bitmap
      26);
  BmpFields rle4 = rle8;
  rle4.width = 9;
  rle4.bits = 4;
  rle4.compression = 2;
  rle4.data = std::string(
      "\x05\x12\x00\x04\x34\x56\x00\x00"   // 1 2 1 2 1, literal 3 4 5 6
      "\x09\x70\x00\x00"                   // 7 0 7 0 7 0 7 0 7
      "\x00\x03\x12\x30\x06\x45\x00\x01",  // literal 1 2 3, 4 5 4 5 4 5
      20);
  for (const auto& [file, fields] : {std::pair{"rle8.bmp", rle8}, std::pair{"rle4.bmp", rle4}}) {
    SCOPED_TRACE(file);
    const std::string path = Scratch(file);
    WriteAll(path, MakeBmp(fields));
    Decoded decoded("BMP", path);
    ASSERT_EQ(decoded.result(), 1) << decoded.reason();
    EXPECT_EQ(decoded.report().severity, 0) << decoded.reason();
    EXPECT_TRUE(SameColours(Bmptoppm(path), PictureOf(decoded.image())));
  }
}

TEST_F(BmpCoderTest, SkippedRunLengthPixelsTakeTheFirstColour) {
  // bmptoppm refuses deltas and short rows; the values are worked out here.
  BmpFields fields;
  fields.width = 6;
  fields.height = 4;
  fields.bits = 8;
  fields.compression = 1;
  fields.palette = kPalette;
  fields.data = std::string(
      "\x02\x01"           // bottom row: 1 1, then a delta of 2 right, 1 up
      "\x00\x02\x02\x01"   // to x 4 of the second row
      "\x02\x02\x00\x00"   // 2 2, end of line
      "\x03\x03\x00\x01",  // third row: 3 3 3, end of bitmap (the top row is skipped)
      14);
  const std::string path = Scratch("delta.bmp");
  WriteAll(path, MakeBmp(fields));
  Decoded decoded("BMP", path);
  ASSERT_EQ(decoded.result(), 1) << decoded.reason();
  EXPECT_EQ(decoded.report().severity, 0);
  const uint32_t o = kPalette[0], a = kPalette[1], b = kPalette[2], c = kPalette[3];
  Picture expected{6,
                   4,
                   {o, o, o, o, o, o,  // top row
                    c, c, c, o, o, o,  //
                    o, o, o, o, b, b,  //
                    a, a, o, o, o, o},
                   {}};
  EXPECT_TRUE(SameColours(expected, PictureOf(decoded.image())));
}

TEST_F(BmpCoderTest, WrittenBitmapsReadBackToTheSamePixelsHereAndInNetpbm) {
  for (const char* size : {"53 37", "1 1", "4 3"}) {
    SCOPED_TRACE(size);
    const std::string source = Scratch("write_source.ppm"), path = Scratch("written.bmp");
    Shell(std::string("ppmpat -madras ") + size + " > " + source);
    const Picture picture = Netpbm("pnmtoplainpnm " + source);
    ASSERT_EQ(Encode("BMP", picture, path), 1);
    const std::string bytes = ReadAll(path);
    const size_t stride = (static_cast<size_t>(picture.width) * 3 + 3) / 4 * 4;
    EXPECT_EQ(bytes.size(), 54 + stride * static_cast<size_t>(picture.height));
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(bytes[28], 24);  // bits per pixel
    Decoded decoded("BMP", path);
    ASSERT_EQ(decoded.result(), 1) << decoded.reason();
    EXPECT_TRUE(SameColours(picture, PictureOf(decoded.image())));
    EXPECT_TRUE(SameColours(picture, Bmptoppm(path)));
  }
  Picture none;
  ImageRecord* image = AllocateImage();
  std::snprintf(image->filename, sizeof image->filename, "%s", Scratch("nothing.bmp").c_str());
  ASSERT_EQ(OpenImageFile(image, "wb"), 1);
  EXPECT_EQ(CoderOf(FindFormatEntry("BMP")).write(image), 0);
  EXPECT_EQ(image->report.severity, CoderDataError);
  EXPECT_STREQ(image->report.reason, bmp::kUnableToWrite);
  DestroyImage(image);
}

TEST_F(BmpCoderTest, TheFormatIsDecidedByExtensionAndByContent) {
  const std::string named = Scratch("picture.bmp"), unnamed = Scratch("picture.dat");
  const std::string fake = Scratch("fake.bmp");
  Shell("ppmpat -madras 8 8 | ppmtobmp > " + named);
  Shell("ppmpat -madras 8 8 | ppmtobmp -os2 > " + unnamed);
  WriteAll(fake, "BM and then some words that are no bitmap at all");
  char format[PIXBASE_TEXT_EXTENT] = {};
  ASSERT_EQ(DetectImageFormat(named.c_str(), format), 1);
  EXPECT_STREQ(format, "BMP");
  ASSERT_EQ(DetectImageFormat(unnamed.c_str(), format), 1);
  EXPECT_STREQ(format, "BMP");
  EXPECT_EQ(DetectImageFormat(fake.c_str(), format), 0);
  CoderInfo coder = CoderOf(FindFormatEntry("bmp"));
  EXPECT_EQ(coder.flags, static_cast<uint32_t>(CoderCanRead | CoderCanWrite));
  EXPECT_STREQ(coder.description, "Windows bitmap");
  EXPECT_STREQ(coder.mimeType, "image/bmp");
}

TEST_F(BmpCoderTest, MalformedFilesGiveTheModulesReasonAndSeverity) {
  BmpFields good;
  good.width = 2;
  good.height = 2;
  good.data = std::string(16, '\x40');
  struct Case {
    const char* name;
    std::string bytes;
    int32_t result;
    ExceptionSeverity severity;
    const char* reason;
  };
  std::vector<Case> cases;
  auto with = [&](const char* name, auto change, int32_t result, ExceptionSeverity severity,
                  const char* reason) {
    BmpFields fields = good;
    change(fields);
    cases.push_back({name, MakeBmp(fields), result, severity, reason});
  };
  cases.push_back(
      {"no signature", "XX" + MakeBmp(good).substr(2), 0, CoderDataError, bmp::kImproperHeader});
  cases.push_back({"empty", "", 0, CoderDataError, bmp::kImproperHeader});
  cases.push_back(
      {"headers cut", MakeBmp(good).substr(0, 30), 0, CoderDataError, bmp::kImproperHeader});
  with(
      "unknown header size", [](BmpFields& s) { s.info_size = 80; }, 0, CoderDataError,
      bmp::kUnsupportedImage);
  with(
      "two bits per pixel",
      [](BmpFields& s) {
        s.bits = 2;
        s.palette = {0, 1, 2, 3};
      },
      0, CoderDataError, bmp::kUnsupportedImage);
  with(
      "JPEG data", [](BmpFields& s) { s.compression = 4; }, 0, CoderDataError,
      bmp::kUnsupportedImage);
  with(
      "RLE8 of 4 bits",
      [](BmpFields& s) {
        s.bits = 4;
        s.compression = 1;
        s.palette = {1};
      },
      0, CoderDataError, bmp::kImproperHeader);
  with(
      "bit fields of 24 bits",
      [](BmpFields& s) {
        s.compression = 3;
        s.masks = {1, 2, 4};
      },
      0, CoderDataError, bmp::kImproperHeader);
  with(
      "zero width", [](BmpFields& s) { s.width = 0; }, 0, CoderDataError, bmp::kImproperHeader);
  with(
      "too large",
      [](BmpFields& s) {
        s.width = 1 << 20;
        s.height = 1 << 20;
      },
      0, CoderDataError, "Image dimensions are too large");
  with(
      "data inside the headers", [](BmpFields& s) { s.data_offset = 20; }, 0, CoderDataError,
      bmp::kImproperHeader);
  with(
      "data beyond the end", [](BmpFields& s) { s.data_offset = 4000; }, 0, CoderDataError,
      bmp::kNoImageData);
  with(
      "no pixel data",
      [](BmpFields& s) {
        s.data = std::string();
        s.data_offset = 54;
      },
      0, CoderDataError, bmp::kNoImageData);
  with(
      "a palette picture without colours",
      [](BmpFields& s) {
        s.bits = 8;
        s.data = std::string(8, '\0');
      },
      0, CoderDataError, bmp::kImproperHeader);
  with(
      "truncated data", [](BmpFields& s) { s.data.resize(10); }, 1, CoderDataWarning,
      bmp::kTruncatedImage);
  with(
      "an index beyond the table",
      [](BmpFields& s) {
        s.bits = 8;
        s.palette = {0xFF0000, 0x00FF00};
        s.data = std::string("\x01\x05\0\0\0\x01\0\0", 8);
      },
      1, CoderDataWarning, bmp::kCorruptImage);
  with(
      "a run past the row",
      [](BmpFields& s) {
        s.bits = 8;
        s.compression = 1;
        s.palette = {1, 2};
        s.data = std::string("\x09\x01\x00\x01", 4);
      },
      1, CoderDataWarning, bmp::kCorruptImage);
  with(
      "run lengths cut",
      [](BmpFields& s) {
        s.bits = 8;
        s.compression = 1;
        s.palette = {1, 2};
        s.data = std::string("\x02\x01\x00", 3);
      },
      1, CoderDataWarning, bmp::kTruncatedImage);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Scratch("bad.bmp");
    WriteAll(path, c.bytes);
    Decoded decoded("BMP", path);
    EXPECT_EQ(decoded.result(), c.result);
    EXPECT_EQ(decoded.report().severity, c.severity);
    EXPECT_EQ(decoded.reason(), c.reason);
    EXPECT_NE(decoded.report().description, nullptr);
  }
}

TEST_F(BmpCoderTest, ATruncatedFileKeepsTheRowsItHolds) {
  // 3x3 bottom-up, 24 bits: rows of 12 bytes, the file cut after the bottom
  // row and one pixel and a byte of the middle row.
  BmpFields fields;
  fields.width = 3;
  fields.height = 3;
  fields.data =
      Rows(3, 3, 3, [](int x, int y) { return static_cast<uint32_t>(0x010203 * (1 + x + 3 * y)); });
  fields.data.resize(12 + 3 + 1);
  const std::string path = Scratch("cut.bmp");
  WriteAll(path, MakeBmp(fields));
  Decoded decoded("BMP", path);
  ASSERT_EQ(decoded.result(), 1);
  EXPECT_EQ(decoded.reason(), bmp::kTruncatedImage);
  const PackedPixel* pixels = decoded.image()->pixels;
  EXPECT_EQ(pixels[6], 0x010203u);  // bottom row, first pixel: stored 03 02 01 (blue first)
  EXPECT_EQ(pixels[3], 0x04080Cu);  // middle row, first pixel: 4 x 0x010203
  EXPECT_EQ(pixels[4], 0u);
  EXPECT_EQ(pixels[0], 0u);  // top row missing: black
}

TEST_F(BmpCoderTest, EveryCutOfAFileDecodesOrFailsWithAReason) {
  const std::string rgb = Scratch("whole24.bmp"), indexed = Scratch("whole8.bmp");
  const std::string runs = Scratch("wholerle.bmp");
  Shell("ppmpat -madras 7 5 | ppmtobmp -bpp 24 > " + rgb);
  Shell("ppmpat -madras 7 5 | pnmquant 20 | ppmtobmp -bpp 8 > " + indexed);
  BmpFields fields;
  fields.width = 12;
  fields.height = 3;
  fields.bits = 8;
  fields.compression = 1;
  fields.palette = kPalette;
  fields.data = std::string(
      "\x05\x01\x00\x03\x02\x03\x04\x00\x04\x05\x00\x00\x0C\x06\x00\x00"
      "\x00\x04\x07\x06\x05\x04\x08\x00\x00\x01",
      26);
  WriteAll(runs, MakeBmp(fields));
  for (const std::string& source : {rgb, indexed, runs}) {
    const std::string bytes = ReadAll(source);
    for (size_t length = 0; length < bytes.size(); ++length) {
      SCOPED_TRACE(source + " cut at " + std::to_string(length));
      const std::string path = Scratch("cut_any.bmp");
      WriteAll(path, bytes.substr(0, length));
      Decoded decoded("BMP", path);
      ASSERT_NE(decoded.report().severity, 0);
      ASSERT_NE(decoded.report().reason, nullptr);
      if (decoded.result() == 1)
        ASSERT_LT(decoded.report().severity, ErrorThreshold);
      else
        ASSERT_GE(decoded.report().severity, ErrorThreshold);
    }
  }
}

TEST_F(BmpCoderTest, UnloadingTheModuleRemovesItsFormat) {
  ASSERT_NE(FindFormatEntry("BMP"), nullptr);
  ASSERT_EQ(UnloadCoderModule("BMP"), 1);
  EXPECT_EQ(FindFormatEntry("BMP"), nullptr);
  EXPECT_NE(FindFormatEntry("PPM"), nullptr);
  ASSERT_EQ(LoadCoderModule("BMP"), 1);
  EXPECT_NE(FindFormatEntry("BMP"), nullptr);
}

}  // namespace
