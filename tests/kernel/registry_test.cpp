// The format registry: order and replacement of entries, lookups, content
// matching, the decision of a file's format, the module directory list, the
// failure paths, and the registry lock under threads that arrive together.
#include "image/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "pixbase/pixbase.h"
#include "raise_recorder.h"
#include "services/test_hooks.h"
#include "temp_files.h"

namespace {

using lumaview::testing::RecordedRaises;

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { DestroyFormatRegistry(); }
  void TearDown() override {
    pixbase::testing::StopFailingAllocations();
    DestroyFormatRegistry();
    for (const std::string& path : files_) std::remove(path.c_str());
  }
  FormatEntry* Register(const char* name, FormatProbeHeader header = nullptr,
                        FormatProbeWithName with_name = nullptr) {
    FormatEntry* entry = AllocateFormatEntry(name);
    entry->probeHeader = header;
    entry->probeWithName = with_name;
    return RegisterFormatEntry(entry);
  }
  std::string File(const std::string& name, const std::string& content) {
    std::string path = lumaview::testing::WriteTempFile(name, content);
    files_.push_back(path);
    return path;
  }
  std::vector<std::string> Registered() {
    std::vector<std::string> names;
    FormatEntry* previous = nullptr;
    for (FormatEntry* entry = FirstFormatEntry(); entry != nullptr; entry = entry->next) {
      EXPECT_EQ(entry->previous, previous);
      names.push_back(entry->name);
      previous = entry;
    }
    return names;
  }
  std::vector<std::string> files_;
};

using Names = std::vector<std::string>;

bool Starts(const unsigned char* header, const char* magic) {
  return std::memcmp(header, magic, std::strlen(magic)) == 0;
}
int32_t PIXBASE_CALL AcceptsJpeg(const unsigned char* h, uint32_t n) {
  return n == PIXBASE_HEADER_PROBE_LENGTH && Starts(h, "\xFF\xD8");
}
int32_t PIXBASE_CALL AcceptsPng(const unsigned char* h, uint32_t) { return Starts(h, "\x89PNG"); }
int32_t PIXBASE_CALL AcceptsAll(const unsigned char*, uint32_t) { return 1; }
int32_t PIXBASE_CALL AcceptsZeros(const unsigned char* h, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i)
    if (h[i] != 0) return 0;
  return n == PIXBASE_HEADER_PROBE_LENGTH;
}
std::vector<std::string> g_seen_extensions;
std::string g_seen_path;
int32_t PIXBASE_CALL RejectsWithName(const char* path, const char* extension, const unsigned char*,
                                     uint32_t) {
  g_seen_path = path;
  g_seen_extensions.push_back(extension);
  return 0;
}
int32_t PIXBASE_CALL AcceptsWithName(const char*, const char*, const unsigned char* h, uint32_t) {
  return Starts(h, "NAMED");
}

TEST_F(RegistryTest, ANewEntryHoldsItsInitialValues) {
  FormatEntry* entry = AllocateFormatEntry("JPEG");
  ASSERT_NE(entry, nullptr);
  EXPECT_STREQ(entry->name, "JPEG");
  EXPECT_EQ(entry->reserved3[0], 1u);
  EXPECT_EQ(entry->reserved3[1], 1u);
  EXPECT_EQ(entry->probeHeader, nullptr);
  EXPECT_EQ(entry->probeWithName, nullptr);
  EXPECT_EQ(entry->reserved1[0] | entry->reserved2 | entry->reserved4[0] | entry->reserved5, 0u);
  EXPECT_EQ(entry->ownedText1, nullptr);
  EXPECT_EQ(entry->previous, nullptr);
  EXPECT_EQ(entry->next, nullptr);
  EXPECT_EQ(RegisterFormatEntry(entry), entry);
  EXPECT_EQ(RegisterFormatEntry(nullptr), nullptr);
}

