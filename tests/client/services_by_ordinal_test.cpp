// The kernel services as a client reaches them: the shipped library loaded at
// run time, every operation found by its ordinal.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "library.h"
#include "pixbase/pixbase.h"
#include "temp_files.h"

namespace {

using lumaview::testing::Pixbase;

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

#ifdef _WIN32
#define EXIT_COMMAND(code) "cmd /c exit " #code
#else
#define EXIT_COMMAND(code) "exit " #code
#endif

TEST(ClientServicesTest, PlatformByOrdinal) {
  EXPECT_EQ(Ordinal<int (*)()>(52)(), 0);
  auto drive = Ordinal<uint32_t (*)(const char*)>(48);
  EXPECT_EQ(drive("c"), drive("C"));
  EXPECT_EQ(drive("C:"), 0u);
  double clock = Ordinal<double (*)()>(81)();
  EXPECT_GT(clock, 11644473600.0);  // seconds since 1601: after 1970
  double process = Ordinal<double (*)()>(85)();
  EXPECT_GE(Ordinal<double (*)()>(85)(), process);
  auto spawn = Ordinal<int (*)(const char*)>(83);
  auto run = Ordinal<int (*)(int, const char*)>(121);
  EXPECT_EQ(spawn(EXIT_COMMAND(3)), 3);
  EXPECT_EQ(run(0, EXIT_COMMAND(2)), 2);
  EXPECT_EQ(spawn(std::string(2048, 'x').c_str()), -1);

  char name[260];
  EXPECT_NE(Ordinal<uint32_t (*)(char*)>(84)(name), 0u);
  std::string created = name;
  EXPECT_EQ(created.find(".tmp"), std::string::npos);
  Ordinal<void (*)(char*)>(124)(name);
  EXPECT_NE(created, name);
  char path[PIXBASE_TEXT_EXTENT] = "dir\\photo.png";
  Ordinal<void (*)(char*)>(64)(path);
  EXPECT_EQ(std::string(path).compare(0, 7, "dir\\tes"), 0) << path;

  // A file mapped by its runtime descriptor, as the library's streams give it.
  std::string file = lumaview::testing::TempPath("pixbase_client_map.bin");
  auto open = Ordinal<FILE* (*)(const char*, const char*)>(153);
  auto descriptor = Ordinal<int (*)(FILE*)>(159);
  auto close = Ordinal<int (*)(FILE*)>(160);
  FILE* out = open(file.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  Ordinal<size_t (*)(const void*, size_t, size_t, FILE*)>(162)("0123456789", 1, 10, out);
  close(out);
  FILE* in = open(file.c_str(), "rb");
  auto map = Ordinal<void* (*)(void*, size_t, int, int, int, long)>(142);
  auto unmap = Ordinal<int (*)(void*)>(143);
  auto* view = static_cast<char*>(map(nullptr, 10, 1, 0, descriptor(in), 4));
  ASSERT_NE(view, PIXBASE_MAP_FAILED);
  EXPECT_EQ(std::string(view, 6), "456789");
  EXPECT_EQ(unmap(view - 4), 0);
  EXPECT_EQ(unmap(view - 4), -1);
  close(in);
  std::remove(file.c_str());
}

}  // namespace
