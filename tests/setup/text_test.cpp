// The bounded text helpers that fill every fixed buffer of setup, and the
// trailing backslash and comparison of the paths they hold.
#include "common/text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/paths.h"

namespace setup {
namespace {

TEST(BoundedText, CopyAndAppendCutAtTheBuffer) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(CopyText(buffer, sizeof buffer, "C:\\Corvane"), 7u);
  EXPECT_STREQ(buffer, "C:\\Corv");
  CopyText(buffer, sizeof buffer, "C:\\");
  EXPECT_EQ(AppendText(buffer, sizeof buffer, "Widelens"), 7u);
  EXPECT_STREQ(buffer, "C:\\Wide");
  EXPECT_EQ(AppendText(buffer, sizeof buffer, "more"), 7u);
}

TEST(BoundedText, OneTrailingBackslash) {
  char buffer[16] = "C:\\A";
  EnsureTrailingBackslash(buffer, sizeof buffer);
  EnsureTrailingBackslash(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "C:\\A\\");
  char empty[4] = "";
  EnsureTrailingBackslash(empty, sizeof empty);
  EXPECT_STREQ(empty, "");
}

TEST(BoundedText, FormatReplacesEveryPlaceholderWithinTheBuffer) {
  char buffer[64];
  FormatWithText(buffer, sizeof buffer, "The directory %s can not write.", "C:\\X");
  EXPECT_STREQ(buffer, "The directory C:\\X can not write.");
  FormatWithText(buffer, sizeof buffer, "%s and %s", "a");
  EXPECT_STREQ(buffer, "a and a");
  char small[12];
  FormatWithText(small, sizeof small, "Create directory %s error", "C:\\Very\\Long\\Path");
  EXPECT_STREQ(small, "Create dire");
  FormatWithText(small, sizeof small, "%s", "0123456789ABCDEF");
  EXPECT_STREQ(small, "0123456789A");
}

TEST(BoundedText, CaseBlindComparison) {
  EXPECT_TRUE(SamePath("C:\\Corvane\\WIDELENS", "c:\\corvane\\widelens"));
  EXPECT_FALSE(SamePath("C:\\A", "C:\\AB"));
  EXPECT_FALSE(SamePath("", "x"));
}

}  // namespace
}  // namespace setup
