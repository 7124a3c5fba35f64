// Image attributes and the tokenizer: special and ordinary keys, deletion,
// the key=value parser, and NextToken's states, quotes, escapes and cuts.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "pixbase/pixbase.h"
#include "raise_recorder.h"
#include "services/test_hooks.h"

namespace {

using lumaview::testing::RecordedRaises;

class AttributesTest : public ::testing::Test {
 protected:
  void SetUp() override { image_ = AllocateImage(); }
  void TearDown() override {
    pixbase::testing::StopFailingAllocations();
    DestroyImage(image_);
  }
  // "key=value" of every node from the first on, checking the back links.
  std::vector<std::string> List() {
    std::vector<std::string> nodes;
    ImageAttribute* previous = nullptr;
    for (ImageAttribute* node = GetImageAttribute(image_, nullptr); node != nullptr;
         node = node->next) {
      EXPECT_EQ(node->previous, previous);
      EXPECT_EQ(node->reserved, 0);
      nodes.push_back(std::string(node->key) + "=" + node->value);
      previous = node;
    }
    return nodes;
  }
  ImageRecord* image_;
};

using Nodes = std::vector<std::string>;

TEST_F(AttributesTest, ASpecialKeyKeepsOneValueAtTheEnd) {
  EXPECT_EQ(SetImageAttribute(image_, "Comment", "first"), 1);
  EXPECT_EQ(SetImageAttribute(image_, "Author", "ann"), 1);
  EXPECT_EQ(SetImageAttribute(image_, "comment", "second"), 1);
  EXPECT_EQ(List(), (Nodes{"Author=ann", "comment=second"}));
  EXPECT_EQ(SetImageAttribute(image_, "Label", "a"), 1);
  EXPECT_EQ(SetImageAttribute(image_, "LABEL", "b"), 1);
  EXPECT_EQ(SetImageAttribute(image_, "Signature", "s1"), 1);
  EXPECT_EQ(SetImageAttribute(image_, "signature", "s2"), 1);
  EXPECT_EQ(List(), (Nodes{"Author=ann", "comment=second", "LABEL=b", "signature=s2"}));
}

TEST_F(AttributesTest, AnOrdinaryKeyGetsASecondNodeRightAfterTheFirst) {
  SetImageAttribute(image_, "Author", "ann");
  SetImageAttribute(image_, "Title", "sea");
  SetImageAttribute(image_, "Place", "bay");
  EXPECT_EQ(SetImageAttribute(image_, "Author", "bob"), 1);
  EXPECT_EQ(List(), (Nodes{"Author=ann", "Author=bob", "Title=sea", "Place=bay"}));
  ImageAttribute* found = GetImageAttribute(image_, "author");
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found->value, "ann");
  EXPECT_EQ(SetImageAttribute(image_, "AUTHOR", nullptr), 1);
  EXPECT_STREQ(GetImageAttribute(image_, "author")->value, "bob");
  EXPECT_EQ(SetImageAttribute(image_, "author", nullptr), 1);
  EXPECT_EQ(SetImageAttribute(image_, "author", nullptr), 0);
  EXPECT_EQ(List(), (Nodes{"Title=sea", "Place=bay"}));
  EXPECT_EQ(GetImageAttribute(image_, "Author"), nullptr);
  // Deleting the last and then the only node leaves the list consistent.
  EXPECT_EQ(SetImageAttribute(image_, "Place", nullptr), 1);
  EXPECT_EQ(SetImageAttribute(image_, "Title", nullptr), 1);
  EXPECT_EQ(image_->attributes, nullptr);
}

TEST_F(AttributesTest, EmptyValuesAndKeysChangeNothing) {
  SetImageAttribute(image_, "Comment", "kept");
  EXPECT_EQ(SetImageAttribute(image_, "Comment", ""), 0);
  EXPECT_EQ(SetImageAttribute(image_, "", "x"), 0);
  EXPECT_EQ(SetImageAttribute(image_, nullptr, "x"), 0);
  EXPECT_EQ(List(), (Nodes{"Comment=kept"}));
  ImageRecord* bare = AllocateImage();
  EXPECT_EQ(GetImageAttribute(bare, nullptr), nullptr);
  EXPECT_EQ(GetImageAttribute(bare, "Comment"), nullptr);
  DestroyImageAttributes(bare);
  EXPECT_EQ(bare->attributes, nullptr);
  DestroyImage(bare);
}

