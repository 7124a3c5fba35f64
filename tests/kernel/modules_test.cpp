// The coder module loader: module names and symbols, the module list, the
// directory search and listing, and loading and unloading the test modules
// (bin/modules) through the real platform loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "image/registry.h"
#include "image/wildcard.h"
#include "library.h"
#include "pixbase/pixbase.h"
#include "platform/libraries.h"
#include "raise_recorder.h"
#include "services/test_hooks.h"
#include "temp_files.h"

namespace {

using lumaview::testing::BesideBuiltLibrary;
using lumaview::testing::BuiltLibraryFolder;
using lumaview::testing::RecordedRaises;
using lumaview::testing::WriteFileAt;
using lumaview::testing::WriteTempFile;

constexpr char kSeparator = lumaview::testing::kPathSeparator;

std::string ModuleDirectory() { return BesideBuiltLibrary("modules"); }

std::vector<std::string> TakeTags(char** tags) {
  std::vector<std::string> names;
  if (tags == nullptr) return names;
  for (char** tag = tags; *tag != nullptr; ++tag) {
    names.push_back(*tag);
    ReleaseMemory(tag);
  }
  ReleaseMemory(&tags);
  std::sort(names.begin(), names.end());
  return names;
}

using Names = std::vector<std::string>;

class ModulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_configure_path_ = UpdateConfigurePath(nullptr);
    FreeModuleList();
  }
  void TearDown() override {
    pixbase::testing::StopFailingAllocations();
    UnloadAllCoderModules();
    FreeModuleList();
    SetLibrarySearchPath(nullptr);
    pixbase::ClearModuleDirectories();
    DestroyFormatRegistry();
    UpdateConfigurePath(saved_configure_path_.c_str());
    for (const std::string& path : scratch_) std::filesystem::remove_all(path);
  }
  void UseModuleDirectory(const std::string& directory) {
    UpdateConfigurePath(directory.c_str());
    InitializeModuleDirectories();
  }
  // A new empty directory holding the named empty files.
  std::string Directory(const char* name, const std::vector<std::string>& files) {
    std::string directory = lumaview::testing::TempPath(name);
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    for (const std::string& file : files) WriteFileAt(directory + kSeparator + file, "");
    scratch_.push_back(directory);
    return directory;
  }
  Names ListNames() {
    Names names;
    ModuleEntry* previous = nullptr;
    for (ModuleEntry* entry = FindModuleEntry(nullptr); entry != nullptr; entry = entry->next) {
      EXPECT_EQ(entry->previous, previous);
      // Linked behind another entry: signed. (An entry that became first
      // when its predecessor went keeps its signature.)
      if (previous != nullptr) {
        EXPECT_EQ(entry->signature, 0xCAFEu);
      }
      names.push_back(entry->name);
      previous = entry;
    }
    return names;
  }
  void Insert(const char* name) { InsertModuleEntry(AllocateModuleEntry(name)); }
  std::string saved_configure_path_;
  std::vector<std::string> scratch_;
};

TEST_F(ModulesTest, ModuleFileNamesAndSymbols) {
  char* name = ModuleFileName("JPEG");
  EXPECT_STREQ(name, "VELOJPEG.dll");
  ReleaseMemory(&name);
  name = ModuleFileName("VeloJPEG.dll");
  EXPECT_STREQ(name, "VeloJPEG.dll");
  ReleaseMemory(&name);
  name = ModuleFileName("");
  EXPECT_STREQ(name, "VELO.dll");
  ReleaseMemory(&name);
  std::string long_tag(3000, 't');
  name = ModuleFileName(long_tag.c_str());  // cut to the buffer, not overrun
  EXPECT_EQ(std::strlen(name), size_t(PIXBASE_TEXT_EXTENT - 1));
  ReleaseMemory(&name);
  char symbol[64];
  EXPECT_EQ(FormatModuleSymbol("JPEG", "Register%sImage", symbol), 17);
  EXPECT_STREQ(symbol, "RegisterJPEGImage");
  EXPECT_EQ(ReturnZero(), 0);
}

