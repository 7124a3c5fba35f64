// Strings and text utilities: holders, comparison, case, trimming, file-name
// surgery and the three converters, with every allocation failure.
#include "pixbase/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pixbase/memory.h"
#include "raise_recorder.h"
#include "services/test_hooks.h"

namespace {

using pixbase::testing::FailAllocationsAfter;
using pixbase::testing::StopFailingAllocations;

class TextTest : public lumaview::testing::RaiseRecorderTest {};

// The texts of a list, which is released.
std::vector<std::string> TakeList(char** list) {
  std::vector<std::string> texts;
  if (list == nullptr) return texts;
  for (char** entry = list; *entry != nullptr; ++entry) {
    texts.emplace_back(*entry);
    ReleaseMemory(entry);
  }
  ReleaseMemory(&list);
  return texts;
}

using Texts = std::vector<std::string>;

// --- Copying and holders ---------------------------------------------------

TEST_F(TextTest, DuplicateLeavesRoomFor255MoreCharacters) {
  EXPECT_EQ(DuplicateString(nullptr), nullptr);
  char* copy = DuplicateString("abc");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "abc");
  // The block is zero-filled past the copy, so appending in place stays a text.
  for (int i = 3; i < 3 + 256; ++i) ASSERT_EQ(copy[i], '\0') << i;
  std::memset(copy + 3, 'x', 255);
  EXPECT_EQ(std::strlen(copy), 258u);
  ReleaseMemory(&copy);
  EXPECT_TRUE(raised().empty());
}

TEST_F(TextTest, AssignReplacesAndReleases) {
  char* held = nullptr;
  EXPECT_EQ(AssignString(&held, "first"), 1);
  EXPECT_STREQ(held, "first");
  EXPECT_EQ(AssignString(&held, "second"), 1);
  EXPECT_STREQ(held, "second");
  // A holder may be given a part of its own text.
  EXPECT_EQ(AssignString(&held, held + 3), 1);
  EXPECT_STREQ(held, "ond");
  EXPECT_EQ(AssignString(&held, nullptr), 1);
  EXPECT_EQ(held, nullptr);
  EXPECT_EQ(AssignString(nullptr, "x"), 0);
}

TEST_F(TextTest, AppendGrowsTheHeldText) {
  char* held = DuplicateString("abc");
  EXPECT_EQ(AppendString(&held, "de"), 1);
  EXPECT_STREQ(held, "abcde");
  EXPECT_EQ(AppendString(&held, nullptr), 1);
  EXPECT_STREQ(held, "abcde");
  std::string long_text(5000, 'z');
  EXPECT_EQ(AppendString(&held, long_text.c_str()), 1);
  EXPECT_EQ(std::string(held), "abcde" + long_text);
  // Appending a text to itself, even when the block has to move.
  EXPECT_EQ(AppendString(&held, held), 1);
  EXPECT_EQ(std::string(held), "abcde" + long_text + "abcde" + long_text);
  ReleaseMemory(&held);
  // A holder holding nothing is taken as holding an empty text.
  EXPECT_EQ(AppendString(&held, "new"), 1);
  EXPECT_STREQ(held, "new");
  ReleaseMemory(&held);
  EXPECT_EQ(AppendString(nullptr, "x"), 0);
}

TEST_F(TextTest, PrintToBufferCountsWhatItWrote) {
  char buffer[PIXBASE_TEXT_EXTENT];
  EXPECT_EQ(PrintToBuffer(buffer, "%s:%d", "frame", 12), 8);
  EXPECT_STREQ(buffer, "frame:12");
  std::string long_text(3000, 'q');
  EXPECT_EQ(PrintToBuffer(buffer, "%.1024s", long_text.c_str()), 1024);
  EXPECT_EQ(std::strlen(buffer), 1024u);
}

