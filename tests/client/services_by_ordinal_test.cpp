// The kernel services as a client reaches them: the shipped library loaded at
// run time, every operation found by its ordinal.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "library.h"
#include "pixbase/pixbase.h"

namespace {

using lumaview::testing::Library;

const Library& Pixbase() {
  static Library library(lumaview::testing::BuiltLibraryPath());
  return library;
}

template <typename Function>
Function Ordinal(int ordinal) {
  auto function = Pixbase().Call<Function>(ordinal);
  EXPECT_NE(function, nullptr) << "ordinal " << ordinal;
  return function;
}

// The library's own release, for blocks it handed out.
void Release(void* holder) { Ordinal<void (*)(void*)>(57)(holder); }

std::vector<std::string> TakeList(char** list) {
  std::vector<std::string> texts;
  for (char** entry = list; entry != nullptr && *entry != nullptr; ++entry) {
    texts.emplace_back(*entry);
    Release(entry);
  }
  Release(&list);
  return texts;
}

TEST(ClientServicesTest, TextHoldersByOrdinal) {
  ASSERT_TRUE(Pixbase().loaded());
  auto duplicate = Ordinal<char* (*)(const char*)>(5);
  auto assign = Ordinal<int (*)(char**, const char*)>(12);
  auto append = Ordinal<int (*)(char**, const char*)>(14);
  auto print = Ordinal<int (*)(char*, const char*, ...)>(37);
  char* held = duplicate("abc");
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(append(&held, "de"), 1);
  EXPECT_STREQ(held, "abcde");
  EXPECT_EQ(assign(&held, "xyz"), 1);
  EXPECT_STREQ(held, "xyz");
  EXPECT_EQ(assign(&held, nullptr), 1);
  EXPECT_EQ(held, nullptr);
  char buffer[PIXBASE_TEXT_EXTENT];
  EXPECT_EQ(print(buffer, "%s=%d", "frames", 7), 8);
  EXPECT_STREQ(buffer, "frames=7");
}

TEST(ClientServicesTest, TextComparisonAndCaseByOrdinal) {
  auto compare = Ordinal<int (*)(const char*, const char*)>(63);
  auto compare_count = Ordinal<int (*)(const char*, const char*, int)>(66);
  auto lower = Ordinal<void (*)(char*)>(65);
  auto upper = Ordinal<void (*)(char*)>(67);
  auto count_lines = Ordinal<int (*)(const char*)>(80);
  auto trim = Ordinal<void (*)(char*)>(120);
  EXPECT_LT(compare("abc", "ABD"), 0);
  EXPECT_EQ(compare("Letter", "LETTER"), 0);
  EXPECT_EQ(compare_count("TIFFxx", "tiffyy", 4), 0);
  char text[] = "  MiXed  ";
  trim(text);
  EXPECT_STREQ(text, "MiXed");
  lower(text);
  EXPECT_STREQ(text, "mixed");
  upper(text);
  EXPECT_STREQ(text, "MIXED");
  EXPECT_EQ(count_lines("a\nb\n"), 3);
}

TEST(ClientServicesTest, FileNamesByOrdinal) {
  auto set_extension = Ordinal<void (*)(const char*, char*)>(7);
  auto base_name = Ordinal<char* (*)(const char*)>(9);
  char name[PIXBASE_TEXT_EXTENT] = "dir.x/photo";
  set_extension("PNG", name);
  EXPECT_STREQ(name, "dir.x/photo.PNG");
  char* base = base_name("c:\\img\\photo.tar.gz");
  EXPECT_STREQ(base, "photo.tar");
  Release(&base);
}

TEST(ClientServicesTest, TextConvertersByOrdinal) {
  auto widen = Ordinal<uint16_t* (*)(const char*, size_t*)>(15);
  auto split_command = Ordinal<char** (*)(const char*, int*)>(118);
  auto split_lines = Ordinal<char** (*)(const char*)>(119);
  size_t units = 0;
  uint16_t* wide = widen("A\\0x263aB", &units);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(units, 3u);
  EXPECT_EQ(wide[1], 0x263A);
  EXPECT_EQ(wide[3], 0);
  Release(&wide);
  int count = 0;
  EXPECT_EQ(TakeList(split_command("-size \"a b\" 'x y'", &count)),
            (std::vector<std::string>{"tessel", "-size", "a b", "'x y'"}));
  EXPECT_EQ(count, 4);
  EXPECT_EQ(TakeList(split_lines("one\r\ntwo\rthree")),
            (std::vector<std::string>{"one", "two", "three"}));
  std::vector<std::string> dump =
      TakeList(split_lines("\x01"
                           "AB"));
  ASSERT_EQ(dump.size(), 1u);
  EXPECT_EQ(dump[0].substr(0, 18), "0x00000000: 014142");
}

TEST(ClientServicesTest, SemaphoresByOrdinal) {
  auto create = Ordinal<SemaphoreRecord* (*)()>(4);
  auto destroy = Ordinal<void (*)(SemaphoreRecord*)>(28);
  auto lock = Ordinal<int (*)(SemaphoreRecord*)>(68);
  auto unlock = Ordinal<int (*)(SemaphoreRecord*)>(128);
  SemaphoreRecord* semaphore = create();
  ASSERT_NE(semaphore, nullptr);
  EXPECT_EQ(semaphore->signature, 0xCAFEu);
  EXPECT_EQ(unlock(semaphore), 0);
  EXPECT_EQ(lock(semaphore), 1);
  EXPECT_EQ(unlock(semaphore), 1);
  destroy(semaphore);
  destroy(nullptr);
}

TEST(ClientServicesTest, GeometryByOrdinal) {
  auto read = Ordinal<int32_t (*)(const char*, int32_t*, int32_t*, int32_t*, int32_t*)>(92);
  auto translate = Ordinal<char* (*)(const char*)>(93);
  int32_t x = 0, y = 0, width = 0, height = 0;
  EXPECT_EQ(read("640x480+10-20", &x, &y, &width, &height), 47);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, -20);
  for (auto [page, geometry] : {std::pair<const char*, const char*>{"A4+10+10", "595x842>+10+10"},
                                {"a10", "73x105>"},
                                {"letter", "612x792>"},
                                {"foo", "FOO"}}) {
    char* result = translate(page);
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(result, geometry);
    Release(&result);
  }
}

}  // namespace
