// Install → uninstall round trips on the simulated machine: everything setup
// made goes, in the fixed order; a file the user added stays with its
// folders; silent mode and its exit codes; a second run finds nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/report.h"
#include "core/uninstaller.h"
#include "harness.h"
#include "platform/simulated/removal_state.h"
#include "resources/uninstall_ids.h"
#include "uninstall_harness.h"

namespace uninstall {
namespace {

using namespace setup::simulated;
using namespace testing;

class RoundTrip : public InstalledProduct {};

// Everything the product put on the machine, checked one by one.
void ExpectNothingOfTheProduct() {
  EXPECT_FALSE(Exists("C:\\Corvane"));
  EXPECT_FALSE(Exists(kGroup));
  EXPECT_TRUE(IsDirectory(kCommonPrograms));
  EXPECT_FALSE(Exists(kQuickLaunch + "\\Corvane Widelens.lnk"));
  EXPECT_TRUE(IsDirectory(kQuickLaunch));
  EXPECT_FALSE(RegistryKeyExists(kUninstallEntry));
  EXPECT_TRUE(RegistryKeyExists("hklm\\software\\microsoft\\windows\\currentversion\\uninstall"));
  EXPECT_FALSE(SettingsFileExists());
}

TEST_F(RoundTrip, TheInstallHasWhatTheRoundTripRemoves) {
  // The premises of the tests below: setup made all of it.
  EXPECT_TRUE(Exists(kInstall + "\\UNINST32.exe"));
  EXPECT_TRUE(Exists(kInstall + "\\Docs\\Deep\\NOTE.TXT"));
  EXPECT_TRUE(Exists(kGroup + "\\Remove Widelens.lnk"));
  EXPECT_TRUE(Exists(kGroup + "\\Help Documentation.lnk"));
  EXPECT_TRUE(Exists(kQuickLaunch + "\\Corvane Widelens.lnk"));
  EXPECT_TRUE(RegistryKeyExists(kUninstallEntry));
  EXPECT_EQ(ProfileValue("UNINSTALL", "DIR1"), "C:\\Corvane");
}

TEST_F(RoundTrip, RemovesEverythingSetupMadeAndItsOwnFileThroughTheCopy) {
  ScriptUser();
  EXPECT_EQ(RunInstalled(), kExitRemoved);
  EXPECT_EQ(MessageIds(), std::vector<std::string>{"#13"});  // the confirmation only
  EXPECT_EQ(Summary().template_id, IDD_SUMMARY_EN);
  EXPECT_EQ(Summary().headline, "#16");
  // Only the running program and the folders holding it are left for its copy.
  std::vector<std::string> left = Below("C:\\Corvane");
  EXPECT_EQ(left, (std::vector<std::string>{"C:\\Corvane", "C:\\Corvane\\Widelens",
                                            "C:\\Corvane\\Widelens\\UNINST32.exe"}));
  ASSERT_EQ(TheRemoval().started.size(), 1u);
  EXPECT_EQ(TheRemoval().started[0].first, "C:\\WINDOWS\\TEMP\\LVUNINS0.EXE");
  EXPECT_EQ(TheRemoval().started[0].second,
            "/CLEANUP \"C:\\Corvane\\Widelens\\UNINST32.exe\" \"C:\\Corvane\"");

  EXPECT_EQ(RunStartedCopy(), kExitRemoved);
  ExpectNothingOfTheProduct();
  // The copy goes at the next restart; nothing else waits for it.
  EXPECT_EQ(TheRemoval().scheduled, std::vector<std::string>{"C:\\WINDOWS\\TEMP\\LVUNINS0.EXE"});
}

TEST_F(RoundTrip, RemovesFilesFromTheHighestIndexDownThenTheLinkThenFolders) {
  std::vector<std::string> files = setup::testing::LoggedFiles();
  std::vector<std::string> folders = setup::testing::LoggedDirectories();
  std::string fastlink = ProfileValue("UNINSTALL", "FASTLINK");
  TheMachine().journal.clear();
  ScriptUser();
  RunInstalled("/S");
  std::vector<std::string> deleted;
  for (const std::string& line : JournalLines("delete ")) deleted.push_back(line.substr(7));
  std::vector<std::string> expected;
  for (auto it = files.rbegin(); it != files.rend(); ++it) {
    if (it->find("UNINST32") != std::string::npos || it->find("*.*") != std::string::npos) continue;
    expected.push_back(*it);
  }
  expected.push_back(fastlink);
  ASSERT_GE(deleted.size(), expected.size() + 1);
  EXPECT_EQ(std::vector<std::string>(deleted.begin(), deleted.begin() + expected.size()), expected);
  // The settings file last.
  EXPECT_EQ(deleted.back(), "C:\\WINDOWS\\Lumaview.INI");
  // Folders after every file: the journal shows the registry key after them.
  auto registry = std::find(TheMachine().journal.begin(), TheMachine().journal.end(),
                            "delete registry key " + kUninstallEntry);
  ASSERT_NE(registry, TheMachine().journal.end());
  EXPECT_FALSE(Exists(kGroup));
  EXPECT_FALSE(Exists(kInstall + "\\Docs"));
  (void)folders;
}

TEST_F(RoundTrip, APlantedFileStaysWithItsFolders) {
  AddFile(kInstall + "\\My Notes.txt", "mine");
  ScriptUser();
  EXPECT_EQ(RunInstalled(), kExitLeftSomething);
  EXPECT_EQ(Summary().headline, "#17");
  EXPECT_NE(Summary().list.find("C:\\Corvane\\Widelens: #30"), std::string::npos) << Summary().list;
  EXPECT_EQ(RunStartedCopy(), kExitRemoved);
  EXPECT_EQ(Below("C:\\Corvane"), (std::vector<std::string>{"C:\\Corvane", "C:\\Corvane\\Widelens",
                                                            kInstall + "\\My Notes.txt"}));
  EXPECT_EQ(Bytes(kInstall + "\\My Notes.txt"), std::vector<std::uint8_t>({'m', 'i', 'n', 'e'}));
  EXPECT_FALSE(Exists(kGroup));
  EXPECT_FALSE(SettingsFileExists());
}

TEST_F(RoundTrip, InstallAgainIntoTheSamePlaceAndRemoveAgain) {
  AddFile(kInstall + "\\My Notes.txt", "mine");
  ScriptUser();
  RunInstalled("/S");
  RunStartedCopy();
  Install();
  EXPECT_TRUE(Exists(kInstall + "\\UNINST32.exe"));
  EXPECT_EQ(RunInstalled("/S"), kExitLeftSomething);  // the planted file keeps its folder
  EXPECT_EQ(RunStartedCopy(), kExitRemoved);
  EXPECT_EQ(Below("C:\\Corvane").size(), 3u);
  EXPECT_TRUE(Exists(kInstall + "\\My Notes.txt"));
  EXPECT_FALSE(Exists(kGroup));
  EXPECT_FALSE(RegistryKeyExists(kUninstallEntry));
}

TEST_F(RoundTrip, SilentModeShowsNothing) {
  ScriptUser();
  EXPECT_EQ(RunInstalled("/S"), kExitRemoved);
  EXPECT_TRUE(TheMachine().messages.empty());
  EXPECT_EQ(Summary().template_id, 0);
  EXPECT_TRUE(TheMachine().dialogs_run.empty());
  RunStartedCopy();
  ExpectNothingOfTheProduct();
}

TEST_F(RoundTrip, ASecondRunFindsNothingInstalled) {
  ScriptUser();
  RunInstalled("/S");
  RunStartedCopy();
  TheMachine().messages.clear();
  EXPECT_EQ(RunInstalled(), kExitNothingInstalled);
  EXPECT_EQ(MessageIds(), std::vector<std::string>{"#11"});
  EXPECT_EQ(RunInstalled("-s"), kExitNothingInstalled);
  EXPECT_EQ(MessageIds().size(), 1u);  // silent: no second message
}

TEST_F(RoundTrip, DecliningRemovesNothing) {
  ScriptUser(false);
  auto before = TheMachine().nodes.size();
  EXPECT_EQ(RunInstalled(), kExitNotStarted);
  EXPECT_EQ(TheMachine().nodes.size(), before);
  EXPECT_TRUE(SettingsFileExists());
  EXPECT_TRUE(JournalLines("delete").empty());
}

TEST_F(RoundTrip, AChineseCodePageUsesTheChineseTexts) {
  TheMachine().code_page = 936;
  ScriptUser();
  RunInstalled();
  EXPECT_EQ(MessageIds(), std::vector<std::string>{"#zh13"});
  EXPECT_EQ(Summary().template_id, IDD_SUMMARY_ZH);
  EXPECT_EQ(Summary().headline, "#zh16");
}

TEST_F(RoundTrip, WhileSetupRunsNothingIsRemoved) {
  TheMachine().events.insert("CORVANE");
  ScriptUser();
  EXPECT_EQ(RunInstalled(), kExitNotStarted);
  EXPECT_EQ(MessageIds(), std::vector<std::string>{"#15"});
  EXPECT_TRUE(SettingsFileExists());
  EXPECT_EQ(RunInstalled("/S"), kExitNotStarted);
}

TEST_F(RoundTrip, TheViewersCacheFilesGoButNothingDeeper) {
  AddFile(kInstall + "\\Cache\\A.TMP", "a");
  AddFile(kInstall + "\\Cache\\B.TMP", "b");
  AddFile(kInstall + "\\Cache\\Sub\\C.TMP", "c");
  ScriptUser();
  EXPECT_EQ(RunInstalled("/S"), kExitLeftSomething);
  EXPECT_FALSE(Exists(kInstall + "\\Cache\\A.TMP"));
  EXPECT_FALSE(Exists(kInstall + "\\Cache\\B.TMP"));
  EXPECT_TRUE(Exists(kInstall + "\\Cache\\Sub\\C.TMP"));
}

TEST_F(RoundTrip, AnEmptyCacheFolderGoesWithItsFiles) {
  AddFile(kInstall + "\\Cache\\A.TMP", "a");
  ScriptUser();
  EXPECT_EQ(RunInstalled("/S"), kExitRemoved);
  RunStartedCopy();
  ExpectNothingOfTheProduct();
}

TEST_F(RoundTrip, FoldersSetupMadeWithoutLoggingThemGoWithTheLoggedOnesBelow) {
  FreshMachine();
  AddFile("D:\\SETUP\\FULLDATA\\Only\\Deeper\\X.TXT", "x");
  Install();
  std::vector<std::string> folders = setup::testing::LoggedDirectories();
  ASSERT_EQ(std::count(folders.begin(), folders.end(), kInstall + "\\Only"), 0);  // the premise
  ScriptUser();
  EXPECT_EQ(RunInstalled("/S"), kExitRemoved);
  EXPECT_FALSE(Exists(kInstall + "\\Only"));
  RunStartedCopy();
  ExpectNothingOfTheProduct();
}

TEST_F(RoundTrip, AChineseInstallRemovedUnderAnEnglishCodePageEndsNormally) {
  FreshMachine();
  TheMachine().code_page = 936;
  Install();
  const std::string group = kCommonPrograms + "\\\xBF\xED\xBE\xB5";  // GBK
  ASSERT_TRUE(IsDirectory(group));
  TheMachine().code_page = 1252;
  ScriptUser();
  int result = RunInstalled("/S");
  EXPECT_TRUE(result == kExitRemoved || result == kExitLeftSomething) << result;
  EXPECT_TRUE(IsDirectory(kCommonPrograms));
  EXPECT_TRUE(IsDirectory("C:\\WINDOWS"));
  EXPECT_TRUE(IsDirectory(kQuickLaunch));
  EXPECT_FALSE(Exists(group));
}

}  // namespace
}  // namespace uninstall