TEST_F(AttributesTest, AFailedAllocationKeepsTheEarlierSpecialValue) {
  RecordedRaises raises;
  SetImageAttribute(image_, "Comment", "kept");
  for (int succeed = 0; succeed < 3; ++succeed) {
    // The node, the key copy and the value copy fail in turn.
    pixbase::testing::FailAllocationsAfter(succeed, 1);
    EXPECT_EQ(SetImageAttribute(image_, "Comment", "lost"), 0) << succeed;
    pixbase::testing::StopFailingAllocations();
    EXPECT_EQ(List(), (Nodes{"Comment=kept"})) << succeed;
  }
  // The copies report their own failure; the node's failure is silent.
  ASSERT_EQ(raises.all().size(), 2u);
  for (const auto& raise : raises.all()) {
    EXPECT_EQ(raise.severity, 400);
    EXPECT_EQ(raise.reason, "Unable to allocate string");
    EXPECT_EQ(raise.description, "Memory allocation failed");
  }
}

// The caller may pass the texts of the very node the call replaces: the old
// node goes, and the new one lives on its own copies.
TEST_F(AttributesTest, TheTextsOfTheReplacedNodeMayBePassedIn) {
  for (const char* special : {"Comment", "Label", "Signature"}) {
    DestroyImageAttributes(image_);
    SetImageAttribute(image_, special, "old");
    SetImageAttribute(image_, "Author", "ann");
    ImageAttribute* node = GetImageAttribute(image_, special);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(SetImageAttribute(image_, node->key, "new"), 1) << special;
    EXPECT_EQ(List(), (Nodes{"Author=ann", std::string(special) + "=new"})) << special;
    node = GetImageAttribute(image_, special);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(SetImageAttribute(image_, special, node->value), 1) << special;
    EXPECT_EQ(List(), (Nodes{"Author=ann", std::string(special) + "=new"})) << special;
  }
}

TEST_F(AttributesTest, ParsingKeyEqualsValue) {
  ParseImageAttribute(image_, "Label=Sunset");
  EXPECT_EQ(List(), (Nodes{"Label=Sunset"}));
  ParseImageAttribute(image_, "Label");
  ParseImageAttribute(image_, "Label=");
  ParseImageAttribute(image_, "=x");
  ParseImageAttribute(image_, "");
  EXPECT_EQ(List(), (Nodes{"Label=Sunset"}));
  ParseImageAttribute(image_, "Label=a=b");
  EXPECT_EQ(List(), (Nodes{"Label=a"}));
  ParseImageAttribute(image_, "Comment='x=y'");
  ParseImageAttribute(image_, "a = b");
  EXPECT_EQ(List(), (Nodes{"Label=a", "Comment=x=y", "a = b"}));
  EXPECT_STREQ(GetImageAttribute(image_, "a ")->value, " b");
}

// The parser has no result: a node that cannot be had is its failure to
// report (the buffer, the key copy, the value copy, then the node).
TEST_F(AttributesTest, ParsingWithoutANodeIsRaised) {
  RecordedRaises raises;
  SetImageAttribute(image_, "Label", "kept");
  pixbase::testing::FailAllocationsAfter(3, 1);
  ParseImageAttribute(image_, "Label=Sunset");
  pixbase::testing::StopFailingAllocations();
  EXPECT_EQ(List(), (Nodes{"Label=kept"}));
  EXPECT_TRUE(raises.OutOfMemory("Unable to parse attribute"));
}

