// The viewer's path parts over setup's path walker, on the simulated machine
// in a single-byte and in the double-byte code page.
#include <gtest/gtest.h>

#include "core/captions.h"
#include "platform/simulated/machine.h"

namespace viewer {
namespace {

class PathParts : public ::testing::Test {
 protected:
  void SetUp() override { setup::simulated::ResetMachine(); }
};

TEST_F(PathParts, SplitAtTheLastBackslash) {
  EXPECT_EQ(FileNamePart("C:\\Pictures\\sea.ppm"), "sea.ppm");
  EXPECT_EQ(FolderPart("C:\\Pictures\\sea.ppm"), "C:\\Pictures\\");
  EXPECT_EQ(FileNamePart("C:\\"), "");
  EXPECT_EQ(FolderPart("C:\\"), "C:\\");
  EXPECT_EQ(FileNamePart("sea.ppm"), "sea.ppm");
  EXPECT_EQ(FolderPart("sea.ppm"), "");
  EXPECT_EQ(TitleText("Corvane Widelens", "C:\\a\\b\\sea.ppm", 1, 2, "PPM", 0),
            "sea.ppm - 1 x 2 - PPM - Corvane Widelens");
}

TEST_F(PathParts, ASecondByteThatLooksLikeABackslashIsNoSeparator) {
  // "\x95\x5c" is one character of code page 936 whose second byte is '\'.
  std::string path = "C:\\\xcd\xbc\\\x95\x5c.bmp";
  setup::simulated::TheMachine().code_page = 936;
  EXPECT_EQ(FileNamePart(path), "\x95\x5c.bmp");
  EXPECT_EQ(FolderPart(path), "C:\\\xcd\xbc\\");
  // In a single-byte code page the same bytes hold one more backslash.
  setup::simulated::TheMachine().code_page = 1252;
  EXPECT_EQ(FileNamePart(path), ".bmp");
}

}  // namespace
}  // namespace viewer