TEST_F(ModulesTest, NoMemoryForANameOrAnEntry) {
  RecordedRaises raises;
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(ModuleFileName("JPEG"), nullptr);
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(AllocateModuleEntry("JPEG"), nullptr);
  pixbase::testing::FailAllocationsAfter(1, 1);
  EXPECT_EQ(AllocateModuleEntry("JPEG"), nullptr);  // the name copy
  ASSERT_EQ(raises.all().size(), 3u);
  EXPECT_EQ(raises.all()[0].reason, "Unable to get module name");
  EXPECT_EQ(raises.all()[1].reason, "Unable to allocate module info");
  EXPECT_EQ(raises.all()[2].reason, "Unable to allocate string");
  for (const auto& raise : raises.all()) {
    EXPECT_TRUE(raise.error);
    EXPECT_EQ(raise.severity, 400);
    EXPECT_EQ(raise.description, "Memory allocation failed");
  }
}

TEST_F(ModulesTest, WildcardMatching) {
  using pixbase::MatchWildcard;
  EXPECT_EQ(MatchWildcard("VELOJPEG.DLL", "VELO*.dll"), 1);
  EXPECT_EQ(MatchWildcard("velopng.dll", "VELO*.dll"), 1);
  EXPECT_EQ(MatchWildcard("VeLo.DlL", "VELO*.dll"), 1);
  EXPECT_EQ(MatchWildcard("velo.dll.dll", "VELO*.dll"), 1);
  EXPECT_EQ(MatchWildcard("README.TXT", "VELO*.dll"), 0);
  EXPECT_EQ(MatchWildcard("velojpeg.dllx", "VELO*.dll"), 0);
  EXPECT_EQ(MatchWildcard("vel.dll", "VELO*.dll"), 0);
  EXPECT_EQ(MatchWildcard("", "**"), 1);
  EXPECT_EQ(MatchWildcard("abc", "a*b*c*"), 1);
  EXPECT_EQ(MatchWildcard("abcbd", "a*bd"), 1);
  EXPECT_EQ(MatchWildcard("abcbe", "a*bd"), 0);
}

TEST_F(ModulesTest, InsertionPlacesAfterTheFirstNameNotLess) {
  Insert("GIF");
  Insert("BMP");
  Insert("TIFF");
  EXPECT_EQ(ListNames(), (Names{"GIF", "BMP", "TIFF"}));
  Insert("FAX");
  EXPECT_EQ(ListNames(), (Names{"GIF", "FAX", "BMP", "TIFF"}));
  EXPECT_EQ(FindModuleEntry("fax")->name, std::string("FAX"));
  EXPECT_EQ(FindModuleEntry("PNG"), nullptr);
  EXPECT_EQ(FindModuleEntry(nullptr)->signature, 0u);
  // An equal name where the walk stops is replaced in its place.
  ModuleEntry* newer = AllocateModuleEntry("gif");
  InsertModuleEntry(newer);
  EXPECT_EQ(ListNames(), (Names{"gif", "FAX", "BMP", "TIFF"}));
  EXPECT_EQ(FindModuleEntry("GIF"), newer);
  EXPECT_EQ(newer->signature, 0u);
  InsertModuleEntry(AllocateModuleEntry("fax"));
  EXPECT_EQ(ListNames(), (Names{"gif", "fax", "BMP", "TIFF"}));
  // The walk stops at gif (not less than bmp): the new entry goes after it
  // and the older BMP further on goes, so that the name stays unique.
  InsertModuleEntry(AllocateModuleEntry("bmp"));
  EXPECT_EQ(ListNames(), (Names{"gif", "bmp", "fax", "TIFF"}));
  EXPECT_EQ(RemoveModuleEntry("Fax"), 1);
  EXPECT_EQ(RemoveModuleEntry("Fax"), 0);
  EXPECT_EQ(RemoveModuleEntry("gif"), 1);
  EXPECT_EQ(ListNames(), (Names{"bmp", "TIFF"}));
  EXPECT_EQ(FindModuleEntry(nullptr)->previous, nullptr);
  FreeModuleList();
  EXPECT_EQ(FindModuleEntry(nullptr), nullptr);
  EXPECT_EQ(InsertModuleEntry(nullptr), nullptr);
}

TEST_F(ModulesTest, OneEntryPerNameWhereverTheWalkStops) {
  // M, then A goes after M; a second A must not land between M and the first.
  Insert("M");
  Insert("A");
  Insert("a");
  EXPECT_EQ(ListNames(), (Names{"M", "a"}));
}

