// Geometry texts and page sizes: the parser's flags and outputs, the page
// table with the longest matching name, and the allocation failure.
#include "pixbase/geometry.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "pixbase/memory.h"
#include "raise_recorder.h"
#include "services/test_hooks.h"

namespace {

class GeometryTest : public lumaview::testing::RaiseRecorderTest {};

constexpr int32_t kUntouched = 777;

struct Parsed {
  int32_t flags;
  int32_t x = kUntouched, y = kUntouched, width = kUntouched, height = kUntouched;
};

Parsed Parse(const char* text) {
  Parsed parsed{0};
  parsed.flags = ReadGeometry(text, &parsed.x, &parsed.y, &parsed.width, &parsed.height);
  return parsed;
}

TEST_F(GeometryTest, ReadsSizesAndOffsets) {
  Parsed p = Parse("640x480");
  EXPECT_EQ(p.flags, GeometryHasWidth | GeometryHasHeight);
  EXPECT_EQ(p.width, 640);
  EXPECT_EQ(p.height, 480);
  EXPECT_EQ(p.x, kUntouched);
  EXPECT_EQ(p.y, kUntouched);

  p = Parse("640x480+10-20");
  EXPECT_EQ(p.flags, 47);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, -20);

  p = Parse("=100");
  EXPECT_EQ(p.flags, GeometryHasWidth);
  EXPECT_EQ(p.width, 100);
  EXPECT_EQ(p.height, kUntouched);

  p = Parse("x50");
  EXPECT_EQ(p.flags, GeometryHasHeight);
  EXPECT_EQ(p.height, 50);
  EXPECT_EQ(p.width, kUntouched);

  p = Parse("+5+6");
  EXPECT_EQ(p.flags, GeometryHasX | GeometryHasY);
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(p.y, 6);

  p = Parse("-5");
  EXPECT_EQ(p.flags, GeometryHasX | GeometryXMinus);
  EXPECT_EQ(p.x, -5);

  p = Parse("  12.7x3.9");
  EXPECT_EQ(p.flags, 12);
  EXPECT_EQ(p.width, 12);
  EXPECT_EQ(p.height, 3);

  p = Parse("1e2X-2.5-0");
  EXPECT_EQ(p.flags, GeometryHasWidth | GeometryHasHeight | GeometryHasX | GeometryXMinus);
  EXPECT_EQ(p.width, 100);
  EXPECT_EQ(p.height, -2);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, kUntouched);

  // An upper-case X at the start reads a width of 0.
  p = Parse("X50");
  EXPECT_EQ(p.flags, GeometryHasWidth | GeometryHasHeight);
  EXPECT_EQ(p.width, 0);
  EXPECT_EQ(p.height, 50);
}

TEST_F(GeometryTest, ZeroByZeroSetsEverything) {
  for (const char* text : {"0x0", "0X0", " =0x0"}) {
    Parsed p = Parse(text);
    EXPECT_EQ(p.flags, 15) << text;
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(p.width, 0);
    EXPECT_EQ(p.height, 0);
  }
}

