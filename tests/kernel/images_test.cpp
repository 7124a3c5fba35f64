// Image records: initial values, chaining, destruction of single images and
// lists with their shared stream, and the reports of a list.
#include "image/images.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "pixbase/pixbase.h"
#include "raise_recorder.h"
#include "services/test_hooks.h"
#include "temp_files.h"

namespace {

using lumaview::testing::RecordedRaises;

class ImagesTest : public ::testing::Test {
 protected:
  void TearDown() override { pixbase::testing::StopFailingAllocations(); }
};

// A stream table that counts the closes of the one stream it serves.
int g_closes = 0;
int g_token = 0;
int32_t PIXBASE_CALL CountingOpen(ImageRecord* image, const char*) {
  image->file = &g_token;
  return 0;
}
int32_t PIXBASE_CALL CountingClose(ImageRecord*) {
  ++g_closes;
  return 7;
}
StreamCallbacks g_counting = {CountingOpen, nullptr, nullptr, nullptr,
                              nullptr,      nullptr, nullptr, CountingClose};

TEST_F(ImagesTest, ANewImageHoldsTheInitialValues) {
  ImageRecord* image = AllocateImage();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->size, sizeof(ImageRecord));
  EXPECT_EQ(image->qualityLevel, 75u);
  EXPECT_EQ(image->colorSpace, ColorspaceRGB);
  EXPECT_EQ(image->reserved5, 1u);
  EXPECT_EQ(image->listIndex, 0);
  EXPECT_STREQ(image->filename, "");
  EXPECT_EQ(image->file, nullptr);
  EXPECT_EQ(image->streamTable, nullptr);
  EXPECT_EQ(image->pixels, nullptr);
  EXPECT_EQ(image->attributes, nullptr);
  EXPECT_EQ(image->previous, nullptr);
  EXPECT_EQ(image->next, nullptr);
  EXPECT_EQ(image->report.severity, 0);
  EXPECT_EQ(image->report.reason, nullptr);
  EXPECT_EQ(image->report.signature, 0xCAFEu);
  for (uint32_t word : image->quad) EXPECT_EQ(word, 0u);
  DestroyImage(image);
}

TEST_F(ImagesTest, TheNextImageTakesPathStreamAndIndexButNoStreamTable) {
  ImageRecord* first = AllocateImage();
  std::strcpy(first->filename, "c:\\pictures\\frames.gif");
  first->listIndex = 4;
  first->streamTable = &g_counting;
  first->file = &g_token;
  first->width = 10;
  AllocateNextImage(first);
  ImageRecord* next = first->next;
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->listIndex, 5);
  EXPECT_STREQ(next->filename, "c:\\pictures\\frames.gif");
  EXPECT_EQ(next->file, &g_token);
  EXPECT_EQ(next->previous, first);
  EXPECT_EQ(next->streamTable, nullptr);
  EXPECT_EQ(next->width, 0);
  EXPECT_EQ(next->qualityLevel, 75u);
  g_closes = 0;
  DestroyImageList(next);
  EXPECT_EQ(g_closes, 1);
}

TEST_F(ImagesTest, NoMemoryForAnImageIsRaisedAndYieldsNone) {
  RecordedRaises raises;
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(AllocateImage(), nullptr);
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_TRUE(raises.all()[0].error);
  EXPECT_EQ(raises.all()[0].severity, 400);
  EXPECT_EQ(raises.all()[0].reason, "Unable to allocate image");
  EXPECT_EQ(raises.all()[0].description, "Memory allocation failed");

  ImageRecord* first = AllocateImage();
  first->next = first;  // whatever it held before
  first->listIndex = 3;
  pixbase::testing::FailAllocationsAfter(0, 1);
  AllocateNextImage(first);
  EXPECT_EQ(first->next, nullptr);
  EXPECT_EQ(first->listIndex, 3);
  EXPECT_EQ(raises.all().size(), 2u);
  DestroyImage(first);
}