TEST_F(ModulesTest, SearchingADirectory) {
  std::string directory =
      Directory("pixbase_scan", {"VELOJPEG.DLL", "velopng.dll", "README.TXT", "VELO.dll"});
  EXPECT_EQ(NextModuleScanName(nullptr), nullptr);
  CloseModuleScan(nullptr);
  for (std::string start : {directory, directory + kSeparator}) {
    ModuleScan* scan = OpenModuleScan(start.c_str());
    ASSERT_NE(scan, nullptr) << start;
    Names found;
    while (const char* name = NextModuleScanName(scan)) found.push_back(name);
    CloseModuleScan(scan);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Names{"VELO.dll", "VELOJPEG.DLL", "velopng.dll"})) << start;
  }
  std::string empty = Directory("pixbase_scan_empty", {"README.TXT"});
  EXPECT_EQ(OpenModuleScan(empty.c_str()), nullptr);
  EXPECT_EQ(OpenModuleScan((empty + "missing").c_str()), nullptr);
  std::string too_long(1600, 'd');
  EXPECT_EQ(OpenModuleScan(too_long.c_str()), nullptr);
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(OpenModuleScan(directory.c_str()), nullptr);
}

TEST_F(ModulesTest, ListingTagsOfEveryModuleDirectory) {
  EXPECT_EQ(TakeTags(ListCoderModules()), Names{});  // no directory yet
  UseModuleDirectory(
      Directory("pixbase_list", {"VELOJPEG.DLL", "velopng.dll", "README.TXT", "VELO.dll"}));
  EXPECT_EQ(TakeTags(ListCoderModules()), (Names{"", "JPEG", "PNG"}));
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(ListCoderModules(), nullptr);
  // A directory whose search record cannot be had would be missing from
  // the list unnoticed: no list at all.
  pixbase::testing::FailAllocationsAfter(1, 1);
  EXPECT_EQ(ListCoderModules(), nullptr);
}

TEST_F(ModulesTest, MoreThan255ModulesGrowTheArray) {
  RecordedRaises raises;  // a tag that cannot be made reports itself
  std::vector<std::string> files;
  for (int i = 0; i < 300; ++i) files.push_back("VELO" + std::to_string(1000 + i) + ".dll");
  UseModuleDirectory(Directory("pixbase_many", files));
  Names tags = TakeTags(ListCoderModules());
  ASSERT_EQ(tags.size(), 300u);
  EXPECT_EQ(tags.front(), "1000");
  EXPECT_EQ(tags.back(), "1299");
  // The array, the search and 255 tags, then the growth fails: null, and
  // every tag made so far is released (the sanitizers see no leak).
  int nulls = 0;
  for (int succeed = 250; succeed < 262; ++succeed) {
    pixbase::testing::FailAllocationsAfter(succeed, 1);
    char** partial = ListCoderModules();
    pixbase::testing::StopFailingAllocations();
    nulls += partial == nullptr;
    Names got = TakeTags(partial);
    EXPECT_TRUE(got.empty() || got.size() == 300u) << succeed;
  }
  EXPECT_EQ(nulls, 12);
}

TEST_F(ModulesTest, LoadingAndUnloadingTheTestModules) {
  RecordedRaises raises;
  UseModuleDirectory(ModuleDirectory());
  EXPECT_EQ(LoadCoderModule("TESTA"), 1);
  ModuleEntry* entry = FindModuleEntry("testa");
  ASSERT_NE(entry, nullptr);
  EXPECT_NE(entry->handle, nullptr);
  EXPECT_GT(entry->loadTime, 0);
  EXPECT_TRUE(raises.all().empty());
  EXPECT_EQ(UnloadCoderModule("TESTA"), 1);
  EXPECT_EQ(FindModuleEntry("TESTA"), nullptr);
  EXPECT_EQ(UnloadCoderModule("TESTA"), 0);
  EXPECT_TRUE(raises.all().empty());
}

