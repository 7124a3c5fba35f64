// Path text rules and normal forms, walked in the ANSI code page; the
// command line; the summary's bounds.
#include "core/path_rules.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/paths.h"
#include "core/command_line.h"
#include "core/report.h"
#include "core/state.h"
#include "harness.h"
#include "platform/simulated/machine.h"
#include "resources/uninstall_ids.h"
#include "uninstall_harness.h"

namespace uninstall {
namespace {

using namespace setup::simulated;

class PathRules : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FreshMachine();
    testing::UseUninstallerStrings();
  }
};

TEST_F(PathRules, FullLocalPathsPassAndEverythingElseIsNamed) {
  EXPECT_EQ(CheckPathText("C:\\Corvane\\Widelens", false), PathFault::None);
  EXPECT_EQ(CheckPathText("C:\\Corvane\\Widelens\\", false), PathFault::None);
  EXPECT_EQ(CheckPathText("c:\\a b\\c.d.e", false), PathFault::None);
  EXPECT_EQ(CheckPathText("C:\\", false), PathFault::DriveRoot);
  EXPECT_EQ(CheckPathText("C:", false), PathFault::NotFull);
  EXPECT_EQ(CheckPathText("C:a", false), PathFault::NotFull);
  EXPECT_EQ(CheckPathText("", false), PathFault::NotFull);
  EXPECT_EQ(CheckPathText("\\\\?\\C:\\a", false), PathFault::NotFull);
  EXPECT_EQ(CheckPathText("1:\\a", false), PathFault::NotFull);
  EXPECT_EQ(CheckPathText("C:\\a\\\\b", false), PathFault::NotFull);
  EXPECT_EQ(CheckPathText("C:\\a\\..", false), PathFault::DotComponent);
  EXPECT_EQ(CheckPathText("C:\\a\\.\\b", false), PathFault::DotComponent);
  EXPECT_EQ(CheckPathText("C:\\a\\...\\b", false), PathFault::DotComponent);
  EXPECT_EQ(CheckPathText("C:\\a \\b", false), PathFault::DotComponent);
  EXPECT_EQ(CheckPathText("C:\\a\\b:stream", false), PathFault::BadCharacter);
  EXPECT_EQ(CheckPathText("C:\\a\\b|c", false), PathFault::BadCharacter);
  EXPECT_EQ(CheckPathText("C:\\a\\b\tc", false), PathFault::BadCharacter);
  EXPECT_EQ(CheckPathText("C:\\a\\*.*", false), PathFault::BadCharacter);
  EXPECT_EQ(CheckPathText("C:\\a\\*.*", true), PathFault::None);
  EXPECT_EQ(CheckPathText("C:\\*\\b.txt", true), PathFault::BadCharacter);
  // 259 characters fit the path limit (260 with the terminating zero).
  EXPECT_EQ(CheckPathText(("C:\\" + std::string(257, 'x')).c_str(), false), PathFault::TooLong);
  EXPECT_EQ(CheckPathText(("C:\\" + std::string(256, 'x')).c_str(), false), PathFault::None);
}

// "\x83\x5C" is one double-byte character under code page 936 whose second
// byte is a backslash; under code page 1252 it is two characters.
TEST_F(PathRules, DoubleByteCharactersAreSteppedOverUnderTheirCodePage) {
  const char* path = "C:\\Corvane\\\x83\x5C\\Note.txt";
  TheMachine().code_page = 936;
  EXPECT_EQ(CheckPathText("C:\\Corvane\\\x83\x5C", false), PathFault::None);
  EXPECT_STREQ(LastComponent("C:\\Corvane\\\x83\x5C"), "\x83\x5C");
  char parent[260];
  ASSERT_TRUE(ParentOf(path, parent, sizeof parent));
  EXPECT_STREQ(parent, "C:\\Corvane\\\x83\x5C");
  EXPECT_TRUE(PathInside(path, "C:\\Corvane\\\x83\x5C"));
  EXPECT_FALSE(PathInside("C:\\Corvane\\\x83\x5C\\x", "C:\\Corvane\\\x83"));
  // The second byte of a character is not folded as a letter: "\x83\x41" is
  // not "\x83\x61".
  EXPECT_FALSE(setup::SamePath("C:\\\x83\x41", "C:\\\x83\x61"));
  EXPECT_TRUE(setup::SamePath("C:\\\x83\x41x", "c:\\\x83\x41X"));
  TheMachine().code_page = 1252;
  EXPECT_STREQ(LastComponent("C:\\Corvane\\\x83\x5C"), "");
  EXPECT_EQ(CheckPathText("C:\\Corvane\\\x83\x5C\\x", false), PathFault::NotFull);
  EXPECT_TRUE(setup::SamePath("C:\\\x83\x41", "C:\\\x83\x61"));
}