TEST_F(TextTest, CopiesRaiseWhenOutOfMemory) {
  FailAllocationsAfter(0, 1);
  EXPECT_EQ(DuplicateString("abc"), nullptr);
  EXPECT_TRUE(RaisedOutOfMemory("Unable to allocate string"));

  char* held = DuplicateString("old");
  FailAllocationsAfter(0, 1);
  EXPECT_EQ(AssignString(&held, "new"), 0);
  EXPECT_EQ(held, nullptr);
  EXPECT_TRUE(RaisedOutOfMemory("Unable to allocate string"));

  held = DuplicateString("abc");
  FailAllocationsAfter(0, 1);
  std::string long_text(100000, 'z');
  EXPECT_EQ(AppendString(&held, long_text.c_str()), 0);
  EXPECT_EQ(held, nullptr);
  EXPECT_TRUE(RaisedOutOfMemory("Unable to concatenate string"));
}

// --- Comparison and case ---------------------------------------------------

TEST_F(TextTest, CompareNoCaseOrdersAsTheUpperCaseForms) {
  EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
  EXPECT_GT(CompareNoCase("ABD", "abc"), 0);
  EXPECT_EQ(CompareNoCase("Hello, World", "hELLO, wORLD"), 0);
  EXPECT_LT(CompareNoCase("ab", "abc"), 0);
  EXPECT_GT(CompareNoCase("abc", "ab"), 0);
  EXPECT_EQ(CompareNoCase("a", "b"), 'A' - 'B');
  // Null texts and the same pointer.
  const char* text = "x";
  EXPECT_EQ(CompareNoCase(nullptr, nullptr), 0);
  EXPECT_EQ(CompareNoCase(text, text), 0);
  EXPECT_EQ(CompareNoCase("a", nullptr), 1);
  EXPECT_EQ(CompareNoCase(nullptr, "a"), -1);
  // Bytes above 127 count as negative values and have no case.
  EXPECT_LT(CompareNoCase("\xE9", "a"), 0);
  EXPECT_NE(CompareNoCase("\xE9", "\xC9"), 0);
  // Letters compare upper-cased: '_' lies between the two cases.
  EXPECT_EQ(CompareNoCase("a", "_"), 'A' - '_');
}

TEST_F(TextTest, CompareNoCaseCountStopsAfterCount) {
  EXPECT_EQ(CompareNoCaseCount("TIFFfile", "tiffdata", 4), 0);
  EXPECT_NE(CompareNoCaseCount("TIFFfile", "tiffdata", 5), 0);
  EXPECT_LT(CompareNoCaseCount("ab", "abc", 3), 0);
  EXPECT_EQ(CompareNoCaseCount("ab", "abc", 2), 0);
  // A count below 1 sets no limit.
  EXPECT_NE(CompareNoCaseCount("abcx", "abcy", 0), 0);
  EXPECT_NE(CompareNoCaseCount("abcx", "abcy", -5), 0);
  EXPECT_EQ(CompareNoCaseCount(nullptr, "a", 1), -1);
}

TEST_F(TextTest, CaseConversionTouchesLettersOnly) {
  char text[] = "MiXeD 123 _@[`{ \xE9\xC9";
  UpperCaseText(text);
  EXPECT_STREQ(text, "MIXED 123 _@[`{ \xE9\xC9");
  LowerCaseText(text);
  EXPECT_STREQ(text, "mixed 123 _@[`{ \xE9\xC9");
  UpperCaseText(nullptr);
  LowerCaseText(nullptr);
}

// --- Measuring and trimming ------------------------------------------------

TEST_F(TextTest, CountsLinesByLineFeeds) {
  EXPECT_EQ(CountTextLines(nullptr), 0);
  EXPECT_EQ(CountTextLines(""), 1);
  EXPECT_EQ(CountTextLines("a\nb\n"), 3);
  EXPECT_EQ(CountTextLines("a\r\nb\rc"), 2);
}

TEST_F(TextTest, TrimRemovesWhiteSpaceAtBothEnds) {
  char text[] = " \t a b \r\n\v\f";
  TrimText(text);
  EXPECT_STREQ(text, "a b");
  char blanks[] = "    ";
  TrimText(blanks);
  EXPECT_STREQ(blanks, "");
  char empty[] = "";
  TrimText(empty);
  EXPECT_STREQ(empty, "");
  // Bytes above 127 are not white space.
  char high[] = "\xA0x\xA0";
  TrimText(high);
  EXPECT_STREQ(high, "\xA0x\xA0");
  TrimText(nullptr);
}