TEST_F(RegistryTest, TheNewestRegistrationOfANameWins) {
  FormatEntry* older = Register("JPEG");
  older->ownedText1 = DuplicateString("released with the entry");
  older->ownedText2 = DuplicateString("so is this");
  FormatEntry* newer = Register("jpeg");
  EXPECT_EQ(Registered(), (Names{"jpeg"}));
  EXPECT_EQ(FirstFormatEntry(), newer);
  // Registering the same entry again moves it to the end without releasing it.
  Register("GIF");
  RegisterFormatEntry(newer);
  EXPECT_EQ(Registered(), (Names{"GIF", "jpeg"}));
}

TEST_F(RegistryTest, RegistrationOrderIsKept) {
  Register("GIF");
  Register("PNG");
  Register("TIFF");
  EXPECT_EQ(Registered(), (Names{"GIF", "PNG", "TIFF"}));
  Register("png");
  EXPECT_EQ(Registered(), (Names{"GIF", "TIFF", "png"}));
  EXPECT_EQ(UnregisterFormatEntry("Tiff"), 1);
  EXPECT_EQ(UnregisterFormatEntry("TIFF"), 0);
  EXPECT_EQ(UnregisterFormatEntry("BMP"), 0);
  EXPECT_EQ(UnregisterFormatEntry("GIF"), 1);
  EXPECT_EQ(Registered(), (Names{"png"}));
  EXPECT_EQ(FirstFormatEntry()->previous, nullptr);
}

TEST_F(RegistryTest, LookUpsIgnoreLetterCase) {
  EXPECT_EQ(FindFormatEntry(""), nullptr);
  EXPECT_EQ(FirstFormatEntry(), nullptr);
  FormatEntry* gif = Register("GIF");
  FormatEntry* jpeg = Register("JPEG");
  EXPECT_EQ(FindFormatEntry(""), gif);
  EXPECT_EQ(FindFormatEntry(nullptr), gif);
  EXPECT_EQ(FindFormatEntry("Jpeg"), jpeg);
  EXPECT_EQ(FindFormatEntry("JPG"), nullptr);
}

TEST_F(RegistryTest, AnEmptyRegistrySetsTheModuleDirectoryFromTheConfigurePath) {
  std::string saved = UpdateConfigurePath(nullptr);
  UpdateConfigurePath("c:\\Tesselworks\\modules\\");
  EXPECT_EQ(FindFormatEntry("ANY"), nullptr);
  char* const* directories = pixbase::ModuleDirectories();
  ASSERT_NE(directories[0], nullptr);
  EXPECT_STREQ(directories[0], "c:\\Tesselworks\\modules\\");
  EXPECT_EQ(directories[1], nullptr);
  // Found empty again: set afresh, still one directory.
  UpdateConfigurePath("d:\\other");
  FindFormatEntry(nullptr);
  EXPECT_STREQ(pixbase::ModuleDirectories()[0], "d:\\other");
  EXPECT_EQ(pixbase::ModuleDirectories()[1], nullptr);
  // The release at exit is arranged once, however often the registry is
  // found empty.
  for (int i = 0; i < 100; ++i) FindFormatEntry("NONE");
  EXPECT_EQ(pixbase::testing::ExitReleasesArranged(), 1);
  // Not empty: left alone.
  Register("GIF");
  UpdateConfigurePath("e:\\ignored");
  FindFormatEntry("GIF");
  EXPECT_STREQ(pixbase::ModuleDirectories()[0], "d:\\other");
  EXPECT_STREQ(InitializeModuleDirectories(), "e:\\ignored");
  pixbase::ClearModuleDirectories();
  EXPECT_EQ(pixbase::ModuleDirectories()[0], nullptr);
  UpdateConfigurePath(saved.c_str());
}

