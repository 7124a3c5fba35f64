// VELOPNM through the kernel's loader: netpbm's pictures of every kind and
// form decoded to the pixels netpbm reads back, the arbitrary map's tuple
// types, several pictures in one file, detection by extension and content,
// writing then reading, and the reasons of malformed and truncated files.
#include <cstring>
#include <string>

#include "coder_harness.h"
#include "pnm_texts.h"

namespace {

using namespace lumaview::testing;
namespace pnm = lumaview::coders::pnm;

class PnmCoderTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadCoders(); }
};

// Replaces every %F of a command with the path.
std::string WithPath(std::string command, const std::string& path) {
  for (size_t at = command.find("%F"); at != std::string::npos; at = command.find("%F"))
    command.replace(at, 2, path);
  return command;
}

struct NetpbmCase {
  const char* file;
  const char* make;       // writes %F
  const char* reference;  // prints %F as netpbm reads it, in plain form
};

const NetpbmCase kNetpbmCases[] = {
    {"raw.ppm", "ppmpat -madras 97 61 > %F", "pnmtoplainpnm %F"},
    {"plain.ppm", "ppmpat -tartan 41 23 | pnmtoplainpnm > %F", "pnmtoplainpnm %F"},
    {"raw.pgm", "pgmramp -ellipse 53 41 > %F", "pnmtoplainpnm %F"},
    {"plain.pgm", "pgmramp -lr 33 7 | pnmtoplainpnm > %F", "pnmtoplainpnm %F"},
    {"raw.pbm", "pbmmake -g 37 29 > %F", "pnmtoplainpnm %F"},
    {"plain.pbm", "pbmmake -g 13 5 | pnmtoplainpnm > %F", "pnmtoplainpnm %F"},
    {"deep1000.ppm", "ppmpat -poles 45 33 | pamdepth 1000 > %F", "pamdepth 255 %F | pnmtoplainpnm"},
    {"deep65535.ppm", "ppmpat -squig 45 33 | pamdepth 65535 > %F",
     "pamdepth 255 %F | pnmtoplainpnm"},
    {"every16.pgm", "pgmramp -maxval=65535 -lr 1000 3 > %F", "pamdepth 255 %F | pnmtoplainpnm"},
    {"shallow15.pgm", "pgmramp -diagonal 29 17 | pamdepth 15 > %F",
     "pamdepth 255 %F | pnmtoplainpnm"},
    {"plain300.pgm", "pgmramp -lr 300 3 | pamdepth 300 | pnmtoplainpnm > %F",
     "pamdepth 255 %F | pnmtoplainpnm"},
    {"plain65535.ppm", "ppmpat -camo 23 11 | pamdepth 65535 | pnmtoplainpnm > %F",
     "pamdepth 255 %F | pnmtoplainpnm"},
    {"rgb.pam", "ppmpat -squig 40 30 | pamtopam > %F", "pamtopnm %F | pnmtoplainpnm"},
    {"grey.pam", "pgmramp -rect 20 20 | pamtopam > %F", "pamtopnm %F | pnmtoplainpnm"},
    {"bw.pam", "pbmmake -g 19 7 | pamtopam > %F", "pamtopnm %F | pnmtoplainpnm"},
    {"deep.pam", "ppmpat -camo 30 20 | pamdepth 65535 | pamtopam > %F",
     "pamdepth 255 %F | pamtopnm | pnmtoplainpnm"},
};