TEST_F(ImagesTest, DestroyingTheMiddleImageRelinksItsNeighbours) {
  ImageRecord* first = AllocateImage();
  AllocateNextImage(first);
  ImageRecord* middle = first->next;
  AllocateNextImage(middle);
  ImageRecord* last = middle->next;
  SetImageAttribute(middle, "Comment", "gone with the image");
  middle->report.severity = 320;
  middle->report.reason = DuplicateString("texts of the report");
  DestroyImage(middle);
  EXPECT_EQ(first->next, last);
  EXPECT_EQ(last->previous, first);
  DestroyImageList(first);
}

TEST_F(ImagesTest, DestroyImageKeepsPixelsAndExtraBlockTheListReleasesOnlyExtra) {
  PackedPixel pixels[4] = {};
  void* extra = AllocateMemory(64);
  ImageRecord* image = AllocateImage();
  image->pixels = pixels;
  image->extraBlock = extra;
  DestroyImage(image);
  // Still ours: the sanitizers would report a double release or a leak.
  ReleaseMemory(&extra);

  ImageRecord* first = AllocateImage();
  first->pixels = pixels;
  first->extraBlock = AllocateMemory(64);
  AllocateNextImage(first);
  first->next->extraBlock = AllocateMemory(32);
  DestroyImageList(first->next);  // any member names the list
  pixels[0] = 1;                  // never released
  EXPECT_EQ(pixels[0], 1u);
  DestroyImageList(nullptr);
}

TEST_F(ImagesTest, TheSharedStreamOfAListIsClosedOnceFromAnyMember) {
  std::string path = lumaview::testing::WriteTempFile("pixbase_images_list.bin", "frames");
  ImageRecord* first = AllocateImage();
  std::strcpy(first->filename, path.c_str());
  AllocateNextImage(first);
  AllocateNextImage(first->next);
  ASSERT_EQ(OpenImageFile(first->next->next, ReadModeText), 1);
  // A runtime stream closed twice would be a double release under the sanitizers.
  DestroyImageList(first->next->next);

  first = AllocateImage();
  first->streamTable = &g_counting;
  AllocateNextImage(first);
  AllocateNextImage(first->next);
  ASSERT_EQ(OpenImageFile(first, "rb"), 1);
  g_closes = 0;
  DestroyImageList(first->next);
  EXPECT_EQ(g_closes, 1);
  std::remove(path.c_str());
}

TEST_F(ImagesTest, PixelAndQuadInitialisers) {
  PackedPixel pixel = 0x12345678u;
  EXPECT_EQ(InitializePixel(&pixel), &pixel);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&pixel);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 255);
  uint32_t quad[5] = {1, 2, 3, 4, 5};
  EXPECT_EQ(ClearQuad(quad), quad);
  EXPECT_EQ(quad[0] | quad[1] | quad[2] | quad[3], 0u);
  EXPECT_EQ(quad[4], 5u);
}

// Three images carrying 320, 420 and 420.
struct ReportedList {
  ReportedList() {
    first = AllocateImage();
    AllocateNextImage(first);
    AllocateNextImage(first->next);
    Set(first, 320, "low", "a");
    Set(first->next, 420, "first worst", "b");
    Set(first->next->next, 420, "second worst", "c");
  }
  ~ReportedList() { DestroyImageList(first); }
  static void Set(ImageRecord* image, ExceptionSeverity severity, const char* reason,
                  const char* description) {
    image->report.severity = severity;
    image->report.reason = DuplicateString(reason);
    image->report.description = DuplicateString(description);
  }
  ImageRecord* first;
};