TEST_F(RegistryTest, ContentMatchingTakesTheFirstAcceptingEntry) {
  unsigned char header[PIXBASE_HEADER_PROBE_LENGTH] = {0x89, 'P', 'N', 'G'};
  EXPECT_EQ(MatchFormatByContent("p", "", header), nullptr);
  Register("NONE");  // no test: passed over
  Register("JPEG", AcceptsJpeg);
  Register("PNG", AcceptsPng);
  Register("ANY", AcceptsAll);
  EXPECT_STREQ(MatchFormatByContent("p", "", header), "PNG");
  // A test with the name is the only one tried for its entry.
  UnregisterFormatEntry("PNG");
  Register("PNG", AcceptsPng, RejectsWithName);
  UnregisterFormatEntry("ANY");
  Register("ANY", AcceptsAll);
  g_seen_extensions.clear();
  EXPECT_STREQ(MatchFormatByContent("pic.x", "X", header), "ANY");
  EXPECT_EQ(g_seen_extensions, std::vector<std::string>{"X"});
  EXPECT_EQ(g_seen_path, "pic.x");

  char destination[PIXBASE_TEXT_EXTENT] = "unchanged";
  EXPECT_EQ(IdentifyFormatByContent("p", "", nullptr, 0, destination), 0);
  EXPECT_STREQ(destination, "unchanged");
  EXPECT_EQ(IdentifyFormatByContent("p", "", header, 0, nullptr), 0);
  EXPECT_EQ(IdentifyFormatByContent("p", "", header, 1, destination), 1);
  EXPECT_STREQ(destination, "ANY");
  UnregisterFormatEntry("ANY");
  EXPECT_EQ(IdentifyFormatByContent("p", "", header, 1, destination), 0);
}

TEST_F(RegistryTest, ALongNameIsCutToTheDestination) {
  std::string name(3000, 'N');
  Register(name.c_str(), AcceptsAll);
  std::vector<char> destination(PIXBASE_TEXT_EXTENT + 16, '#');
  unsigned char header[PIXBASE_HEADER_PROBE_LENGTH] = {};
  ASSERT_EQ(IdentifyFormatByContent("p", "", header, 0, destination.data()), 1);
  EXPECT_EQ(std::strlen(destination.data()), size_t(PIXBASE_TEXT_EXTENT - 1));
  EXPECT_EQ(destination[PIXBASE_TEXT_EXTENT], '#');
}

TEST_F(RegistryTest, TheExtensionDecidesWhenItsOwnTestAccepts) {
  Register("JPG", AcceptsJpeg);
  Register("PNG", AcceptsPng);
  char destination[PIXBASE_TEXT_EXTENT] = {};
  std::string photo = File("photo.jpg", "\xFF\xD8\xFF\xE0 rest of a picture");
  EXPECT_EQ(DetectImageFormat(photo.c_str(), destination), 1);
  EXPECT_STREQ(destination, "JPG");
  std::string disguised = File("disguised.jpg", "\x89PNG\r\n");
  EXPECT_EQ(DetectImageFormat(disguised.c_str(), destination), 1);
  EXPECT_STREQ(destination, "PNG");
  std::string notes = File("notes.xyz", "plain words");
  std::strcpy(destination, "before");
  EXPECT_EQ(DetectImageFormat(notes.c_str(), destination), 0);
  EXPECT_STREQ(destination, "before");
  // A registered extension is left in the destination even when undecided.
  std::string odd = File("odd.jpg", "plain words");
  EXPECT_EQ(DetectImageFormat(odd.c_str(), destination), 0);
  EXPECT_STREQ(destination, "JPG");
}