TEST_F(ModulesTest, TheFileDecidesNotTheTag) {
  RecordedRaises raises;
  UseModuleDirectory(ModuleDirectory());
  EXPECT_EQ(LoadCoderModule("NOSUCHMODULE"), 0);  // in no directory: no warning
  EXPECT_TRUE(raises.all().empty());
  EXPECT_EQ(FindModuleEntry(nullptr), nullptr);

  EXPECT_EQ(LoadCoderModule("BROKEN"), 0);
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_FALSE(raises.all()[0].error);
  EXPECT_EQ(raises.all()[0].severity, 320);
  std::string path = ModuleDirectory() + kSeparator + "VELOBROKEN.dll";
  EXPECT_EQ(raises.all()[0].reason, "failed to load module \"" + path + "\"");
  EXPECT_TRUE(raises.all()[0].has_description);
  EXPECT_EQ(FindModuleEntry("BROKEN"), nullptr);
}

TEST_F(ModulesTest, AModuleWithoutRegisterEntryPointStaysListed) {
  RecordedRaises raises;
  UseModuleDirectory(ModuleDirectory());
  EXPECT_EQ(LoadCoderModule("NOREG"), 0);
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_EQ(raises.all()[0].severity, 320);
  EXPECT_EQ(raises.all()[0].reason, "failed to find symbol");
  EXPECT_TRUE(raises.all()[0].has_description);
  EXPECT_NE(FindModuleEntry("NOREG"), nullptr);
  EXPECT_EQ(UnloadCoderModule("noreg"), 1);  // looks for UnregisternoregImage
  ASSERT_EQ(raises.all().size(), 2u);
  EXPECT_EQ(raises.all()[1].severity, 315);
  EXPECT_EQ(raises.all()[1].reason, "failed to find symbol");
  EXPECT_EQ(FindModuleEntry("NOREG"), nullptr);
}

TEST_F(ModulesTest, LoadingATagTwiceKeepsTheNewerEntry) {
  RecordedRaises raises;
  UseModuleDirectory(ModuleDirectory());
  EXPECT_EQ(LoadCoderModule("TESTA"), 1);
  ModuleEntry* older = FindModuleEntry("TESTA");
  ASSERT_NE(older, nullptr);
  older->loadTime = 1;  // to tell the entries apart
  EXPECT_EQ(LoadCoderModule("TESTA"), 1);
  EXPECT_EQ(ListNames(), (Names{"TESTA"}));
  EXPECT_GT(FindModuleEntry("TESTA")->loadTime, 1);
  EXPECT_EQ(UnloadCoderModule("testa"), 1);  // UnregistertestaImage is not exported
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_EQ(raises.all()[0].severity, 315);
  EXPECT_EQ(FindModuleEntry(nullptr), nullptr);
}

TEST_F(ModulesTest, LoadingAllAndUnloadingAll) {
  RecordedRaises raises;
  UseModuleDirectory(ModuleDirectory());
  EXPECT_EQ(LoadAllCoderModules(), 4);  // BROKEN, NOREG, NOUNREG, TESTA
  EXPECT_EQ(ListNames().size(), 3u);    // BROKEN did not load
  UnloadAllCoderModules();
  EXPECT_EQ(FindModuleEntry(nullptr), nullptr);
  EXPECT_EQ(pixbase::ModuleDirectories()[0], nullptr);
  // With no module loaded the directory list stays.
  UseModuleDirectory(ModuleDirectory());
  UnloadAllCoderModules();
  ASSERT_NE(pixbase::ModuleDirectories()[0], nullptr);
  EXPECT_EQ(LoadAllCoderModules(), 4);
  pixbase::ClearModuleDirectories();
  EXPECT_EQ(LoadAllCoderModules(), 0);
}

TEST_F(ModulesTest, NoMemoryWhileLoading) {
  RecordedRaises raises;
  UseModuleDirectory(ModuleDirectory());
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(LoadCoderModule("TESTA"), 0);
  pixbase::testing::StopFailingAllocations();
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_EQ(raises.all()[0].reason, "Unable to get module name");
  // The module entry: the library is released again and nothing is listed.
  raises.clear();
  pixbase::testing::FailAllocationsAfter(1, 1);
  EXPECT_EQ(LoadCoderModule("TESTA"), 0);
  pixbase::testing::StopFailingAllocations();
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_EQ(raises.all()[0].reason, "Unable to allocate module info");
  EXPECT_EQ(FindModuleEntry(nullptr), nullptr);
}

