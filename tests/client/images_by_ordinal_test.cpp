// Images, formats and coder modules as a client sees them: the shipped
// library loaded at run time and called by ordinal, loading the test coder
// modules (bin/modules), deciding formats through them and unloading them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "client_fixture.h"
#include "library.h"
#include "pixbase/pixbase.h"
#include "temp_files.h"

namespace {

using namespace lumaview::testing;

struct Warning {
  ExceptionSeverity severity;
  std::string reason;
};
std::vector<Warning> g_warnings;
void PIXBASE_CALL RecordWarning(ExceptionSeverity severity, const char* reason, const char*) {
  g_warnings.push_back({severity, reason ? reason : ""});
}

TEST(ClientImagesTest, ModulesRegisterDetectAndUnload) {
  ASSERT_TRUE(Pixbase().loaded());
  const ClientCalls calls;
  ASSERT_TRUE(calls.complete());
  auto install_warning = Pixbase().Call<ExceptionHandler (*)(ExceptionHandler)>(115);
  auto list_modules = Pixbase().Call<char** (*)()>(60);
  auto release = Pixbase().Call<void (*)(void*)>(57);
  auto load_all = Pixbase().Call<int32_t (*)()>(89);
  auto find_module = Pixbase().Call<ModuleEntry* (*)(const char*)>(44);
  auto first_format = Pixbase().Call<FormatEntry* (*)()>(43);
  auto unload_all = Pixbase().Call<void (*)()>(32);
  ASSERT_NE(unload_all, nullptr);

  const std::string modules = BesideBuiltLibrary("modules");
  const ConfiguredModuleFolder folder(calls, modules);
  EXPECT_EQ(folder.first_directory(), modules);
  ExceptionHandler previous = install_warning(RecordWarning);
  g_warnings.clear();

  char** tags = list_modules();
  ASSERT_NE(tags, nullptr);
  int count = 0;
  for (char** tag = tags; *tag != nullptr; ++tag, ++count) release(tag);
  release(&tags);
  EXPECT_EQ(count, 4);

  EXPECT_EQ(load_all(), 4);
  ASSERT_NE(find_module("TESTA"), nullptr);
  ASSERT_NE(find_module("NOREG"), nullptr);  // listed without its register entry point
  ASSERT_NE(find_module("NOUNREG"), nullptr);
  EXPECT_EQ(find_module("BROKEN"), nullptr);  // not a loadable module
  ASSERT_EQ(g_warnings.size(), 2u);
  for (const Warning& warning : g_warnings) EXPECT_EQ(warning.severity, 320);

  FormatEntry* tsta = calls.find_format("tsta");
  ASSERT_NE(tsta, nullptr);
  EXPECT_STREQ(tsta->name, "TSTA");
  EXPECT_NE(first_format(), nullptr);
  char destination[PIXBASE_TEXT_EXTENT] = {};
  std::string by_header = WriteTempFile("pixbase_client.tsta", "TSTA picture");
  std::string by_name = WriteTempFile("pixbase_client.bin", "TSTW picture");
  std::string left_behind = WriteTempFile("pixbase_client_noun.bin", "NOUN picture");
  std::string unknown = WriteTempFile("pixbase_client.xyz", "nothing known");
  EXPECT_EQ(calls.detect(by_header.c_str(), destination), 1);
  EXPECT_STREQ(destination, "TSTA");
  EXPECT_EQ(calls.detect(by_name.c_str(), destination), 1);
  EXPECT_STREQ(destination, "TSTW");
  EXPECT_EQ(calls.detect(left_behind.c_str(), destination), 1);
  EXPECT_STREQ(destination, "NOUN");
  EXPECT_EQ(calls.detect(unknown.c_str(), destination), 0);

  g_warnings.clear();
  EXPECT_EQ(calls.unload("TESTA"), 1);
  EXPECT_EQ(calls.find_format("TSTA"), nullptr);
  EXPECT_TRUE(g_warnings.empty());
  unload_all();
  ASSERT_EQ(g_warnings.size(), 1u);  // NOUNREG has no unregister entry point
  EXPECT_EQ(g_warnings[0].severity, 315);
  EXPECT_EQ(find_module(nullptr), nullptr);
  // The format NOUNREG left behind went with its library: detecting is safe.
  EXPECT_EQ(calls.find_format("NOUN"), nullptr);
  EXPECT_EQ(calls.detect(left_behind.c_str(), destination), 0);

  install_warning(previous);
  for (const std::string& path : {by_header, by_name, left_behind, unknown})
    std::remove(path.c_str());
}

TEST(ClientImagesTest, AnImageReadsItsFileAndKeepsAttributes) {
  const ClientCalls calls;
  ASSERT_TRUE(calls.complete());
  auto allocate_next = Pixbase().Call<void (*)(ImageRecord*)>(3);
  auto read_big_long = Pixbase().Call<uint32_t (*)(ImageRecord*)>(71);
  auto read_little_short = Pixbase().Call<uint16_t (*)(ImageRecord*)>(54);
  auto set_attribute = Pixbase().Call<int32_t (*)(ImageRecord*, const char*, const char*)>(109);
  auto get_attribute = Pixbase().Call<ImageAttribute* (*)(ImageRecord*, const char*)>(39);
  auto parse_attribute = Pixbase().Call<void (*)(ImageRecord*, const char*)>(117);
  ASSERT_NE(parse_attribute, nullptr);

  std::string path = WriteTempFile("pixbase_client_image.bin", "\x01\x02\x03\x04\x05\x06");
  ImageRecord* image = calls.allocate();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->size, sizeof(ImageRecord));
  EXPECT_EQ(image->qualityLevel, 75u);
  std::strcpy(image->filename, path.c_str());
  allocate_next(image);
  ASSERT_NE(image->next, nullptr);
  EXPECT_EQ(image->next->listIndex, 1);
  ASSERT_EQ(calls.open(image->next, "rb"), 1);
  EXPECT_EQ(image->file, image->next->file);
  EXPECT_EQ(read_big_long(image), 0x01020304u);
  EXPECT_EQ(read_little_short(image->next), 0x0605);
  EXPECT_EQ(set_attribute(image, "Comment", "first"), 1);
  parse_attribute(image, "comment=second");
  ImageAttribute* comment = get_attribute(image, "COMMENT");
  ASSERT_NE(comment, nullptr);
  EXPECT_STREQ(comment->value, "second");
  EXPECT_EQ(comment->next, nullptr);
  calls.destroy_list(image->next);
  std::remove(path.c_str());
}

}  // namespace
