// Platform services: platform check, drives, file mapping, clocks, commands
// and temporary names, on the system the tests run on.
#include "pixbase/platform_services.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iomanip>
#include <string>
#include <thread>
#include <vector>

#include "pixbase/memory.h"
#include "pixbase/text.h"
#include "platform/system_services.h"
#include "raise_recorder.h"
#include "temp_files.h"

namespace {

class PlatformServicesTest : public lumaview::testing::RaiseRecorderTest {};

TEST_F(PlatformServicesTest, NoWindows95Family) { EXPECT_EQ(IsWindows9xPlatform(), 0); }

TEST_F(PlatformServicesTest, DriveLettersInEitherCase) {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    char upper[2] = {letter, '\0'};
    char lower[2] = {static_cast<char>(letter + 32), '\0'};
    uint32_t present = DriveExists(upper);
    EXPECT_EQ(present, DriveExists(lower)) << letter;
    EXPECT_TRUE(present == 0 || present == 1u << (letter - 'A')) << letter;
  }
#ifdef _WIN32
  EXPECT_NE(DriveExists("C"), 0u);
  EXPECT_EQ(DriveExists("C:"), 0u);
#else
  EXPECT_EQ(DriveExists("C"), 0u);  // no drive letters here
#endif
  EXPECT_EQ(DriveExists("c:\\"), 0u);
  EXPECT_EQ(DriveExists(""), 0u);  // bit 31: no drive has it
  EXPECT_EQ(DriveExists(nullptr), 0u);
}

class MappedFile {
 public:
  explicit MappedFile(const std::string& contents) {
    path_ = lumaview::testing::WriteTempFile("pixbase_mapping_test.bin", contents);
  }
  ~MappedFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }
  std::string Read() const {
    std::string contents;
    FILE* in = std::fopen(path_.c_str(), "rb");
    if (in == nullptr) {
      ADD_FAILURE() << "cannot read " << path_;
      return contents;
    }
    int c;
    while ((c = std::fgetc(in)) != EOF) contents += static_cast<char>(c);
    std::fclose(in);
    return contents;
  }

 private:
  std::string path_;
};