TEST_F(PathRules, NormalFormsMeetBetweenShortAndLongNames) {
  AddFile("C:\\Program Files\\Corvane Widelens\\Lumaview.exe", "x");
  char a[260];
  char b[260];
  ASSERT_TRUE(NormalForm("C:\\Program Files\\Corvane Widelens\\", a, sizeof a));
  ASSERT_TRUE(NormalForm("c:\\PROGRA~1\\CORVAN~1", b, sizeof b));
  EXPECT_TRUE(setup::SamePath(a, b)) << a << " " << b;
  // What does not exist keeps its written tail under its parent's form.
  ASSERT_TRUE(NormalForm("C:\\Program Files\\Corvane Widelens\\Cache\\*.*", a, sizeof a));
  EXPECT_TRUE(PathInside(a, b)) << a;
  EXPECT_STREQ(LastComponent(a), "*.*");
  ASSERT_TRUE(NormalForm("C:\\", a, sizeof a));
  EXPECT_STREQ(a, "C:");
  EXPECT_FALSE(NormalForm(("C:\\" + std::string(300, 'x')).c_str(), a, sizeof a));
  char tiny[4];
  EXPECT_FALSE(NormalForm("C:\\Program Files", tiny, sizeof tiny));
}

TEST_F(PathRules, InsideMeansBelowAWholeComponent) {
  EXPECT_TRUE(PathInside("C:\\A\\B", "C:\\A"));
  EXPECT_TRUE(PathInside("c:\\a\\b\\c", "C:\\A"));
  EXPECT_FALSE(PathInside("C:\\AB\\C", "C:\\A"));
  EXPECT_FALSE(PathInside("C:\\A", "C:\\A"));
  EXPECT_FALSE(PathInside("C:\\A\\", "C:\\A"));
  EXPECT_TRUE(PathInside("C:\\A", "C:"));
}

TEST(CommandLine, SilentCleanupQuotesAndOtherWords) {
  CommandLine line;
  ParseCommandLine("", &line);
  EXPECT_FALSE(line.silent);
  ParseCommandLine("/s", &line);
  EXPECT_TRUE(line.silent);
  ParseCommandLine("  extra -S words", &line);
  EXPECT_TRUE(line.silent);
  EXPECT_FALSE(line.cleanup);
  ParseCommandLine("/SS", &line);
  EXPECT_FALSE(line.silent);
  ParseCommandLine("/cleanup \"C:\\Program Files\\W\\UNINST32.EXE\" \"C:\\Program Files\\W\"",
                   &line);
  EXPECT_TRUE(line.cleanup);
  EXPECT_TRUE(line.silent);
  EXPECT_STREQ(line.cleanup_file, "C:\\Program Files\\W\\UNINST32.EXE");
  EXPECT_STREQ(line.cleanup_folder, "C:\\Program Files\\W");
  ParseCommandLine("/CLEANUP \"C:\\W\\UNINST32.EXE\" \"\"", &line);
  EXPECT_STREQ(line.cleanup_folder, "");
  // An overlong word fills its buffer and is then refused as too long.
  std::string text = "/CLEANUP C:\\" + std::string(400, 'x');
  ParseCommandLine(text.c_str(), &line);
  EXPECT_EQ(std::string(line.cleanup_file).size(), sizeof line.cleanup_file - 1);
  EXPECT_EQ(CheckPathText(line.cleanup_file, false), PathFault::TooLong)
      << std::strlen(line.cleanup_file) << " " << line.cleanup_file;
  ParseCommandLine(nullptr, &line);
  EXPECT_FALSE(line.silent);
}

TEST_F(PathRules, TheSummaryListIsBoundedAndCountsWhatItLeavesOut) {
  Report report;
  for (int i = 0; i < 500; ++i)
    report.Removed(("C:\\Corvane\\Widelens\\F" + std::to_string(i)).c_str());
  report.Left("C:\\Corvane\\Widelens", IDS_WHY_NOT_EMPTY);
  std::string list = report.ListText(2000);
  EXPECT_LE(list.size(), 2000u);
  EXPECT_EQ(list.find("#21\r\n  C:\\Corvane\\Widelens: #30\r\n"), 0u) << list.substr(0, 80);
  EXPECT_NE(list.find("#55 "), std::string::npos);
  EXPECT_EQ(report.ExitCode(), kExitLeftSomething);
  EXPECT_EQ(report.Headline(), IDS_DONE_PARTLY);
  Report restart;
  restart.Removed("a");
  restart.AtRestart("b");
  EXPECT_EQ(restart.ExitCode(), kExitRestartNeeded);
  restart.WithUninstaller("c");
  restart.Restate(ItemState::WithUninstaller, ItemState::AtRestart);
  EXPECT_EQ(restart.items()[2].state, ItemState::AtRestart);
  EXPECT_EQ(Report().ExitCode(), kExitRemoved);
}

}  // namespace
}  // namespace uninstall