TEST_F(GeometryTest, LeftoverBytesMakeNoGeometryAndWriteNothing) {
  for (const char* text : {"640x480>", "100 x 200", "abc", "10x10+1+2+3", "7x9%", ""}) {
    Parsed p = Parse(text);
    EXPECT_EQ(p.flags, 0) << text;
    EXPECT_EQ(p.x, kUntouched) << text;
    EXPECT_EQ(p.y, kUntouched) << text;
    EXPECT_EQ(p.width, kUntouched) << text;
    EXPECT_EQ(p.height, kUntouched) << text;
  }
  EXPECT_EQ(ReadGeometry(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
}

TEST_F(GeometryTest, NumbersAreDecimalAndHeldToTheIntegerRange) {
  // "0x50" is a width of 0 and a height of 50, not a hexadecimal number.
  Parsed p = Parse("0x50");
  EXPECT_EQ(p.flags, GeometryHasWidth | GeometryHasHeight);
  EXPECT_EQ(p.width, 0);
  EXPECT_EQ(p.height, 50);
  EXPECT_EQ(Parse("infx5").flags, 0);
  EXPECT_EQ(Parse("nan").flags, 0);
  p = Parse("1e30x-1e30+99999999999-99999999999");
  EXPECT_EQ(p.width, INT32_MAX);
  EXPECT_EQ(p.height, INT32_MIN);
  EXPECT_EQ(p.x, INT32_MAX);
  EXPECT_EQ(p.y, -INT32_MAX);
  p = Parse("+-2147483648--2147483648");
  EXPECT_EQ(p.x, INT32_MIN);
  EXPECT_EQ(p.y, INT32_MAX);
}

TEST_F(GeometryTest, NumbersBeyondADoubleAreHeldToo) {
  Parsed p = Parse("1e999x-1e999+0.5e-999-1e-999");
  EXPECT_EQ(p.width, INT32_MAX);
  EXPECT_EQ(p.height, INT32_MIN);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = Parse(
      "0.000e999x"
      "000.0001e400");
  EXPECT_EQ(p.width, 0);
  EXPECT_EQ(p.height, INT32_MAX);
  EXPECT_EQ(Parse("1.5e3x2.").width, 1500);
  EXPECT_EQ(Parse("1.5e3x2.").height, 2);
}

// The decimal point is '.' whatever locale the client chose: every text
// reads as it does in the "C" locale.
TEST_F(GeometryTest, NumbersReadTheSameInEveryLocale) {
  const char* texts[] = {"1.5x2.5+1.5-2.75", "1,5x2", "12,5x3", ".5x.5", "1.e2x1"};
  std::vector<Parsed> in_c;
  for (const char* text : texts) in_c.push_back(Parse(text));
  EXPECT_EQ(in_c[0].width, 1);
  EXPECT_EQ(in_c[0].y, -2);
  EXPECT_EQ(in_c[1].flags, 0);
  std::string saved = std::setlocale(LC_ALL, nullptr);
  int tried = 0;
  for (const char* locale : {"German", "de_DE.UTF-8", "de_DE.ISO-8859-1", "fr_FR.UTF-8", "C"}) {
    if (std::setlocale(LC_ALL, locale) == nullptr) continue;
    ++tried;
    for (size_t i = 0; i < in_c.size(); ++i) {
      Parsed p = Parse(texts[i]);
      EXPECT_EQ(p.flags, in_c[i].flags) << locale << " " << texts[i];
      EXPECT_EQ(p.width, in_c[i].width) << locale << " " << texts[i];
      EXPECT_EQ(p.height, in_c[i].height) << locale << " " << texts[i];
      EXPECT_EQ(p.x, in_c[i].x) << locale << " " << texts[i];
      EXPECT_EQ(p.y, in_c[i].y) << locale << " " << texts[i];
    }
  }
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_GE(tried, 1);
}

TEST_F(GeometryTest, NullOutputsAreSkipped) {
  int32_t width = 0;
  EXPECT_EQ(ReadGeometry("3x4+5+6", nullptr, nullptr, &width, nullptr), 15);
  EXPECT_EQ(width, 3);
}

std::string Translate(const char* page) {
  char* result = TranslatePageGeometry(page);
  if (result == nullptr) return "(null)";
  std::string text(result);
  ReleaseMemory(&result);
  return text;
}

TEST_F(GeometryTest, TranslatesPageNames) {
  EXPECT_EQ(Translate("letter"), "612x792>");
  EXPECT_EQ(Translate("Letter"), "612x792>");
  EXPECT_EQ(Translate("a4"), "595x842>");
  EXPECT_EQ(Translate("tabloid"), "792x1224>");
  EXPECT_EQ(Translate("A4+10+10"), "595x842>+10+10");
  // The rest comes from the text itself, not from the upper-cased copy.
  EXPECT_EQ(Translate("legal+a"), "612x1008>+a");
  EXPECT_EQ(Translate("7x9"), "504x648>");
  EXPECT_EQ(Translate("isob5"), "499x709>");
}

TEST_F(GeometryTest, TheLongestMatchingNameWins) {
  EXPECT_EQ(Translate("A10"), "73x105>");
  EXPECT_EQ(Translate("a4small"), "595x842>");
  EXPECT_EQ(Translate("LETTERSMALL"), "612x792>");
  EXPECT_EQ(Translate("ISOB10"), "88x125>");
  EXPECT_EQ(Translate("B10"), "91x127>");
  EXPECT_EQ(Translate("A1"), "1684x2384>");
  EXPECT_EQ(Translate("A100"), "73x105>0");
}

TEST_F(GeometryTest, UnknownNamesComeBackUpperCasedUnlessTheyStartWithADigit) {
  EXPECT_EQ(Translate("foo"), "FOO");
  EXPECT_EQ(Translate("612x792"), "612x792");
  EXPECT_EQ(Translate("5abc"), "5abc");
  EXPECT_EQ(Translate(""), "");
  EXPECT_EQ(Translate(nullptr), "");
}

TEST_F(GeometryTest, TheResultHasRoomForTheTextPlusAFixedBuffer) {
  std::string page = "A4" + std::string(100, '+');
  char* result = TranslatePageGeometry(page.c_str());
  ASSERT_NE(result, nullptr);
  // The whole block is writable: ASan would catch a shorter one.
  std::memset(result, 'z', page.size() + PIXBASE_TEXT_EXTENT);
  ReleaseMemory(&result);
}

TEST_F(GeometryTest, TranslationRaisesWhenOutOfMemory) {
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(TranslatePageGeometry("letter"), nullptr);
  EXPECT_TRUE(RaisedOutOfMemory("Unable to translate page geometry"));
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(TranslatePageGeometry(nullptr), nullptr);
  EXPECT_TRUE(RaisedOutOfMemory("Unable to translate page geometry"));
}

}  // namespace