TEST_F(ModulesTest, TheSearchPathIsTriedElementByElement) {
  std::string modules = ModuleDirectory();
  void* direct = LoadLibraryOnPath((modules + kSeparator + "VELOTESTA.dll").c_str());
  ASSERT_NE(direct, nullptr);
  EXPECT_NE(FindLibrarySymbol(direct, "RegisterTESTAImage"), nullptr);
  EXPECT_EQ(FindLibrarySymbol(direct, "RegisterNothingImage"), nullptr);
  EXPECT_EQ(FindLibrarySymbol(nullptr, "RegisterTESTAImage"), nullptr);
  std::string too_long(3000, 'p');
  SetLibrarySearchPath(
      (::testing::TempDir() + "pixbase_none;" + too_long + ";;" + modules + kSeparator).c_str());
  void* found = LoadLibraryOnPath("VELOTESTA.dll");
  EXPECT_EQ(found, direct);  // the same library, counted twice
  EXPECT_EQ(ReleaseLibrary(found), 1);
  EXPECT_EQ(LoadLibraryOnPath("VELONOSUCH.dll"), nullptr);
  EXPECT_EQ(LoadLibraryOnPath(nullptr), nullptr);
  // A path is loaded as given, whatever the search path says.
  SetLibrarySearchPath(::testing::TempDir().c_str());
  UseModuleDirectory(modules);
  EXPECT_EQ(LoadCoderModule("TESTA"), 1);
  EXPECT_EQ(UnloadCoderModule("TESTA"), 1);
  EXPECT_EQ(ReleaseLibrary(direct), 1);
  EXPECT_EQ(ReleaseLibrary(nullptr), 0);
}

// Only an absolute name is loaded as it stands; a relative name, with
// separators or without, is tried in each element of the search path.
TEST_F(ModulesTest, ARelativeNameWithSeparatorsIsJoinedToTheSearchPath) {
  std::string modules = ModuleDirectory();
  void* direct = LoadLibraryOnPath((modules + kSeparator + "VELOTESTA.dll").c_str());
  ASSERT_NE(direct, nullptr);
  std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(::testing::TempDir());  // which does not hold it
  std::string relative = std::string("modules") + kSeparator + "VELOTESTA.dll";
  EXPECT_NE(CheckPathAccess(relative.c_str(), 0), 0);
  SetLibrarySearchPath((::testing::TempDir() + "pixbase_none;" + BuiltLibraryFolder()).c_str());
  void* found = LoadLibraryOnPath(relative.c_str());
  EXPECT_EQ(LoadLibraryOnPath((std::string("none") + kSeparator + "VELOTESTA.dll").c_str()),
            nullptr);
  // Where neither the working directory nor the program's own directory
  // holds the relative name (Win32 looks there too), only the search path
  // finds it.
  std::string elsewhere = Directory("pixbase_search", {});
  std::filesystem::create_directories(elsewhere + kSeparator + "inner");
  std::filesystem::copy_file(modules + kSeparator + "VELOTESTA.dll",
                             elsewhere + kSeparator + "inner" + kSeparator + "VELOTESTA.dll");
  SetLibrarySearchPath((::testing::TempDir() + "pixbase_none;" + elsewhere).c_str());
  void* copy = LoadLibraryOnPath((std::string("inner") + kSeparator + "VELOTESTA.dll").c_str());
  std::filesystem::current_path(saved);
  EXPECT_EQ(found, direct);
  if (found != nullptr) ReleaseLibrary(found);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(FindLibrarySymbol(copy, "RegisterTESTAImage"), nullptr);
  EXPECT_EQ(ReleaseLibrary(copy), 1);
  EXPECT_EQ(ReleaseLibrary(direct), 1);
}

