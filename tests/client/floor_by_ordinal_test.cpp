// The shipped library as a client sees it: loaded at run time and called by
// ordinal only.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "library.h"
#include "pixbase/pixbase.h"
#include "temp_files.h"

namespace {

using lumaview::testing::Pixbase;

TEST(ClientFloorTest, TheLibraryLoads) { ASSERT_TRUE(Pixbase().loaded()); }

TEST(ClientFloorTest, EveryBoundSlotAnswersAndNoOtherDoes) {
  int bound = 0;
  for (int ordinal = 1; ordinal <= 200; ++ordinal) {
    bool in_table = !lumaview::testing::ExportName(ordinal).empty();
    EXPECT_EQ(Pixbase().Export(ordinal) != nullptr, in_table) << "ordinal " << ordinal;
    bound += in_table;
  }
  EXPECT_GT(bound, 0);
  for (int reserved : {30, 33, 34, 47, 58, 59, 76, 149})
    EXPECT_EQ(Pixbase().Export(reserved), nullptr) << "ordinal " << reserved;
}

TEST(ClientFloorTest, AllocatesThroughHolders) {
  auto allocate = Pixbase().Call<void* (*)(uint32_t)>(1);
  auto release = Pixbase().Call<void (*)(void*)>(57);
  auto resize = Pixbase().Call<void* (*)(void*, uint32_t)>(94);
  ASSERT_NE(allocate, nullptr);
  auto* block = static_cast<unsigned char*>(allocate(16));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(block[i], 0);
  block[0] = 9;
  ASSERT_NE(resize(&block, 4096), nullptr);
  EXPECT_EQ(block[0], 9);
  EXPECT_EQ(block[4095], 0);
  release(&block);
  EXPECT_EQ(block, nullptr);
}

TEST(ClientFloorTest, ConstantTexts) {
  struct Expected {
    int ordinal;
    const char* text;
  } expected[] = {{6, "ab"},
                  {8, "#dfdfdf"},
                  {10, "#dfdfdf"},
                  {16, "12"},
                  {17, "15x15+3+3"},
                  {18, "106x106+4+3>"},
                  {19, "%f\n%wx%h\n%b"},
                  {36, "#000000"},
                  {61, "  Loading image...  "},
                  {62, "  Loading images...  "},
                  {78, "#bdbdbd"},
                  {90, "72x72"},
                  {91, "612x792>"},
                  {95, "rb"},
                  {96, "rbu"},
                  {102, "  Saving image...  "},
                  {103, "  Saving images...  "},
                  {131, "wb"}};
  for (const Expected& e : expected) {
    const char** variable = Pixbase().Data<const char*>(e.ordinal);
    ASSERT_NE(variable, nullptr) << "ordinal " << e.ordinal;
    EXPECT_STREQ(*variable, e.text) << "ordinal " << e.ordinal;
  }
  EXPECT_EQ(*Pixbase().Data<const char*>(8), *Pixbase().Data<const char*>(10));
}

TEST(ClientFloorTest, SharedSlotsAreOneOperation) {
  EXPECT_EQ(Pixbase().Export(24), Pixbase().Export(147));
  Pixbase().Call<void (*)()>(24)();
}

std::string g_reason;
void PIXBASE_CALL Recorder(ExceptionSeverity, const char* reason, const char*) {
  g_reason = reason ? reason : "";
}

TEST(ClientFloorTest, HandlersAndClientNameByOrdinal) {
  auto install_error = Pixbase().Call<ExceptionHandler (*)(ExceptionHandler)>(108);
  auto raise_error = Pixbase().Call<void (*)(ExceptionSeverity, const char*, const char*)>(75);
  auto client_name = Pixbase().Call<const char* (*)(const char*)>(106);
  ExceptionHandler console = install_error(Recorder);
  raise_error(400, "Unable to allocate image", "Memory allocation failed");
  EXPECT_EQ(g_reason, "Unable to allocate image");
  EXPECT_EQ(install_error(console), Recorder);
  EXPECT_STREQ(client_name(nullptr), "Tessel");
}

TEST(ClientFloorTest, StreamsOfTheLibrarysRuntime) {
  std::string path = lumaview::testing::TempPath("pixbase_client_stream.txt");
  auto open = Pixbase().Call<FILE* (*)(const char*, const char*)>(153);
  auto print = Pixbase().Call<int (*)(FILE*, const char*, ...)>(171);
  auto scan = Pixbase().Call<int (*)(FILE*, const char*, ...)>(170);
  auto close = Pixbase().Call<int (*)(FILE*)>(160);
  FILE* out = open(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(print(out, "%d %s", 31, "frames"), 9);
  close(out);
  FILE* in = open(path.c_str(), "rb");
  int count = 0;
  char word[16] = {};
  EXPECT_EQ(scan(in, "%d %15s", &count, word), 2);
  EXPECT_EQ(count, 31);
  EXPECT_STREQ(word, "frames");
  EXPECT_EQ(print(in, "x"), 0);
  close(in);
  std::remove(path.c_str());
}

}  // namespace
