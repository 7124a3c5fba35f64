// The viewer's composed texts: title, failure message, open-dialog filter,
// and the path splitting they rest on.
#include "core/captions.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

bool GbkLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

TEST(PathParts, SplitAtTheLastSeparator) {
  EXPECT_EQ(FileNamePart("C:\\Pictures\\sea.ppm"), "sea.ppm");
  EXPECT_EQ(FolderPart("C:\\Pictures\\sea.ppm"), "C:\\Pictures\\");
  EXPECT_EQ(FileNamePart("C:sea.ppm"), "sea.ppm");
  EXPECT_EQ(FolderPart("/tmp/x/sea.ppm"), "/tmp/x/");
  EXPECT_EQ(FileNamePart("sea.ppm"), "sea.ppm");
  EXPECT_EQ(FolderPart("sea.ppm"), "");
}

TEST(PathParts, ASecondByteThatLooksLikeABackslashIsNoSeparator) {
  // "\x95\x5c" is one character of code page 936 whose second byte is '\'.
  std::string path = "C:\\\xcd\xbc\\\x95\x5c.bmp";
  EXPECT_EQ(FileNamePart(path, GbkLead), "\x95\x5c.bmp");
  EXPECT_EQ(FolderPart(path, GbkLead), "C:\\\xcd\xbc\\");
  // Read byte by byte the same path splits in the wrong places.
  EXPECT_EQ(FileNamePart(path), ".bmp");
}

TEST(TitleText, NamesFileSizeFormatAndZoom) {
  EXPECT_EQ(TitleText("Corvane Widelens", "C:\\Pictures\\sea.ppm", 640, 480, "PPM", 100),
            "sea.ppm - 640 x 480 - PPM - 100% - Corvane Widelens");
  EXPECT_EQ(TitleText("Corvane Widelens", "C:\\Pictures\\sea.ppm", 640, 480, "PPM", 0),
            "sea.ppm - 640 x 480 - PPM - Corvane Widelens");
  EXPECT_EQ(TitleText("Corvane Widelens", "", 0, 0, "", 100), "Corvane Widelens");
}

TEST(FillPattern, InsertsValuesLiterally) {
  EXPECT_EQ(FillPattern("Cannot show %s:\n%s", {"a%sb.bmp", "bad header (line 1)"}),
            "Cannot show a%sb.bmp:\nbad header (line 1)");
  EXPECT_EQ(FillPattern("100%% of %s, %s.", {"x"}), "100% of x, .");
  EXPECT_EQ(FillPattern("trailing %", {}), "trailing %");
}

TEST(ReasonText, ReasonWithItsDescription) {
  EXPECT_EQ(ReasonText("Corrupt image", "height is 0"), "Corrupt image (height is 0)");
  EXPECT_EQ(ReasonText("Corrupt image", ""), "Corrupt image");
  EXPECT_EQ(ReasonText("", "only a description"), "only a description");
}

TEST(OpenFilter, PicturesThenAllFilesDoublyEnded) {
  std::string filter = OpenFilter("Pictures", "All files", {"PPM", "BMP"});
  EXPECT_EQ(filter,
            std::string("Pictures (*.PPM;*.BMP)\0*.PPM;*.BMP\0All files (*.*)\0*.*\0\0", 56));
  std::string none = OpenFilter("Pictures", "All files", {});
  EXPECT_EQ(none, std::string("All files (*.*)\0*.*\0\0", 21));
}

}  // namespace
}  // namespace viewer