TEST_F(AttributesTest, NoTokenBufferIsRaisedAndSetsNothing) {
  RecordedRaises raises;
  pixbase::testing::FailAllocationsAfter(0, 1);
  ParseImageAttribute(image_, "Label=Sunset");
  pixbase::testing::StopFailingAllocations();
  EXPECT_EQ(image_->attributes, nullptr);
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_TRUE(raises.all()[0].error);
  EXPECT_EQ(raises.all()[0].severity, 400);
  EXPECT_EQ(raises.all()[0].reason, "Unable to parse attribute");
  EXPECT_EQ(raises.all()[0].description, "Memory allocation failed");
  // The key or value copy failing: reported by the copy, nothing set.
  for (int succeed = 1; succeed <= 2; ++succeed) {
    raises.clear();
    pixbase::testing::FailAllocationsAfter(succeed, 1);
    ParseImageAttribute(image_, "Label=Sunset");
    pixbase::testing::StopFailingAllocations();
    EXPECT_EQ(image_->attributes, nullptr);
    ASSERT_EQ(raises.all().size(), 1u);
    EXPECT_EQ(raises.all()[0].reason, "Unable to allocate string");
  }
}

// One call of NextToken with the parser's sets unless given.
struct Tokenizer {
  explicit Tokenizer(std::string text, int32_t size = 64) : line(std::move(text)), buffer(size) {}
  int32_t Next(int32_t flags = 0, const char* blanks = "", const char* breaks = "=",
               const char* quotes = "'", char escape = 0) {
    return NextToken(&state, flags, buffer.data(), int32_t(buffer.size()), line.c_str(), blanks,
                     breaks, quotes, escape, &break_character, &position, &quoted);
  }
  std::string token() const { return buffer.data(); }
  std::string line;
  std::vector<char> buffer;
  TokenState state = {};
  char break_character = 'x';
  int32_t position = 0;
  char quoted = 'x';
};

TEST(NextTokenTest, AWordThenTheEnd) {
  Tokenizer t("abc");
  EXPECT_EQ(t.Next(), 0);
  EXPECT_EQ(t.token(), "abc");
  EXPECT_EQ(t.position, 3);
  EXPECT_EQ(t.break_character, 0);
  TokenState before = t.state;
  EXPECT_EQ(t.Next(), 1);
  EXPECT_EQ(t.state.length, before.length);  // untouched at the end
  EXPECT_EQ(t.state.state, before.state);
}

TEST(NextTokenTest, BreaksEndTokensAndArePassed) {
  Tokenizer t("ab=cd");
  EXPECT_EQ(t.Next(), 0);
  EXPECT_EQ(t.token(), "ab");
  EXPECT_EQ(t.break_character, '=');
  EXPECT_EQ(t.position, 3);
  EXPECT_EQ(t.Next(), 0);
  EXPECT_EQ(t.token(), "cd");
  EXPECT_EQ(t.Next(), 1);
}

TEST(NextTokenTest, AQuotedStretchKeepsBlanksAndBreaks) {
  Tokenizer t("'a b'");
  EXPECT_EQ(t.Next(0, ""), 0);
  EXPECT_EQ(t.token(), "a b");
  EXPECT_EQ(t.quoted, 1);
  Tokenizer u("'x=y\"z'");
  EXPECT_EQ(u.Next(0, "", "=", "'\""), 0);
  EXPECT_EQ(u.token(), "x=y\"z");
}

TEST(NextTokenTest, CaseFoldingOutsideQuotesOnly) {
  Tokenizer t("abc");
  t.Next(TokenUpperCase);
  EXPECT_EQ(t.token(), "ABC");
  Tokenizer u("'abc'");
  u.Next(TokenUpperCase);
  EXPECT_EQ(u.token(), "abc");
  Tokenizer v("AbC");
  v.Next(TokenLowerCase);
  EXPECT_EQ(v.token(), "abc");
  Tokenizer w("AbC");
  w.Next(3);  // both bits: no folding
  EXPECT_EQ(w.token(), "AbC");
}

