// The path helpers of setup: walking paths by characters under single- and
// double-byte code pages, the directory walker, existence, tree deletion,
// integer parsing; and the platform seam's character stepping they rely on.
#include "common/paths.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"
#include "platform/shell.h"
#include "platform/simulated/shell_state.h"

namespace setup {
namespace {

using namespace simulated;

// "乗" in code page 936: a lead byte and 0x5C, the backslash, as trail byte.
const std::string kJou = "\x81\x5C";
// "宽" in code page 936 (0xBF 0xED) and a character whose trail byte is the
// ASCII letter 'A' (0x81 0x41).
const std::string kWide = "\xBF\xED";
const std::string kTrailA = "\x81\x41";

class Paths : public ::testing::Test {
 protected:
  void SetUp() override { testing::FreshMachine(); }
  void TearDown() override { testing::ExpectNothingLeftOpen(); }
};

// --- The seam's character stepping ------------------------------------------

TEST_F(Paths, CodePage936StepsOverDoubleByteCharacters) {
  TheMachine().code_page = 936;
  EXPECT_TRUE(platform::IsLeadByte(0x81));
  EXPECT_TRUE(platform::IsLeadByte(0xFE));
  EXPECT_FALSE(platform::IsLeadByte(0x80));
  EXPECT_FALSE(platform::IsLeadByte(0xFF));
  EXPECT_FALSE(platform::IsLeadByte('\\'));
  std::string text = "a" + kJou + "b";
  const char* start = text.c_str();
  EXPECT_EQ(platform::NextCharacter(start), start + 1);
  EXPECT_EQ(platform::NextCharacter(start + 1), start + 3);
  EXPECT_EQ(platform::NextCharacter(start + 4), start + 4);  // at the end
  EXPECT_EQ(platform::PreviousCharacter(start, start + 3), start + 1);
  EXPECT_EQ(platform::PreviousCharacter(start, start + 1), start);
  EXPECT_EQ(platform::PreviousCharacter(start, start), start);
  // A lead byte with nothing after it is one character.
  std::string cut = "a\x81";
  EXPECT_EQ(platform::NextCharacter(cut.c_str() + 1), cut.c_str() + 2);
}

TEST_F(Paths, OtherCodePagesAreSingleByte) {
  TheMachine().code_page = 1252;
  EXPECT_FALSE(platform::IsLeadByte(0x81));
  std::string text = kJou;
  EXPECT_EQ(platform::NextCharacter(text.c_str()), text.c_str() + 1);
  EXPECT_EQ(platform::PreviousCharacter(text.c_str(), text.c_str() + 2), text.c_str() + 1);
}

// --- Walking a path by characters -------------------------------------------

TEST_F(Paths, TheLastBackslashIsNeverATrailByte) {
  TheMachine().code_page = 936;
  std::string path = "C:\\Dir\\" + kJou;
  EXPECT_EQ(FindLastBackslash(path.c_str()), path.c_str() + 6);
  std::string ends = "C:\\" + kJou;
  EXPECT_FALSE(EndsWithBackslash(ends.c_str()));
  EXPECT_TRUE(EndsWithBackslash((ends + "\\").c_str()));
  EXPECT_EQ(FindNextBackslash(kJou.c_str()), nullptr);
  EXPECT_EQ(FindLastBackslash("no separator"), nullptr);
  // The same bytes under a single-byte code page are two characters.
  TheMachine().code_page = 1252;
  EXPECT_EQ(FindLastBackslash(path.c_str()), path.c_str() + 8);
  EXPECT_TRUE(EndsWithBackslash(ends.c_str()));
}

TEST_F(Paths, CuttingKeepsOrDropsTheLastBackslash) {
  TheMachine().code_page = 936;
  std::string path = "C:\\" + kJou + "\\File.txt";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s", path.c_str());
  ASSERT_TRUE(CutAtLastBackslash(buffer, true));
  EXPECT_EQ(std::string(buffer), "C:\\" + kJou + "\\");
  ASSERT_TRUE(CutAtLastBackslash(buffer, false));
  EXPECT_EQ(std::string(buffer), "C:\\" + kJou);
  // The trail byte is no place to cut.
  ASSERT_TRUE(CutAtLastBackslash(buffer, false));
  EXPECT_STREQ(buffer, "C:");
  EXPECT_FALSE(CutAtLastBackslash(buffer, false));
  EXPECT_STREQ(buffer, "C:");
}

TEST_F(Paths, PathsCompareCaseBlindOverSingleByteCharactersOnly) {
  EXPECT_TRUE(SamePath("C:\\Corvane\\Widelens", "c:\\CORVANE\\widelens"));
  EXPECT_FALSE(SamePath("C:\\A", "C:\\AB"));
  EXPECT_FALSE(SamePath("C:\\AB", "C:\\A"));
  TheMachine().code_page = 936;
  // 0x81 0x41 and 0x81 0x61 are two different characters, not one in two
  // cases.
  EXPECT_FALSE(SamePath(("C:\\" + kTrailA).c_str(), "C:\\\x81\x61"));
  EXPECT_TRUE(SamePath(("C:\\" + kWide + "\\X").c_str(), ("c:\\" + kWide + "\\x").c_str()));
  EXPECT_TRUE(SamePath(("C:\\" + kJou).c_str(), ("C:\\" + kJou).c_str()));
}

// --- Numbers ------------------------------------------------------------------------

TEST(ParseInteger, AcceptsWhiteSpaceSignAndStopsAtTheFirstNonDigit) {
  EXPECT_EQ(ParseInteger("0"), 0);
  EXPECT_EQ(ParseInteger(" 7"), 7);
  EXPECT_EQ(ParseInteger("\t\n 12"), 12);
  EXPECT_EQ(ParseInteger("+3"), 3);
  EXPECT_EQ(ParseInteger(" -42"), -42);
  EXPECT_EQ(ParseInteger("15,0"), 15);
  EXPECT_EQ(ParseInteger("9x9"), 9);
  EXPECT_EQ(ParseInteger(""), 0);
  EXPECT_EQ(ParseInteger("abc"), 0);
  EXPECT_EQ(ParseInteger("- 4"), 0);
}

TEST(ParseInteger, HoldsOverlongNumbersAtTheLimitsOfInt) {
  EXPECT_EQ(ParseInteger("2147483647"), INT_MAX);
  EXPECT_EQ(ParseInteger("99999999999999999999999"), INT_MAX);
  EXPECT_EQ(ParseInteger("-2147483648"), INT_MIN);
  EXPECT_EQ(ParseInteger("-99999999999999999999999"), INT_MIN);
}

// --- Directories ---------------------------------------------------------------------

TEST_F(Paths, PathExistsForFilesAndForDirectoriesGivenWithABackslash) {
  AddFile("C:\\Corvane\\Widelens\\Widelens.CHM", "help");
  AddDirectory("C:\\Corvane\\Empty");
  EXPECT_EQ(PathExists("C:\\Corvane\\Widelens\\Widelens.CHM"), 1);
  EXPECT_EQ(PathExists("C:\\Corvane\\Widelens\\"), 1);
  EXPECT_EQ(PathExists("C:\\Corvane\\Empty\\"), 1);
  EXPECT_EQ(PathExists("C:\\Corvane\\Widelens\\Missing.CHM"), 0);
  EXPECT_EQ(PathExists("C:\\Nowhere\\"), 0);
}

TEST_F(Paths, DeleteTreeRemovesReadOnlyFilesAndSubdirectories) {
  AddFile("C:\\Old\\A.TXT", "a");
  AddFile("C:\\Old\\Sub\\B.TXT", "b");
  AddFile("C:\\Old\\Sub\\Deeper\\C.TXT", "c");
  MakeReadOnly("C:\\Old\\A.TXT");
  MakeReadOnly("C:\\Old\\Sub\\Deeper\\C.TXT");
  DeleteTree("C:\\Old");
  EXPECT_FALSE(Exists("C:\\Old"));
  EXPECT_TRUE(IsDirectory("C:\\"));
}

TEST_F(Paths, ADotFileKeepsItsFolder) {
  AddFile("C:\\Old\\A.TXT", "a");
  AddFile("C:\\Old\\Sub\\.keep", "k");
  AddFile("C:\\Old\\Sub\\B.TXT", "b");
  DeleteTree("C:\\Old");
  EXPECT_TRUE(Exists("C:\\Old\\Sub\\.keep"));
  EXPECT_FALSE(Exists("C:\\Old\\Sub\\B.TXT"));
  EXPECT_FALSE(Exists("C:\\Old\\A.TXT"));
  EXPECT_TRUE(IsDirectory("C:\\Old\\Sub"));
}

TEST_F(Paths, DeleteTreeNeverFollowsAJunction) {
  // C:\Old\Link is a junction to a place outside the tree; the simulated
  // machine shows the place's files below it.
  AddFile("C:\\Old\\A.TXT", "a");
  AddFile("C:\\Old\\Link\\Precious.DOC", "p");
  TheMachine().nodes.at(Canonical("C:\\Old\\Link")).extra_attributes =
      platform::kReparsePointAttribute;
  DeleteTree("C:\\Old");
  EXPECT_TRUE(Exists("C:\\Old\\Link\\Precious.DOC"));
  EXPECT_FALSE(Exists("C:\\Old\\A.TXT"));
  EXPECT_TRUE(JournalLines("delete C:\\Old\\Link").empty());
}

TEST_F(Paths, DeleteTreeOfAMissingFolderDoesNothing) {
  AddFile("C:\\Keep\\A.TXT", "a");
  DeleteTree("C:\\Missing");
  EXPECT_TRUE(Exists("C:\\Keep\\A.TXT"));
}

TEST_F(Paths, TheWalkerPassesOverDotNamesAndReportsAMissingDirectory) {
  AddFile("C:\\Walk\\A.TXT", "a");
  AddFile("C:\\Walk\\.hidden", "h");
  AddDirectory("C:\\Walk\\Sub");
  std::vector<std::string> seen;
  auto note = [&](const platform::FoundEntry& e) { seen.push_back(e.name); };
  EXPECT_TRUE(ForEachEntry("C:\\Walk", note));
  EXPECT_EQ(seen, (std::vector<std::string>{"A.TXT", "Sub"}));
  seen.clear();
  EXPECT_TRUE(ForEachEntry("C:\\Walk\\", note));
  EXPECT_EQ(seen.size(), 2u);
  seen.clear();
  EXPECT_FALSE(ForEachEntry("C:\\Missing", note));
  EXPECT_FALSE(ForEachEntry(("C:\\" + std::string(600, 'x')).c_str(), note));
  EXPECT_TRUE(seen.empty());
}

TEST_F(Paths, TheWriteTestNeverWritesUnderACutName) {
  std::string directory = "C:\\" + std::string(250, 'd');
  AddDirectory(directory);
  EXPECT_EQ(DirectoryWritable(directory.c_str()), 0);
  EXPECT_TRUE(FilesBelow(directory).empty());
  EXPECT_TRUE(JournalLines("delete").empty());
  EXPECT_EQ(DirectoryWritable("C:\\"), 1);
}

TEST_F(Paths, DriveOnlyIsALetterAndAColon) {
  EXPECT_TRUE(IsDriveOnly("C:"));
  EXPECT_FALSE(IsDriveOnly("C:\\"));
  EXPECT_FALSE(IsDriveOnly("C"));
  EXPECT_FALSE(IsDriveOnly("CD:"));
}

}  // namespace
}  // namespace setup