std::string Pattern(size_t size) {
  std::string text;
  for (size_t i = 0; i < size; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

TEST_F(PlatformServicesTest, MapsAReadOnlyFileWithTheOffsetOnThePointer) {
  MappedFile file(Pattern(300));
  FILE* stream = OpenFileStream(file.path().c_str(), "rb");
  ASSERT_NE(stream, nullptr);
  int descriptor = GetStreamDescriptor(stream);
  auto* view = static_cast<const char*>(MapFileView(nullptr, 300, MapRead, 0, descriptor, 0));
  ASSERT_NE(view, PIXBASE_MAP_FAILED);
  EXPECT_EQ(std::string(view, 300), Pattern(300));
  auto* shifted = static_cast<const char*>(MapFileView(nullptr, 300, 0, 77, descriptor, 100));
  ASSERT_NE(shifted, PIXBASE_MAP_FAILED);
  EXPECT_EQ(std::string(shifted, 200), Pattern(300).substr(100));
  EXPECT_EQ(UnmapFileView(const_cast<char*>(shifted - 100)), 0);
  EXPECT_EQ(UnmapFileView(const_cast<char*>(view)), 0);
  // The whole file for a length of 0.
  view = static_cast<const char*>(MapFileView(nullptr, 0, MapRead, 0, descriptor, 0));
  ASSERT_NE(view, PIXBASE_MAP_FAILED);
  EXPECT_EQ(std::string(view, 300), Pattern(300));
  EXPECT_EQ(UnmapFileView(const_cast<char*>(view)), 0);
  CloseFileStream(stream);
}

TEST_F(PlatformServicesTest, WritesThroughAReadWriteView) {
  MappedFile file(Pattern(64));
  FILE* stream = OpenFileStream(file.path().c_str(), "r+b");
  ASSERT_NE(stream, nullptr);
  auto* view = static_cast<char*>(
      MapFileView(nullptr, 64, MapReadWrite, 0, GetStreamDescriptor(stream), 10));
  ASSERT_NE(view, PIXBASE_MAP_FAILED);
  std::memcpy(view, "MAPPED", 6);
  EXPECT_EQ(UnmapFileView(view - 10), 0);
  CloseFileStream(stream);
  std::string expected = Pattern(64);
  expected.replace(10, 6, "MAPPED");
  EXPECT_EQ(file.Read(), expected);
}

TEST_F(PlatformServicesTest, RefusedMappings) {
  MappedFile file(Pattern(64));
  FILE* stream = OpenFileStream(file.path().c_str(), "rb");
  int descriptor = GetStreamDescriptor(stream);
  EXPECT_EQ(MapFileView(nullptr, 64, MapRead, 0, -1, 0), PIXBASE_MAP_FAILED);
  EXPECT_EQ(MapFileView(nullptr, 64, MapRead, 0, descriptor, -1), PIXBASE_MAP_FAILED);
  EXPECT_EQ(MapFileView(nullptr, 64, MapRead, 0, descriptor, 65), PIXBASE_MAP_FAILED);
  // Writing needs a file open for writing.
  EXPECT_EQ(MapFileView(nullptr, 64, MapReadWrite, 0, descriptor, 0), PIXBASE_MAP_FAILED);
  CloseFileStream(stream);
  int not_a_view = 0;
  EXPECT_EQ(UnmapFileView(&not_a_view), -1);
  EXPECT_EQ(UnmapFileView(nullptr), -1);
  EXPECT_EQ(UnmapFileView(PIXBASE_MAP_FAILED), -1);
}

TEST_F(PlatformServicesTest, SystemClockCountsFrom1601) {
  double now = ReadSystemClock();
  double unix_now = static_cast<double>(std::time(nullptr));
  EXPECT_NEAR(now - 11644473600.0, unix_now, 5.0);
  EXPECT_GE(ReadSystemClock(), now);
}

TEST_F(PlatformServicesTest, ProcessSecondsGrowWithWorkNotWithWaiting) {
  double before = ReadProcessSeconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  double after_wait = ReadProcessSeconds();
  EXPECT_GE(after_wait, before) << std::setprecision(12) << before << " " << after_wait;
  EXPECT_LT(after_wait - before, 0.2);
  volatile uint64_t sink = 0;
  while (ReadProcessSeconds() < after_wait + 0.1)
    for (int i = 0; i < 100000; ++i) sink = sink + static_cast<uint64_t>(i);
  double after_work = ReadProcessSeconds();
  EXPECT_GE(after_work, after_wait + 0.1);
}

#ifdef _WIN32
#define EXIT_COMMAND(code) "cmd /c exit " #code
#else
#define EXIT_COMMAND(code) "exit " #code
#endif

TEST_F(PlatformServicesTest, SpawnReturnsTheExitCode) {
  EXPECT_EQ(SpawnProcess(EXIT_COMMAND(3)), 3);
  EXPECT_EQ(SpawnProcess(EXIT_COMMAND(0)), 0);
  // '|' asks for a minimised window and still waits.
  EXPECT_EQ(SpawnProcess(EXIT_COMMAND(4) "|"), 4);
  EXPECT_EQ(SpawnProcess("pixbase-no-such-program-here"), -1);
  EXPECT_EQ(SpawnProcess(nullptr), -1);
}

TEST_F(PlatformServicesTest, SpawnInTheBackgroundDoesNotWait) {
  // The exit code cannot be known yet: 0 says the command was started.
  EXPECT_EQ(SpawnProcess(EXIT_COMMAND(7) "&"), 0);
}

TEST_F(PlatformServicesTest, SpawnRefusesACommandLineBeyond2047Bytes) {
  std::string longest = EXIT_COMMAND(5);
  longest.resize(2047, ' ');
  EXPECT_EQ(SpawnProcess(longest.c_str()), 5);
  longest += ' ';
  EXPECT_EQ(SpawnProcess(longest.c_str()), -1);
  std::string huge(100000, 'x');
  EXPECT_EQ(SpawnProcess(huge.c_str()), -1);
}

TEST_F(PlatformServicesTest, RunCommandReportsEveryCommandWhenVerbose) {
  EXPECT_EQ(RunCommand(0, EXIT_COMMAND(2)), 2);
  EXPECT_TRUE(raised().empty());
  EXPECT_EQ(RunCommand(1, EXIT_COMMAND(0)), 0);
  ASSERT_EQ(raised().size(), 1u);
  EXPECT_FALSE(raised()[0].error);
  EXPECT_EQ(raised()[0].severity, 315);
  EXPECT_EQ(raised()[0].reason, EXIT_COMMAND(0));
  EXPECT_EQ(raised()[0].description, std::strerror(0));
  EXPECT_EQ(RunCommand(1, EXIT_COMMAND(2)), 2);
  ASSERT_EQ(raised().size(), 2u);
  EXPECT_EQ(raised()[1].reason, EXIT_COMMAND(2));
  EXPECT_FALSE(raised()[1].has_description);
}

bool FileExists(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

std::string LastComponent(const std::string& path) {
  size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

TEST_F(PlatformServicesTest, TempNamesLieInTheTemporaryDirectoryAndLeaveNoFile) {
  char directory[1024];
  ASSERT_TRUE(pixbase::platform::TemporaryDirectory(directory, sizeof(directory)));
#ifndef _WIN32
  const char* tmpdir = std::getenv("TMPDIR");
  std::string expected = tmpdir != nullptr && tmpdir[0] == '/' ? tmpdir : "/tmp";
  if (expected.back() != '/') expected += '/';
  EXPECT_EQ(std::string(directory), expected);
#endif
  char first[260];
  char second[260];
  uint32_t number = CreateTempName(first);
  EXPECT_NE(number, 0u);
  EXPECT_NE(CreateTempName(second), 0u);
  for (const std::string& name : {std::string(first), std::string(second)}) {
    EXPECT_EQ(name.compare(0, std::strlen(directory), directory), 0) << name;
    std::string file = LastComponent(name);
    EXPECT_EQ(file.compare(0, 3, "tes"), 0) << name;
    ASSERT_GT(file.size(), 4u);
    EXPECT_NE(CompareNoCase(file.c_str() + file.size() - 4, ".tmp"), 0) << name;
    EXPECT_FALSE(FileExists(name)) << name;
    EXPECT_FALSE(FileExists(name + ".tmp")) << name;
  }
  EXPECT_STRNE(first, second);
  char cleared[260];
  std::memset(cleared, 'j', sizeof(cleared));
  MakeTempName(cleared);
  EXPECT_EQ(LastComponent(cleared).compare(0, 3, "tes"), 0) << cleared;
  EXPECT_EQ(CreateTempName(nullptr), 0u);
  MakeTempName(nullptr);
}

#ifndef _WIN32
TEST_F(PlatformServicesTest, NoTempNameWithoutATemporaryDirectory) {
  const char* saved = std::getenv("TMPDIR");
  std::string old = saved != nullptr ? saved : "";
  setenv("TMPDIR", "/pixbase-no-such-directory", 1);
  char buffer[260] = "unchanged";
  EXPECT_EQ(CreateTempName(buffer), 0u);
  EXPECT_STREQ(buffer, "unchanged");
  MakeTempName(buffer);
  EXPECT_STREQ(buffer, "");
  char path[PIXBASE_TEXT_EXTENT] = "dir/photo.png";
  ReplaceWithTempName(path);
  EXPECT_STREQ(path, "dir/");
  if (saved != nullptr)
    setenv("TMPDIR", old.c_str(), 1);
  else
    unsetenv("TMPDIR");
}
#endif

TEST_F(PlatformServicesTest, ReplaceWithTempNameKeepsTheDirectoryPart) {
  char path[PIXBASE_TEXT_EXTENT] = "dir\\photo.png";
  ReplaceWithTempName(path);
  std::string result = path;
  ASSERT_EQ(result.compare(0, 4, "dir\\"), 0) << result;
  EXPECT_EQ(result.compare(4, 3, "tes"), 0) << result;
  EXPECT_EQ(result.find_first_of("/\\", 4), std::string::npos) << result;

  char alone[PIXBASE_TEXT_EXTENT] = "photo.png";
  ReplaceWithTempName(alone);
  EXPECT_EQ(std::string(alone).compare(0, 3, "tes"), 0) << alone;
  EXPECT_EQ(std::string(alone).find_first_of("/\\"), std::string::npos) << alone;

  char nested[PIXBASE_TEXT_EXTENT] = "a/b.d/";
  ReplaceWithTempName(nested);
  EXPECT_EQ(std::string(nested).compare(0, 9, "a/b.d/tes"), 0) << nested;
}

TEST_F(PlatformServicesTest, ReplaceWithTempNameStaysInsideTheBuffer) {
  // The buffer is exactly TextExtent bytes: ASan sees any write past it.
  std::vector<char> path(PIXBASE_TEXT_EXTENT);
  std::string directory(PIXBASE_TEXT_EXTENT - 4, 'd');
  directory += "/x";
  std::memcpy(path.data(), directory.c_str(), directory.size() + 1);
  ReplaceWithTempName(path.data());
  std::string result = path.data();
  EXPECT_EQ(result.size(), PIXBASE_TEXT_EXTENT - 1u);
  EXPECT_EQ(result.substr(PIXBASE_TEXT_EXTENT - 4), "/te");
}

}  // namespace