// Folding turns A to Z and a to z only, whatever locale the client chose:
// bytes above 127 belong to no class in the library's texts.
TEST(NextTokenTest, FoldingLeavesOtherBytesAloneInAnyLocale) {
  std::string saved = std::setlocale(LC_ALL, nullptr);
  int tried = 0;
  for (const char* locale : {".1252", "en_US.ISO-8859-1", "fr_FR.ISO-8859-1", "C"}) {
    if (std::setlocale(LC_ALL, locale) == nullptr) continue;
    ++tried;
    Tokenizer t("caf\xE9");
    t.Next(TokenUpperCase);
    EXPECT_EQ(t.token(), "CAF\xE9") << locale;
    Tokenizer u("CAF\xC9");
    u.Next(TokenLowerCase);
    EXPECT_EQ(u.token(), "caf\xC9") << locale;
  }
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_GE(tried, 1);
}

TEST(NextTokenTest, BlanksCloseATokenAndAQuoteStartsTheNext) {
  Tokenizer t("  ab  cd'q r'");
  EXPECT_EQ(t.Next(0, " ", ""), 0);
  EXPECT_EQ(t.token(), "ab");
  EXPECT_EQ(t.Next(0, " ", ""), 0);
  EXPECT_EQ(t.token(), "cd");
  EXPECT_EQ(t.break_character, '\'');
  EXPECT_EQ(t.line[size_t(t.position)], '\'');  // not moved past the quote
  EXPECT_EQ(t.Next(0, " ", ""), 0);
  EXPECT_EQ(t.token(), "q r");
  EXPECT_EQ(t.quoted, 1);
  EXPECT_EQ(t.Next(0, " ", ""), 1);
}

TEST(NextTokenTest, TheEscapeTakesTheNextCharacterAsItIs) {
  Tokenizer t("a\\=b\\");
  EXPECT_EQ(t.Next(TokenUpperCase, "", "=", "'", '\\'), 0);
  EXPECT_EQ(t.token(), "A=B\\");  // the escaped '=' is kept; a final escape is itself
  EXPECT_EQ(t.Next(TokenUpperCase, "", "=", "'", '\\'), 1);
  Tokenizer u("\\xy z");
  EXPECT_EQ(u.Next(TokenUpperCase, " ", "", "", '\\'), 0);
  EXPECT_EQ(u.token(), "xY");  // escaped unchanged, the rest folded
  Tokenizer v("ab \\c");
  EXPECT_EQ(v.Next(0, " ", "", "", '\\'), 0);
  EXPECT_EQ(v.token(), "ab");
  EXPECT_EQ(v.Next(0, " ", "", "", '\\'), 0);
  EXPECT_EQ(v.token(), "c");
}

TEST(NextTokenTest, ALongTokenIsCutToTheBuffer) {
  Tokenizer t(std::string(3000, 'k'), PIXBASE_TEXT_EXTENT);
  EXPECT_EQ(t.Next(), 0);
  EXPECT_EQ(t.token().size(), 2147u);
  EXPECT_EQ(t.position, 3000);
  Tokenizer tiny("abcdef", 1);
  EXPECT_EQ(tiny.Next(), 0);
  EXPECT_EQ(tiny.token(), "");
}

TEST(NextTokenTest, MissingOutputsAreLeftAlone) {
  TokenState state = {};
  char token[8];
  int32_t position = 0;
  EXPECT_EQ(NextToken(&state, 0, token, 8, "a'b=c", "", "=", "'", 0, nullptr, &position, nullptr),
            0);
  EXPECT_STREQ(token, "a");
  EXPECT_EQ(NextToken(&state, 0, token, 8, nullptr, "", "=", "'", 0, nullptr, &position, nullptr),
            1);
  EXPECT_EQ(NextToken(&state, 0, token, 8, "abc", nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                      nullptr),
            1);
  position = 0;
  EXPECT_EQ(NextToken(&state, 0, nullptr, 8, "abc", nullptr, nullptr, nullptr, 0, nullptr,
                      &position, nullptr),
            0);
  EXPECT_EQ(position, 3);
}

TEST(NextTokenTest, APositionOutsideTheLineHoldsNothing) {
  Tokenizer t("ab");
  t.position = 7;
  EXPECT_EQ(t.Next(), 1);
  t.position = -1;
  EXPECT_EQ(t.Next(), 1);
  t.position = 2;
  EXPECT_EQ(t.Next(), 1);
}

}  // namespace