// --- File names ------------------------------------------------------------

std::string WithExtension(const char* format, const std::string& name) {
  std::vector<char> buffer(PIXBASE_TEXT_EXTENT, '\0');
  std::memcpy(buffer.data(), name.c_str(), name.size() + 1);
  SetFileExtension(format, buffer.data());
  return std::string(buffer.data());
}

TEST_F(TextTest, SetFileExtensionReplacesOrAppends) {
  EXPECT_EQ(WithExtension("PNG", "photo.jpg"), "photo.PNG");
  EXPECT_EQ(WithExtension("PNG", "dir.x/photo"), "dir.x/photo.PNG");
  EXPECT_EQ(WithExtension("PNG", "dir.x\\photo"), "dir.x\\photo.PNG");
  EXPECT_EQ(WithExtension("PNG", "-"), "PNG:-");
  EXPECT_EQ(WithExtension("PNG", "photo.tar.gz"), "photo.tar.PNG");
  EXPECT_EQ(WithExtension("PNG", "photo.j"), "photo.PNG");
  // A dot at the very start or the very end is no extension dot.
  EXPECT_EQ(WithExtension("PNG", ".profile"), ".profile.PNG");
  EXPECT_EQ(WithExtension("PNG", "photo."), "photo..PNG");
  EXPECT_EQ(WithExtension("PNG", "a"), "a.PNG");
  EXPECT_EQ(WithExtension("PNG", "a.b"), "a.PNG");
  // Nothing happens when either text is empty.
  EXPECT_EQ(WithExtension("", "photo.jpg"), "photo.jpg");
  EXPECT_EQ(WithExtension("PNG", ""), "");
  SetFileExtension(nullptr, nullptr);
}

TEST_F(TextTest, SetFileExtensionNeverWritesPastTheBuffer) {
  // The buffer is exactly TextExtent bytes, so ASan sees any write past it.
  std::vector<char> buffer(PIXBASE_TEXT_EXTENT);
  std::string format(3000, 'F');
  std::string name(PIXBASE_TEXT_EXTENT - 1, 'n');
  std::memcpy(buffer.data(), name.c_str(), name.size() + 1);
  SetFileExtension("PNG", buffer.data());
  EXPECT_EQ(std::strlen(buffer.data()), PIXBASE_TEXT_EXTENT - 1u);
  EXPECT_EQ(std::string(buffer.data()), name);

  name = "photo.jpg";
  std::memcpy(buffer.data(), name.c_str(), name.size() + 1);
  SetFileExtension(format.c_str(), buffer.data());
  EXPECT_EQ(std::string(buffer.data()), "photo." + format.substr(0, PIXBASE_TEXT_EXTENT - 7));

  name = std::string(2140, 'n');
  std::memcpy(buffer.data(), name.c_str(), name.size() + 1);
  SetFileExtension("JPEG2000", buffer.data());
  EXPECT_EQ(std::string(buffer.data()), name + ".JPEG20");

  std::memcpy(buffer.data(), "-", 2);
  SetFileExtension(format.c_str(), buffer.data());
  EXPECT_EQ(std::string(buffer.data()), format.substr(0, 1024) + ":-");

  // A buffer without a terminator is taken as holding its first bytes.
  std::memset(buffer.data(), 'n', buffer.size());
  SetFileExtension("PNG", buffer.data());
  EXPECT_EQ(std::strlen(buffer.data()), PIXBASE_TEXT_EXTENT - 1u);
}

std::string BaseName(const char* path) {
  char* base = ExtractBaseName(path);
  if (base == nullptr) return "(null)";
  std::string text(base);
  ReleaseMemory(&base);
  return text;
}

TEST_F(TextTest, ExtractBaseNameDropsDirectoryAndExtension) {
  EXPECT_EQ(BaseName("c:\\img\\photo.tar.gz"), "photo.tar");
  EXPECT_EQ(BaseName("photo"), "photo");
  EXPECT_EQ(BaseName("/usr/share/photo.png"), "photo");
  EXPECT_EQ(BaseName("dir.x/photo"), "photo");
  EXPECT_EQ(BaseName("dir/"), "");
  // A separator or a dot in the first position stays.
  EXPECT_EQ(BaseName("/photo"), "/photo");
  EXPECT_EQ(BaseName(".profile"), ".profile");
  EXPECT_EQ(BaseName("dir/.profile"), ".profile");
  EXPECT_EQ(BaseName(""), "");
  EXPECT_EQ(BaseName(nullptr), "(null)");
}