TEST_F(ImagesTest, CollectKeepsTheFirstOfTheHighestSeverity) {
  ReportedList list;
  ExceptionReport report;
  InitExceptionReport(&report);
  CollectImageExceptions(list.first, &report);
  EXPECT_EQ(report.severity, 420);
  EXPECT_STREQ(report.reason, "first worst");
  EXPECT_STREQ(report.description, "b");
  // The image reports are not changed, and the texts are copies.
  EXPECT_NE(report.reason, list.first->next->report.reason);
  EXPECT_EQ(list.first->report.severity, 320);
  // Starting later in the list sees only the images from there on.
  DisposeExceptionReport(&report);
  InitExceptionReport(&report);
  CollectImageExceptions(list.first->next->next, &report);
  EXPECT_STREQ(report.reason, "second worst");
  DisposeExceptionReport(&report);
  CollectImageExceptions(nullptr, &report);
  EXPECT_EQ(report.reason, nullptr);
}

TEST_F(ImagesTest, ReportRaisesTheWorstAsErrorAndThenAsWarning) {
  RecordedRaises raises;
  {
    ReportedList list;
    ReportImageExceptions(list.first);
  }
  ASSERT_EQ(raises.all().size(), 2u);
  EXPECT_TRUE(raises.all()[0].error);
  EXPECT_FALSE(raises.all()[1].error);
  for (const auto& raise : raises.all()) {
    EXPECT_EQ(raise.severity, 420);
    EXPECT_EQ(raise.reason, "first worst");
    EXPECT_EQ(raise.description, "b");
  }
  raises.clear();
  ImageRecord* quiet = AllocateImage();
  ReportImageExceptions(quiet);
  ReportImageExceptions(nullptr);
  EXPECT_TRUE(raises.all().empty());
  ReportedList::Set(quiet, 320, "only a warning", "w");
  ReportImageExceptions(quiet);
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_FALSE(raises.all()[0].error);
  DestroyImage(quiet);
}

TEST_F(ImagesTest, CopiesThatCannotBeMadeAreReportedAndLeftEmpty) {
  RecordedRaises raises;
  ReportedList list;
  ExceptionReport report;
  InitExceptionReport(&report);
  pixbase::testing::FailAllocationsAfter(0, -1);
  CollectImageExceptions(list.first, &report);
  pixbase::testing::StopFailingAllocations();
  EXPECT_EQ(report.severity, 420);
  EXPECT_EQ(report.reason, nullptr);  // nothing written into a missing block
  EXPECT_EQ(report.description, nullptr);
  ASSERT_FALSE(raises.all().empty());
  for (const auto& raise : raises.all()) {
    EXPECT_EQ(raise.severity, 400);
    EXPECT_EQ(raise.reason, "Unable to allocate string");
    EXPECT_EQ(raise.description, "Memory allocation failed");
  }
  DisposeExceptionReport(&report);
  // Raising the list's report: the failed copy is raised, and the report is
  // not raised again without its reason (copies: the reason and description
  // of "low", then of "first worst").
  for (int succeed = 0; succeed < 4; ++succeed) {
    raises.clear();
    pixbase::testing::FailAllocationsAfter(succeed, 1);
    ReportImageExceptions(list.first);
    pixbase::testing::StopFailingAllocations();
    ASSERT_FALSE(raises.all().empty()) << succeed;
    EXPECT_EQ(raises.all()[0].reason, "Unable to allocate string") << succeed;
    for (const auto& raise : raises.all()) EXPECT_NE(raise.reason, "(null)") << succeed;
  }
}

TEST_F(ImagesTest, RecordingAFailureReplacesOnlyAtTheSameOrHigherSeverity) {
  ImageRecord* image = AllocateImage();
  pixbase::RecordImageException(image, 320, "Unable to transform colorspace",
                                "Memory allocation failed");
  EXPECT_EQ(image->report.severity, 320);
  EXPECT_STREQ(image->report.reason, "Unable to transform colorspace");
  pixbase::RecordImageException(image, 315, "lower", "ignored");
  EXPECT_STREQ(image->report.reason, "Unable to transform colorspace");
  pixbase::RecordImageException(image, 320, "equal", nullptr);
  EXPECT_STREQ(image->report.reason, "equal");
  EXPECT_EQ(image->report.description, nullptr);
  DestroyImage(image);
}

}  // namespace