TEST_F(RegistryTest, AnExtensionWithoutHeaderTestDecidesWhenNoTestClaimsTheFile) {
  Register("DAT");
  char destination[PIXBASE_TEXT_EXTENT] = {};
  std::string raw = File("raw.dat", "numbers");
  EXPECT_EQ(DetectImageFormat(raw.c_str(), destination), 1);
  EXPECT_STREQ(destination, "DAT");
  Register("PNG", AcceptsPng);
  std::string claimed = File("claimed.dat", "\x89PNG");
  EXPECT_EQ(DetectImageFormat(claimed.c_str(), destination), 1);
  EXPECT_STREQ(destination, "PNG");
  // An extension test that rejects and no header test: decided by it.
  UnregisterFormatEntry("DAT");
  Register("DAT", nullptr, RejectsWithName);
  g_seen_extensions.clear();
  EXPECT_EQ(DetectImageFormat(raw.c_str(), destination), 1);
  EXPECT_STREQ(destination, "DAT");
  // Asked once for the extension, once more among all tests with none.
  EXPECT_EQ(g_seen_extensions, (std::vector<std::string>{"DAT", ""}));
  EXPECT_EQ(g_seen_path, raw);
  Register("NAMED", nullptr, AcceptsWithName);
  std::string named = File("named.bin", "NAMED file");
  EXPECT_EQ(DetectImageFormat(named.c_str(), destination), 1);
  EXPECT_STREQ(destination, "NAMED");
}

TEST_F(RegistryTest, WhereTheExtensionStarts) {
  char destination[PIXBASE_TEXT_EXTENT] = {};
  // The last dot counts, also behind a directory separator.
  Register("TIF");
  std::string tif = File("a.b.tif", "x");
  EXPECT_EQ(DetectImageFormat(tif.c_str(), destination), 1);
  EXPECT_STREQ(destination, "TIF");
  std::string directory = lumaview::testing::TempPath("pixbase_x.d");
  std::filesystem::create_directories(directory);
#ifdef _WIN32
  std::string photo = directory + "\\photo";
  const char* expected = "D\\PHOTO";
#else
  std::string photo = directory + "/photo";
  const char* expected = "D/PHOTO";
#endif
  lumaview::testing::WriteFileAt(photo, "x");
  files_.push_back(photo);
  Register(expected);
  EXPECT_EQ(DetectImageFormat(photo.c_str(), destination), 1);
  EXPECT_STREQ(destination, expected);
  // A dot that opens the path is no extension separator.
  Register("PIXBASE_DOTFIRST");
  lumaview::testing::WriteFileAt(".pixbase_dotfirst", "x");
  std::strcpy(destination, "before");
  EXPECT_EQ(DetectImageFormat(".pixbase_dotfirst", destination), 0);
  EXPECT_STREQ(destination, "before");
  std::remove(".pixbase_dotfirst");
}

TEST_F(RegistryTest, TheTestsSeeTheFirstBytesPaddedWithZeros) {
  Register("ZERO", AcceptsZeros);
  char destination[PIXBASE_TEXT_EXTENT] = {};
  std::string empty = File("empty.bin", "");
  EXPECT_EQ(DetectImageFormat(empty.c_str(), destination), 1);
  EXPECT_STREQ(destination, "ZERO");
  std::string late = File("late.bin", std::string(PIXBASE_HEADER_PROBE_LENGTH, '\0') + "beyond");
  EXPECT_EQ(DetectImageFormat(late.c_str(), destination), 1);
  std::string early = File("early.bin", std::string(PIXBASE_HEADER_PROBE_LENGTH - 1, '\0') + "x");
  EXPECT_EQ(DetectImageFormat(early.c_str(), destination), 0);
  std::string missing = lumaview::testing::TempPath("pixbase_missing.jpg");
  std::strcpy(destination, "before");
  EXPECT_EQ(DetectImageFormat(missing.c_str(), destination), 0);
  EXPECT_STREQ(destination, "before");
}

TEST_F(RegistryTest, NoMemoryForAnEntry) {
  RecordedRaises raises;
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(AllocateFormatEntry("GIF"), nullptr);
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_TRUE(raises.all()[0].error);
  EXPECT_EQ(raises.all()[0].severity, 400);
  EXPECT_EQ(raises.all()[0].reason, "Unable to allocate image");
  EXPECT_EQ(raises.all()[0].description, "Memory allocation failed");
  // The name copy failing: its own report, and no entry.
  pixbase::testing::FailAllocationsAfter(1, 1);
  EXPECT_EQ(AllocateFormatEntry("GIF"), nullptr);
  ASSERT_EQ(raises.all().size(), 2u);
  EXPECT_EQ(raises.all()[1].reason, "Unable to allocate string");
  pixbase::testing::StopFailingAllocations();
  // No memory for the module directory: the list stays empty.
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(InitializeModuleDirectories(), nullptr);
  pixbase::testing::StopFailingAllocations();
  EXPECT_EQ(pixbase::ModuleDirectories()[0], nullptr);
}

