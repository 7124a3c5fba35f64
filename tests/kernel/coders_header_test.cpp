// The coder convention's accessors: what SetCoderProcedures and SetCoderTexts
// store in a format entry is what CoderOf reads back, in the registry too,
// and the texts go with the entry.
#include <gtest/gtest.h>

#include "pixbase/pixbase.h"
#include "raise_recorder.h"
#include "services/test_hooks.h"

namespace {

int32_t PIXBASE_CALL ReadNothing(ImageRecord* image) { return image != nullptr ? 1 : 0; }
int32_t PIXBASE_CALL WriteNothing(ImageRecord* image) { return image != nullptr ? 2 : 0; }

class CodersHeaderTest : public ::testing::Test {
 protected:
  void SetUp() override { DestroyFormatRegistry(); }
  void TearDown() override {
    pixbase::testing::StopFailingAllocations();
    DestroyFormatRegistry();
  }
};

TEST_F(CodersHeaderTest, ProceduresFlagsAndTextsRoundTripThroughTheRegistry) {
  FormatEntry* entry = AllocateFormatEntry("XPM1");
  ASSERT_NE(entry, nullptr);
  CoderInfo empty = CoderOf(entry);
  EXPECT_EQ(empty.read, nullptr);
  EXPECT_EQ(empty.write, nullptr);
  EXPECT_EQ(empty.flags, 0u);
  EXPECT_EQ(empty.description, nullptr);

  SetCoderProcedures(entry, ReadNothing, WriteNothing,
                     CoderCanRead | CoderCanWrite | CoderMultiFrame);
  ASSERT_EQ(SetCoderTexts(entry, "Example map", "image/x-example"), 1);
  RegisterFormatEntry(entry);

  CoderInfo info = CoderOf(FindFormatEntry("xpm1"));
  ASSERT_EQ(info.read, ReadNothing);
  ASSERT_EQ(info.write, WriteNothing);
  ImageRecord* image = AllocateImage();
  EXPECT_EQ(info.read(image), 1);
  EXPECT_EQ(info.write(image), 2);
  DestroyImage(image);
  EXPECT_EQ(info.flags, 7u);
  EXPECT_STREQ(info.description, "Example map");
  EXPECT_STREQ(info.mimeType, "image/x-example");
  // The texts are the entry's own copies, released with it (the sanitizer
  // build would report a leak otherwise).
  EXPECT_EQ(info.description, entry->ownedText1);
  EXPECT_EQ(UnregisterFormatEntry("XPM1"), 1);
}

TEST_F(CodersHeaderTest, ANullEntryHasNoCoderAndTextsMayBeReplacedOrOmitted) {
  CoderInfo none = CoderOf(nullptr);
  EXPECT_EQ(none.read, nullptr);
  EXPECT_EQ(none.flags, 0u);

  FormatEntry* entry = AllocateFormatEntry("XPM2");
  ASSERT_EQ(SetCoderTexts(entry, "first", "image/first"), 1);
  ASSERT_EQ(SetCoderTexts(entry, "second", nullptr), 1);
  EXPECT_STREQ(CoderOf(entry).description, "second");
  EXPECT_EQ(CoderOf(entry).mimeType, nullptr);
  SetCoderProcedures(entry, ReadNothing, nullptr, CoderCanRead);
  EXPECT_EQ(CoderOf(entry).write, nullptr);
  EXPECT_EQ(CoderOf(entry).flags, static_cast<uint32_t>(CoderCanRead));

  {
    lumaview::testing::RecordedRaises raises;  // the failed copy is raised, not fatal
    pixbase::testing::FailAllocationsAfter(0);
    EXPECT_EQ(SetCoderTexts(entry, "third", nullptr), 0);
    pixbase::testing::StopFailingAllocations();
  }
  RegisterFormatEntry(entry);
}

}  // namespace