TEST_F(PnmCoderTest, EveryKindAndFormDecodesToThePixelsNetpbmReadsBack) {
  for (const NetpbmCase& c : kNetpbmCases) {
    SCOPED_TRACE(c.file);
    const std::string path = Scratch(c.file);
    Shell(WithPath(c.make, path));
    Decoded decoded("PNM", path);
    ASSERT_EQ(decoded.result(), 1) << decoded.reason();
    EXPECT_EQ(decoded.report().severity, 0) << decoded.reason();
    EXPECT_EQ(decoded.frames(), 1);
    EXPECT_EQ(decoded.image()->colorSpace, ColorspaceRGB);
    EXPECT_EQ(decoded.image()->extraBlock, decoded.image()->pixels);
    Picture picture = PictureOf(decoded.image());
    EXPECT_TRUE(SameColours(Netpbm(WithPath(c.reference, path)), picture));
    for (uint8_t fourth : picture.fourth) ASSERT_EQ(fourth, 0) << "not opaque";
  }
}

TEST_F(PnmCoderTest, AlphaTuplesGiveTheOpacityAndCmykBecomesRgb) {
  const std::string colours = Scratch("alpha_colours.ppm"), alpha = Scratch("alpha.pgm");
  const std::string rgba = Scratch("rgba.pam"), greya = Scratch("greya.pam");
  Shell("ppmpat -madras 24 16 > " + colours);
  Shell("pgmramp -diagonal 24 16 > " + alpha);
  Shell("pamstack -tupletype=RGB_ALPHA " + colours + " " + alpha + " > " + rgba);
  Shell("pamstack -tupletype=GRAYSCALE_ALPHA " + alpha + " " + alpha + " > " + greya);
  const Picture alpha_picture = Netpbm("pnmtoplainpnm " + alpha);

  Decoded with_alpha("PAM", rgba);
  ASSERT_EQ(with_alpha.result(), 1) << with_alpha.reason();
  Picture picture = PictureOf(with_alpha.image());
  EXPECT_TRUE(SameColours(Netpbm("pnmtoplainpnm " + colours), picture));
  for (size_t i = 0; i < picture.fourth.size(); ++i)
    ASSERT_EQ(picture.fourth[i], 255 - (alpha_picture.rgb[i] & 0xFF)) << "pixel " << i;

  Decoded grey_alpha("PAM", greya);
  ASSERT_EQ(grey_alpha.result(), 1) << grey_alpha.reason();
  picture = PictureOf(grey_alpha.image());
  EXPECT_TRUE(SameColours(alpha_picture, picture));
  for (size_t i = 0; i < picture.fourth.size(); ++i)
    ASSERT_EQ(picture.fourth[i], 255 - (alpha_picture.rgb[i] & 0xFF)) << "pixel " << i;

  const std::string cmyk = Scratch("cmyk.pam");
  WriteAll(cmyk,
           std::string("P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE CMYK\nENDHDR\n") +
               std::string("\x64\x00\x32\xC8\x00\x00\x00\x00", 8));
  Decoded from_cmyk("PAM", cmyk);
  ASSERT_EQ(from_cmyk.result(), 1) << from_cmyk.reason();
  EXPECT_EQ(from_cmyk.image()->pixels[0], 0x003705u);  // red 0, green 55, blue 5
  EXPECT_EQ(from_cmyk.image()->pixels[1], 0xFFFFFFu);
}

TEST_F(PnmCoderTest, SeveralPicturesInOneFileBecomeAnImageList) {
  const std::string a = Scratch("first.ppm"), b = Scratch("second.pgm"), c = Scratch("third.pbm");
  const std::string all = Scratch("three.pnm");
  Shell("ppmpat -gingham3 11 9 > " + a);
  Shell("pgmramp -lr 7 5 | pnmtoplainpnm > " + b);
  Shell("pbmmake -g 9 4 > " + c);
  Shell("cat " + a + " " + b + " " + c + " > " + all);
  Decoded decoded("PNM", all);
  ASSERT_EQ(decoded.result(), 1) << decoded.reason();
  ASSERT_EQ(decoded.frames(), 3);
  ImageRecord* frame = decoded.image();
  for (const std::string& part : {a, b, c}) {
    SCOPED_TRACE(part);
    EXPECT_TRUE(SameColours(Netpbm("pnmtoplainpnm " + part), PictureOf(frame)));
    EXPECT_EQ(frame->extraBlock, frame->pixels);
    EXPECT_EQ(frame->file, decoded.image()->file);
    frame = frame->next;
  }
}