TEST_F(TextTest, ExtractBaseNameRaisesWhenOutOfMemory) {
  FailAllocationsAfter(0, 1);
  EXPECT_EQ(ExtractBaseName("a/b.c"), nullptr);
  EXPECT_TRUE(RaisedOutOfMemory("Unable to allocate string"));
}

// --- WidenText -------------------------------------------------------------

std::vector<uint16_t> Widen(const char* text, size_t* count_out = nullptr) {
  size_t count = 99;
  uint16_t* wide = WidenText(text, &count);
  if (count_out != nullptr) *count_out = count;
  std::vector<uint16_t> units;
  if (wide == nullptr) return units;
  for (size_t i = 0; i <= count; ++i) units.push_back(wide[i]);
  ReleaseMemory(&wide);
  return units;
}

TEST_F(TextTest, WidenTextDecodesEscapes) {
  size_t count = 0;
  EXPECT_EQ(Widen("A\\0x263aB", &count), (std::vector<uint16_t>{0x41, 0x263A, 0x42, 0}));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(Widen("\\0XFFFF\\0x0041", &count), (std::vector<uint16_t>{0xFFFF, 0x41, 0}));
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(Widen("\xE9\\0", &count), (std::vector<uint16_t>{0xE9, '\\', '0', 0}));
  EXPECT_EQ(count, 3u);
}

TEST_F(TextTest, WidenTextRefusesMalformedEscapes) {
  size_t count = 0;
  for (const char* text : {"A\\0x26", "\\0x26zz", "\\0x", "x\\0x-123", ""}) {
    EXPECT_TRUE(Widen(text, &count).empty()) << text;
    EXPECT_EQ(count, 0u) << text;
  }
  EXPECT_EQ(WidenText(nullptr, &count), nullptr);
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(raised().empty());
}

TEST_F(TextTest, WidenTextRaisesWhenOutOfMemory) {
  size_t count = 7;
  FailAllocationsAfter(0, 1);
  EXPECT_EQ(WidenText("abc", &count), nullptr);
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(RaisedOutOfMemory("Unable to convert text to Unicode"));
}

// --- SplitCommandLine ------------------------------------------------------

Texts Split(const char* text, int* count_out = nullptr) {
  int count = -1;
  char** vector = SplitCommandLine(text, &count);
  if (count_out != nullptr) *count_out = count;
  return TakeList(vector);
}

TEST_F(TextTest, SplitCommandLineKeepsQuotingRules) {
  int count = 0;
  EXPECT_EQ(Split("-size   \"a b\"    'x y'", &count), (Texts{"tessel", "-size", "a b", "'x y'"}));
  EXPECT_EQ(count, 4);
  // Bytes glued to a closing quote belong to no argument.
  EXPECT_EQ(Split("\"a\"b c", &count), (Texts{"tessel", "a", "c"}));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(Split("'a'b c", &count), (Texts{"tessel", "'a'", "c"}));
  EXPECT_EQ(Split("one two \t\r\n", &count), (Texts{"tessel", "one", "two"}));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(Split("", &count), (Texts{"tessel"}));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(Split("   ", &count), (Texts{"tessel"}));
  EXPECT_EQ(count, 1);
  // Unclosed quotes run to the end of the text.
  EXPECT_EQ(Split("a \"b c", &count), (Texts{"tessel", "a", "b c"}));
  EXPECT_EQ(Split("a 'b c", &count), (Texts{"tessel", "a", "'b c"}));
  EXPECT_EQ(Split("\"\" x", &count), (Texts{"tessel", "", "x"}));
  EXPECT_EQ(Split("ab\"cd ef\"", &count), (Texts{"tessel", "ab\"cd", "ef\""}));
  EXPECT_EQ(SplitCommandLine(nullptr, &count), nullptr);
  EXPECT_EQ(count, 0);
}