TEST(LibraryPathTest, OnlyNamesFromARootOrADriveAreAbsolute) {
#ifdef _WIN32
  const char* absolute[] = {"C:\\m\\VELOX.dll", "c:/m/VELOX.dll", "\\\\server\\share\\VELOX.dll",
                            "//server/share/VELOX.dll"};
  const char* relative[] = {"VELOX.dll",   "sub\\VELOX.dll", "sub/VELOX.dll", "\\m\\VELOX.dll",
                            "C:VELOX.dll", ".\\VELOX.dll",   "1:\\VELOX.dll", ""};
#else
  const char* absolute[] = {"/usr/lib/VELOX.dll", "//VELOX.dll"};
  const char* relative[] = {"VELOX.dll", "sub/VELOX.dll", "./VELOX.dll", "C:\\m\\VELOX.dll", ""};
#endif
  for (const char* name : absolute) EXPECT_TRUE(pixbase::platform::IsAbsolutePath(name)) << name;
  for (const char* name : relative) EXPECT_FALSE(pixbase::platform::IsAbsolutePath(name)) << name;
}

TEST_F(ModulesTest, ASearchPathThatCannotBeCopiedIsNone) {
  RecordedRaises raises;
  SetLibrarySearchPath(::testing::TempDir().c_str());
  pixbase::testing::FailAllocationsAfter(0, 1);
  SetLibrarySearchPath("c:\\elsewhere");
  pixbase::testing::StopFailingAllocations();
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_EQ(raises.all()[0].reason, "Unable to allocate string");
  // No search path: the name goes to the platform loader as it is.
  std::string modules = ModuleDirectory() + kSeparator + "VELOTESTA.dll";
  void* handle = LoadLibraryOnPath(modules.c_str());
  EXPECT_NE(handle, nullptr);
  ReleaseLibrary(handle);
}

TEST_F(ModulesTest, AModuleDirectoryTooLongForThePathIsNotSearched) {
  RecordedRaises raises;
  UseModuleDirectory(std::string(PIXBASE_TEXT_EXTENT - 8, 'd'));
  EXPECT_EQ(LoadCoderModule("TESTA"), 0);
  EXPECT_TRUE(raises.all().empty());
}

#ifndef _WIN32
// Natively the modules call the kernel linked into these tests, so their
// formats arrive in this registry. (On Win32 they bind to PIXBASE.dll; the
// client tests cover the same through the shipped library.)
TEST_F(ModulesTest, RegisteredFormatsComeAndGoWithTheirModule) {
  RecordedRaises raises;
  UseModuleDirectory(ModuleDirectory());
  ASSERT_EQ(LoadCoderModule("TESTA"), 1);
  ASSERT_NE(FindFormatEntry("TSTA"), nullptr);
  ASSERT_NE(FindFormatEntry("TSTW"), nullptr);
  std::string path = WriteTempFile("pixbase_module_probe.bin", "TSTW and more");
  char destination[PIXBASE_TEXT_EXTENT] = {};
  EXPECT_EQ(DetectImageFormat(path.c_str(), destination), 1);
  EXPECT_STREQ(destination, "TSTW");
  EXPECT_EQ(UnloadCoderModule("TESTA"), 1);
  EXPECT_EQ(FindFormatEntry("TSTA"), nullptr);
  EXPECT_EQ(FindFormatEntry("TSTW"), nullptr);
  std::remove(path.c_str());
  EXPECT_TRUE(raises.all().empty());
}

TEST_F(ModulesTest, UnloadingRemovesFormatsTheModuleLeftBehind) {
  RecordedRaises raises;
  UseModuleDirectory(ModuleDirectory());
  ASSERT_EQ(LoadCoderModule("NOUNREG"), 1);
  ASSERT_NE(FindFormatEntry("NOUN"), nullptr);
  FormatEntry* own = AllocateFormatEntry("KEPT");
  RegisterFormatEntry(own);
  EXPECT_EQ(UnloadCoderModule("NOUNREG"), 1);
  ASSERT_EQ(raises.all().size(), 1u);
  EXPECT_EQ(raises.all()[0].severity, 315);
  // Its test pointed into the released library: gone, and detection is safe.
  EXPECT_EQ(FindFormatEntry("NOUN"), nullptr);
  EXPECT_EQ(FindFormatEntry("KEPT"), own);
  std::string path = WriteTempFile("pixbase_after_unload.noun", "NOUN");
  char destination[PIXBASE_TEXT_EXTENT] = {};
  EXPECT_EQ(DetectImageFormat(path.c_str(), destination), 0);
  std::remove(path.c_str());
}
#endif

}  // namespace