TEST_F(PnmCoderTest, FormatsAreDecidedByExtensionAndByContent) {
  struct Case {
    const char* file;
    const char* make;
    const char* format;
  };
  const Case cases[] = {
      {"photo.ppm", "ppmpat -madras 8 8", "PPM"},
      {"photo.pnm", "ppmpat -madras 8 8", "PNM"},
      {"grey.ppm", "pgmramp -lr 8 8", "PGM"},  // the PPM test refuses a greymap
      {"unnamed.bin", "pbmmake -g 8 8", "PBM"},
      {"plain.dat", "pgmramp -lr 8 8 | pnmtoplainpnm", "PGM"},
      {"map.xyz", "ppmpat -madras 8 8 | pamtopam", "PAM"},
      {"colour.PPM", "ppmpat -madras 8 8 | pnmtoplainpnm", "PPM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = Scratch(c.file);
    Shell(std::string(c.make) + " > " + path);
    char format[PIXBASE_TEXT_EXTENT] = {};
    ASSERT_EQ(DetectImageFormat(path.c_str(), format), 1);
    EXPECT_STREQ(format, c.format);
    CoderInfo coder = CoderOf(FindFormatEntry(format));
    EXPECT_NE(coder.read, nullptr);
    EXPECT_NE(coder.write, nullptr);
    EXPECT_EQ(coder.flags, static_cast<uint32_t>(CoderCanRead | CoderCanWrite | CoderMultiFrame));
  }
  EXPECT_STREQ(CoderOf(FindFormatEntry("PPM")).description, "Portable pixmap");
  EXPECT_STREQ(CoderOf(FindFormatEntry("PAM")).mimeType, "image/x-portable-arbitrarymap");
  const std::string text = Scratch("words.ppm");
  WriteAll(text, "Plain words, no picture.\n");
  char format[PIXBASE_TEXT_EXTENT] = {};
  EXPECT_EQ(DetectImageFormat(text.c_str(), format), 0);
}

TEST_F(PnmCoderTest, WrittenFilesReadBackToTheSamePixelsHereAndInNetpbm) {
  const std::string colour_file = Scratch("source.ppm"), grey_file = Scratch("source.pgm");
  const std::string bits_file = Scratch("source.pbm");
  Shell("ppmpat -madras 53 37 > " + colour_file);
  Shell("pgmramp -ellipse 31 17 > " + grey_file);
  Shell("pbmmake -g 21 11 > " + bits_file);
  const Picture colour = Netpbm("pnmtoplainpnm " + colour_file);
  const Picture grey = Netpbm("pnmtoplainpnm " + grey_file);
  const Picture bits = Netpbm("pnmtoplainpnm " + bits_file);
  struct Case {
    const char* format;
    const Picture& picture;
    const char* encoding;
    const char* magic;
  };
  const Case cases[] = {
      {"PPM", colour, nullptr, "P6"}, {"PPM", colour, "plain", "P3"}, {"PGM", grey, nullptr, "P5"},
      {"PGM", grey, "PLAIN", "P2"},   {"PBM", bits, nullptr, "P4"},   {"PBM", bits, "plain", "P1"},
      {"PAM", colour, nullptr, "P7"}, {"PAM", colour, "plain", "P7"},  // no plain form
      {"PNM", colour, nullptr, "P6"}, {"PNM", grey, nullptr, "P5"},   {"PNM", bits, nullptr, "P4"},
      {"PNM", grey, "plain", "P2"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + (c.encoding ? c.encoding : "raw"));
    const std::string path = Scratch("written" + std::to_string(n++));
    ASSERT_EQ(Encode(c.format, c.picture, path, c.encoding), 1);
    EXPECT_EQ(ReadAll(path).substr(0, 2), c.magic);
    Decoded decoded(c.format, path);
    ASSERT_EQ(decoded.result(), 1) << decoded.reason();
    EXPECT_EQ(decoded.report().severity, 0);
    EXPECT_TRUE(SameColours(c.picture, PictureOf(decoded.image())));
    const char* reader = std::strcmp(c.magic, "P7") == 0 ? "pamtopnm " : "pnmtoplainpnm ";
    EXPECT_TRUE(SameColours(c.picture, Netpbm(reader + path + " | pnmtoplainpnm")));
  }
}

TEST_F(PnmCoderTest, GreyAndBitmapWritersReduceColoursAndAlphaAndCommentsSurvive) {
  Picture picture;
  picture.width = 4;
  picture.height = 1;
  picture.rgb = {0xFF0000, 0x00FF00, 0x0000FF, 0x808080};
  picture.fourth = {0, 64, 128, 255};
  const std::string grey = Scratch("reduced.pgm"), bits = Scratch("reduced.pbm");
  ASSERT_EQ(Encode("PGM", picture, grey), 1);
  EXPECT_TRUE(SameColours({4, 1, {0x4C4C4C, 0x969696, 0x1D1D1D, 0x808080}, {}},
                          Netpbm("pnmtoplainpnm " + grey)));
  ASSERT_EQ(Encode("PBM", picture, bits), 1);
  EXPECT_TRUE(SameColours({4, 1, {0, 0xFFFFFF, 0, 0xFFFFFF}, {}}, Netpbm("pnmtoplainpnm " + bits)));

  const std::string pam = Scratch("alpha_written.pam");
  ASSERT_EQ(Encode("PAM", picture, pam), 1);
  EXPECT_NE(ReadAll(pam).find("TUPLTYPE RGB_ALPHA\n"), std::string::npos);
  Decoded decoded("PAM", pam);
  ASSERT_EQ(decoded.result(), 1);
  Picture back = PictureOf(decoded.image());
  EXPECT_TRUE(SameColours(picture, back));
  EXPECT_EQ(back.fourth, picture.fourth);

  // A comment in the header is kept as the "Comment" attribute and written back.
  const std::string commented = Scratch("commented.ppm");
  WriteAll(commented, "P3\n# made by hand\n# second line\n1 1\n255\n1 2 3\n");
  Decoded first("PPM", commented);
  ASSERT_EQ(first.result(), 1);
  ImageAttribute* comment = GetImageAttribute(first.image(), pnm::kCommentAttribute);
  ASSERT_NE(comment, nullptr);
  EXPECT_STREQ(comment->value, "made by hand\nsecond line");
  const std::string again = Scratch("commented_again.ppm");
  CloseImageFile(first.image());
  std::snprintf(first.image()->filename, sizeof first.image()->filename, "%s", again.c_str());
  ASSERT_EQ(OpenImageFile(first.image(), "wb"), 1);
  ASSERT_EQ(CoderOf(FindFormatEntry("PPM")).write(first.image()), 1);
  CloseImageFile(first.image());
  EXPECT_EQ(ReadAll(again),
            std::string("P6\n# made by hand\n# second line\n1 1\n255\n\x01\x02\x03"));
}

struct BadFile {
  const char* name;
  std::string bytes;
  int32_t result;
  ExceptionSeverity severity;
  const char* reason;
};

std::string Bytes(const char* text, size_t length) { return std::string(text, length); }

TEST_F(PnmCoderTest, MalformedFilesGiveTheModulesReasonAndSeverity) {
  const BadFile cases[] = {
      {"no magic", "Q6 1 1 255\n\x01\x02\x03", 0, CoderDataError, pnm::kImproperHeader},
      {"unknown kind", "P8\n1 1\n", 0, CoderDataError, pnm::kImproperHeader},
      {"empty", "", 0, CoderDataError, pnm::kImproperHeader},
      {"zero width", "P6\n0 5\n255\n", 0, CoderDataError, pnm::kImproperHeader},
      {"maxval too large", Bytes("P5\n1 1\n70000\n\0\0", 15), 0, CoderDataError,
       pnm::kImproperHeader},
      {"maxval zero", Bytes("P5 1 1 0\n\0", 10), 0, CoderDataError, pnm::kImproperHeader},
      {"missing maxval", "P5 1 1", 0, CoderDataError, pnm::kImproperHeader},
      {"no white space after the header", "P5 1 1 255x", 0, CoderDataError, pnm::kImproperHeader},
      {"letters for a width", "P6 wide 1 255\n", 0, CoderDataError, pnm::kImproperHeader},
      {"too large", "P6 100000 100000 255\n", 0, CoderDataError, "Image dimensions are too large"},
      {"huge number", "P6 99999999999999999999 1 255\n", 0, CoderDataError,
       "Image dimensions are too large"},
      {"no data", "P6 2 2 255\n", 0, CoderDataError, pnm::kNoImageData},
      {"no plain data", "P3 2 2 255\n", 0, CoderDataError, pnm::kNoImageData},
      {"plain garbage", "P2 2 2 255\n1 2 x", 1, CoderDataWarning, pnm::kCorruptImage},
      {"plain bitmap garbage", "P1 2 2 0 1 2", 1, CoderDataWarning, pnm::kCorruptImage},
      {"plain above maxval", "P2 2 1 10\n5 11\n", 1, CoderDataWarning, pnm::kCorruptImage},
      {"raw above maxval", Bytes("P5 2 1 10\n\x05\x0B", 12), 1, CoderDataWarning,
       pnm::kCorruptImage},
      {"arbitrary map without ENDHDR", "P7\nWIDTH 1\nHEIGHT 1\n", 0, CoderDataError,
       pnm::kImproperHeader},
      {"arbitrary map with an unknown keyword", "P7\nWIDTH 1\nSIZE 1\nENDHDR\n", 0, CoderDataError,
       pnm::kImproperHeader},
      {"arbitrary map without MAXVAL", "P7\nWIDTH 1\nHEIGHT 1\nDEPTH 1\nENDHDR\n\x01", 0,
       CoderDataError, pnm::kImproperHeader},
      {"arbitrary map of depth 0", "P7\nWIDTH 1\nHEIGHT 1\nDEPTH 0\nMAXVAL 255\nENDHDR\n", 0,
       CoderDataError, pnm::kUnsupportedImage},
      {"RGB of depth 1", "P7\nWIDTH 1\nHEIGHT 1\nDEPTH 1\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n\x01",
       0, CoderDataError, pnm::kUnsupportedImage},
      {"header line too long", "P7\nWIDTH 1" + std::string(2000, ' ') + "\nENDHDR\n", 0,
       CoderDataError, pnm::kImproperHeader},
      {"P7 without its line end", "P7 332\n", 0, CoderDataError, pnm::kImproperHeader},
  };
  for (const BadFile& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Scratch("bad.pnm");
    WriteAll(path, c.bytes);
    Decoded decoded("PNM", path);
    EXPECT_EQ(decoded.result(), c.result);
    EXPECT_EQ(decoded.report().severity, c.severity);
    EXPECT_EQ(decoded.reason(), c.reason);
    EXPECT_NE(decoded.report().description, nullptr);
  }
}

TEST_F(PnmCoderTest, ATruncatedFileKeepsItsRowsAndALaterBrokenPictureIsDropped) {
  // 4x3 pixmap cut in the middle of the second row: the first row and the
  // two whole pixels of the second are kept, the rest is black.
  std::string full = "P6\n4 3\n255\n";
  for (int i = 0; i < 36; ++i) full.push_back(static_cast<char>(10 + i));
  const std::string path = Scratch("cut.ppm");
  WriteAll(path, full.substr(0, full.size() - 36 + 12 + 7));
  Decoded decoded("PPM", path);
  ASSERT_EQ(decoded.result(), 1);
  EXPECT_EQ(decoded.report().severity, CoderDataWarning);
  EXPECT_EQ(decoded.reason(), pnm::kTruncatedImage);
  EXPECT_STREQ(decoded.report().description, "the data ends in row 2");
  const PackedPixel* pixels = decoded.image()->pixels;
  EXPECT_EQ(pixels[0], 0x0A0B0Cu);
  EXPECT_EQ(pixels[5], 0x191A1Bu);  // bytes 25, 26, 27
  EXPECT_EQ(pixels[6], 0u);
  EXPECT_EQ(pixels[11], 0u);

  const std::string two = Scratch("broken_second.pgm");
  WriteAll(two, Bytes("P5 1 1 255\n\x7FP5 0 0 255\n", 22));
  Decoded list("PGM", two);
  ASSERT_EQ(list.result(), 1);
  EXPECT_EQ(list.frames(), 1);
  EXPECT_EQ(list.image()->pixels[0], 0x7F7F7Fu);
  EXPECT_EQ(list.report().severity, CoderDataWarning);
  EXPECT_EQ(list.reason(), pnm::kImproperHeader);
}

TEST_F(PnmCoderTest, EveryCutOfAFileDecodesOrFailsWithAReason) {
  const std::string raw = Scratch("whole.ppm"), plain = Scratch("whole_plain.pgm");
  const std::string pam = Scratch("whole.pam");
  Shell("ppmpat -madras 9 7 | pamdepth 1000 > " + raw);
  Shell("pgmramp -lr 9 7 | pnmtoplainpnm > " + plain);
  Shell("ppmpat -madras 5 4 | pamtopam > " + pam);
  for (const std::string& source : {raw, plain, pam}) {
    const std::string bytes = ReadAll(source);
    // A plain file cut inside or after its last number still holds every
    // sample; raw files end with their last byte.
    const bool text = source == plain;
    const size_t last_number = bytes.find_last_of(" \n", bytes.find_last_of("0123456789")) + 1;
    for (size_t length = 0; length < bytes.size(); ++length) {
      SCOPED_TRACE(source + " cut at " + std::to_string(length));
      const std::string path = Scratch("cut_any");
      WriteAll(path, bytes.substr(0, length));
      Decoded decoded("PNM", path);
      // Only a cut into the data itself leaves a fault.
      if (text && length > last_number) {
        ASSERT_EQ(decoded.result(), 1);
        continue;
      }
      ASSERT_NE(decoded.report().severity, 0);
      ASSERT_NE(decoded.report().reason, nullptr);
      if (decoded.result() == 1) {
        ASSERT_LT(decoded.report().severity, ErrorThreshold);
        ASSERT_NE(decoded.image()->pixels, nullptr);
      } else {
        ASSERT_GE(decoded.report().severity, ErrorThreshold);
      }
    }
  }
}

TEST_F(PnmCoderTest, UnloadingTheModuleRemovesItsFormats) {
  const std::string path = Scratch("gone.ppm");
  Shell("ppmpat -madras 4 4 > " + path);
  char format[PIXBASE_TEXT_EXTENT] = {};
  ASSERT_EQ(DetectImageFormat(path.c_str(), format), 1);
  ASSERT_EQ(UnloadCoderModule("PNM"), 1);
  for (const char* name : {"PBM", "PGM", "PPM", "PAM", "PNM"})
    EXPECT_EQ(FindFormatEntry(name), nullptr) << name;
  EXPECT_NE(FindFormatEntry("BMP"), nullptr);
  EXPECT_EQ(DetectImageFormat(path.c_str(), format), 0);
  ASSERT_EQ(LoadCoderModule("PNM"), 1);
  EXPECT_EQ(DetectImageFormat(path.c_str(), format), 1);
  EXPECT_STREQ(format, "PPM");
}

}  // namespace