// A lock that cannot be made is made at the next use; the registry works
// meanwhile.
TEST_F(RegistryTest, ALockThatCannotBeMadeDoesNotStopTheRegistry) {
  RecordedRaises raises;
  char destination[PIXBASE_TEXT_EXTENT] = {};
  Register("DAT");
  std::string raw = File("nolock.dat", "x");
  pixbase::testing::FailAllocationsAfter(0, -1);
  FormatEntry* entry = FindFormatEntry("dat");
  int32_t decided = DetectImageFormat(raw.c_str(), destination);
  pixbase::testing::StopFailingAllocations();
  EXPECT_NE(entry, nullptr);
  EXPECT_EQ(decided, 1);
  EXPECT_STREQ(destination, "DAT");
  // Only the locks of first use can have failed to be made.
  for (const auto& raise : raises.all())
    EXPECT_EQ(raise.reason, "Unable to allocate semaphore_info info");
  EXPECT_EQ(UnregisterFormatEntry("DAT"), 1);
}

// Threads that arrive together at an empty registry, whose locks are not
// made yet, all use the same lock: no registration is lost, and the set-up
// of the empty registry releases nothing twice.
TEST_F(RegistryTest, ThreadsArrivingTogetherShareOneLock) {
  constexpr int kThreads = 4;
  constexpr int kEach = 100;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      FindFormatEntry("X");  // the set-up of an empty registry, by all at once
      char name[32];
      for (int i = 0; i < kEach; ++i) {
        std::snprintf(name, sizeof name, "F%d_%d", t, i);
        FormatEntry* entry = AllocateFormatEntry(name);
        RegisterFormatEntry(entry);
        if (i % 2 == 1) {
          std::snprintf(name, sizeof name, "F%d_%d", t, i - 1);
          UnregisterFormatEntry(name);
        }
        FindFormatEntry(name);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(Registered().size(), size_t(kThreads * kEach / 2));
}

#ifndef _WIN32
// The registry's locks live as long as the process: a thread still inside a
// registry operation while the process ends must find its lock intact.
// Natively the address sanitizer sees a lock that was released under it.
//
// The thread waits inside a content test, holding the registry lock, until
// the very last exit handler lets it go: that handler is arranged before any
// of the library's own clean-up, so it runs after all of it.
std::atomic<bool> g_test_entered{false};
std::atomic<bool> g_test_may_leave{false};
std::thread* g_inside = nullptr;

void LetTheThreadInsideLeave() {
  if (g_inside == nullptr) return;
  g_test_may_leave = true;
  g_inside->join();
  delete g_inside;
}

__attribute__((constructor(101))) void ArrangeTheLastExitHandler() {
  std::atexit(LetTheThreadInsideLeave);
}

int32_t PIXBASE_CALL WaitsToBeLetGo(const unsigned char*, uint32_t) {
  g_test_entered = true;
  while (!g_test_may_leave) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return 0;
}

TEST(RegistryLocksTest, AThreadInsideTheRegistryAsTheProcessEndsKeepsItsLock) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: no other set-up
  EXPECT_EXIT(
      {
        FormatEntry* entry = AllocateFormatEntry("WAIT");
        entry->probeHeader = WaitsToBeLetGo;
        RegisterFormatEntry(entry);
        g_inside = new std::thread([] {
          unsigned char header[PIXBASE_HEADER_PROBE_LENGTH] = {};
          MatchFormatByContent("p", "", header);
        });
        while (!g_test_entered) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