TEST_F(TextTest, SplitCommandLineRaisesAtEveryAllocation) {
  // Allocations: the vector, "tessel", then one per argument.
  const char* reasons[] = {"Unable to convert string to argv", "Unable to allocate string",
                           "Unable to convert string to argv", "Unable to convert string to argv"};
  for (int failing = 0; failing < 4; ++failing) {
    int count = 5;
    FailAllocationsAfter(failing, 1);
    EXPECT_EQ(SplitCommandLine("one 'two'", &count), nullptr) << failing;
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(RaisedOutOfMemory(reasons[failing])) << failing;
  }
  FailAllocationsAfter(4, 1);
  EXPECT_EQ(Split("one 'two'"), (Texts{"tessel", "one", "'two'"}));
  EXPECT_TRUE(raised().empty());
}

// --- SplitTextLines --------------------------------------------------------

TEST_F(TextTest, SplitTextLinesOfPlainText) {
  EXPECT_EQ(TakeList(SplitTextLines("one\r\ntwo\nthree")), (Texts{"one", "two", "three"}));
  EXPECT_EQ(TakeList(SplitTextLines("end\n")), (Texts{"end", ""}));
  EXPECT_EQ(TakeList(SplitTextLines("")), (Texts{""}));
  EXPECT_EQ(TakeList(SplitTextLines("\n\n")), (Texts{"", "", ""}));
  EXPECT_EQ(TakeList(SplitTextLines("caf\xE9\tau lait")), (Texts{"caf\xE9\tau lait"}));
  EXPECT_EQ(SplitTextLines(nullptr), nullptr);
}

TEST_F(TextTest, SplitTextLinesEndsALineAtALoneCarriageReturn) {
  // The byte after a lone carriage return starts the next line; nothing is
  // lost and each line has its own entry.
  EXPECT_EQ(TakeList(SplitTextLines("ab\rcd")), (Texts{"ab", "cd"}));
  EXPECT_EQ(TakeList(SplitTextLines("a\r\r\r")), (Texts{"a", "", "", ""}));
  EXPECT_EQ(TakeList(SplitTextLines("a\r\rb\r\nc\n\rd")), (Texts{"a", "", "b", "c", "", "d"}));
  EXPECT_EQ(TakeList(SplitTextLines("\r")), (Texts{"", ""}));
}

TEST_F(TextTest, SplitTextLinesDumpsBinaryText) {
  Texts lines =
      TakeList(SplitTextLines("\x01"
                              "ABC\xFF"));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "0x00000000: 01414243 ff" + std::string(34, ' ') + " -ABC-");
  EXPECT_EQ(lines[0].size(), 12u + 45u + 1u + 5u);
}

TEST_F(TextTest, SplitTextLinesDumpOfWholeLines) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += static_cast<char>(i % 3 == 0 ? 0x02 : 'a' + i % 26);
  Texts lines = TakeList(SplitTextLines(text.c_str()));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "0x00000000: 02626302 65660268 69026b6c 026e6f02 71720274  -bc-ef-hi-kl-no-qr-t");
  EXPECT_EQ(lines[1].substr(0, 12), "0x00000014: ");
  EXPECT_EQ(lines[1].size(), 12u + 45u + 1u + 20u);
  EXPECT_EQ(lines[2], "0x00000028: " + std::string(45, ' ') + " ");
}

TEST_F(TextTest, SplitTextLinesRaisesAtEveryAllocation) {
  for (int failing = 0; failing < 3; ++failing) {
    FailAllocationsAfter(failing, 1);
    EXPECT_EQ(SplitTextLines("one\ntwo"), nullptr) << failing;
    EXPECT_TRUE(RaisedOutOfMemory("Unable to convert text to list")) << failing;
  }
  std::string binary(30, '\x01');
  for (int failing = 0; failing < 3; ++failing) {
    FailAllocationsAfter(failing, 1);
    EXPECT_EQ(SplitTextLines(binary.c_str()), nullptr) << failing;
    EXPECT_TRUE(RaisedOutOfMemory("Unable to convert text")) << failing;
  }
  StopFailingAllocations();
  EXPECT_EQ(TakeList(SplitTextLines(binary.c_str())).size(), 2u);
}

}  // namespace
