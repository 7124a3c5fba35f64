// Things in use: a locked file, a running viewer, the uninstaller's own
// file and its copy in the temporary folder, and system calls that fail.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/handoff.h"
#include "core/report.h"
#include "core/uninstaller.h"
#include "core/viewer.h"
#include "harness.h"
#include "platform/platform.h"
#include "platform/simulated/machine.h"
#include "platform/simulated/removal_state.h"
#include "platform/simulated/shell_state.h"
#include "resources/uninstall_ids.h"
#include "uninstall_harness.h"

namespace uninstall {
namespace {

using namespace setup::simulated;
using namespace testing;
namespace platform = setup::platform;

class InUse : public InstalledProduct {
 protected:
  void SetUp() override {
    InstalledProduct::SetUp();
    ScriptUser();
  }
};

TEST_F(InUse, ALockedFileIsRetriedThenScheduledForTheNextRestart) {
  LockFileFor(kInstall + "\\LibPNG.dll", UINT32_MAX);
  std::uint32_t start = TheMachine().clock;
  EXPECT_EQ(RunInstalled(), kExitRestartNeeded);
  EXPECT_EQ(Summary().headline, "#18");
  EXPECT_TRUE(Exists(kInstall + "\\LibPNG.dll"));
  // Tried a few times, a bounded wait between.
  EXPECT_EQ(JournalLines("delete C:\\Corvane\\Widelens\\LibPNG.dll").size(),
            static_cast<std::size_t>(kRemoveAttempts));
  EXPECT_LE(TheMachine().clock - start, kRemoveAttempts * kRetryPauseMs);
  // The file, then its folders (which hold nothing else) at the restart.
  auto& scheduled = TheRemoval().scheduled;
  ASSERT_GE(scheduled.size(), 1u);
  EXPECT_EQ(scheduled[0], "C:\\Corvane\\Widelens\\LibPNG.dll");
  EXPECT_NE(Summary().list.find("#22"), std::string::npos);
  // Everything else went.
  EXPECT_FALSE(Exists(kInstall + "\\Lumaview.exe"));
  EXPECT_FALSE(Exists(kGroup));
  EXPECT_FALSE(SettingsFileExists());
}

TEST_F(InUse, AFileThatUnlocksDuringTheRetriesIsRemoved) {
  LockFileFor(kInstall + "\\LibPNG.dll", 2 * kRetryPauseMs);
  EXPECT_EQ(RunInstalled("/S"), kExitRemoved);
  EXPECT_FALSE(Exists(kInstall + "\\LibPNG.dll"));
  EXPECT_EQ(std::count_if(
                TheRemoval().scheduled.begin(), TheRemoval().scheduled.end(),
                [](const std::string& path) { return path.find("LibPNG") != std::string::npos; }),
            0);
}

TEST_F(InUse, AFileThatCannotBeScheduledIsLeftAndSaysSo) {
  LockFileFor(kInstall + "\\LibPNG.dll", UINT32_MAX);
  TheRemoval().schedule_fails = true;
  EXPECT_EQ(RunInstalled(), kExitLeftSomething);
  EXPECT_NE(Summary().list.find("LibPNG.dll: #41"), std::string::npos) << Summary().list;
  EXPECT_NE(Summary().list.find(kInstall + ": #30"), std::string::npos);
}

TEST_F(InUse, AnEmptyFolderInUseIsRetriedThenScheduled) {
  TheMachine().nodes[Canonical(kInstall + "\\Docs\\Deep")].locked = true;
  EXPECT_EQ(RunInstalled("/S"), kExitRestartNeeded);
  EXPECT_TRUE(IsDirectory(kInstall + "\\Docs\\Deep"));
  EXPECT_FALSE(Exists(kInstall + "\\Docs\\Deep\\NOTE.TXT"));
  auto& scheduled = TheRemoval().scheduled;
  ASSERT_FALSE(scheduled.empty());
  EXPECT_EQ(Canonical(scheduled[0]), Canonical(kInstall + "\\Docs\\Deep"));
  // Its parents hold nothing else: they follow it at the restart.
  EXPECT_NE(std::find_if(scheduled.begin(), scheduled.end(),
                         [](const std::string& path) {
                           return Canonical(path) == Canonical(kInstall + "\\Docs");
                         }),
            scheduled.end());
}

TEST_F(InUse, AnEmptyFolderInUseThatCannotBeScheduledIsReported) {
  TheMachine().nodes[Canonical(kInstall + "\\Docs\\Deep")].locked = true;
  TheRemoval().schedule_fails = true;
  EXPECT_EQ(RunInstalled(), kExitLeftSomething);
  EXPECT_NE(Summary().list.find("\\Docs\\Deep: #41"), std::string::npos) << Summary().list;
}

TEST_F(InUse, AReadOnlyFileIsMadeWritableAndRemoved) {
  MakeReadOnly(kInstall + "\\LibTIFF.dll");
  EXPECT_EQ(RunInstalled("/S"), kExitRemoved);
  EXPECT_FALSE(Exists(kInstall + "\\LibTIFF.dll"));
}

// --- The running viewer ----------------------------------------------------------

constexpr platform::Window kViewer = 0x5000;

class Viewer : public InUse {
 protected:
  void SetUp() override {
    InUse::SetUp();
    TheMachine().windows.insert(kViewer);
    SetProfileValue("SETTING", "Monitor", std::to_string(kViewer));
  }
};

TEST_F(Viewer, AViewerThatClosesWhenToldLetsTheRemovalGoOn) {
  TheRemoval().closes_after[kViewer] = 1000;
  EXPECT_EQ(RunInstalled(), kExitRemoved);
  ASSERT_EQ(TheMachine().sent.size(), 1u);
  EXPECT_EQ(TheMachine().sent[0].message, 19592u);
  EXPECT_EQ(TheMachine().sent[0].wparam, 16u);
  EXPECT_EQ(TheMachine().sent[0].lparam, 0);
  EXPECT_EQ(MessageIds(), std::vector<std::string>{"#13"});
  EXPECT_FALSE(Exists(kInstall + "\\Lumaview.exe"));
}

TEST_F(Viewer, AViewerThatStaysOpenIsLeftToTheUserAndNothingGoesMeanwhile) {
  std::vector<std::string> answered;
  TheMachine().answer = [&](const MessageRecord& message) {
    answered.push_back(message.text);
    if (message.buttons == platform::Buttons::YesNo) return platform::kAnswerYes;
    // Nothing was removed before the question is answered.
    EXPECT_TRUE(JournalLines("delete").empty());
    return answered.size() < 3 ? platform::kAnswerRetry : platform::kAnswerCancel;
  };
  std::uint32_t start = TheMachine().clock;
  EXPECT_EQ(RunInstalled(), kExitNotStarted);
  EXPECT_EQ(answered, (std::vector<std::string>{"#13", "#14", "#14"}));
  EXPECT_EQ(TheMachine().sent.size(), 2u);  // told again at each Retry
  EXPECT_LE(TheMachine().clock - start, 2 * kCloseWaitMs + 100);
  EXPECT_TRUE(JournalLines("delete").empty());
  EXPECT_TRUE(SettingsFileExists());
  EXPECT_EQ(Summary().template_id, 0);
}

TEST_F(Viewer, RetryAfterTheUserClosedItGoesOn) {
  TheMachine().answer = [](const MessageRecord& message) {
    if (message.buttons == platform::Buttons::YesNo) return platform::kAnswerYes;
    TheMachine().windows.erase(kViewer);  // the user closes it
    return platform::kAnswerRetry;
  };
  EXPECT_EQ(RunInstalled(), kExitRemoved);
  EXPECT_EQ(MessageIds(), (std::vector<std::string>{"#13", "#14"}));
  EXPECT_FALSE(Exists(kInstall + "\\Lumaview.exe"));
}

TEST_F(Viewer, SilentModeWaitsABoundedTimeThenEndsWithoutRemoving) {
  TheRemoval().hung.insert(kViewer);
  std::uint32_t start = TheMachine().clock;
  EXPECT_EQ(RunInstalled("/S"), kExitNotStarted);
  EXPECT_TRUE(TheMachine().messages.empty());
  EXPECT_LE(TheMachine().clock - start, kNotifyTimeoutMs + kCloseWaitMs);
  EXPECT_TRUE(JournalLines("delete").empty());
  EXPECT_TRUE(Exists(kInstall + "\\Lumaview.exe"));
}

TEST_F(Viewer, AMonitorEntryOfAClosedWindowSendsNothing) {
  TheMachine().windows.erase(kViewer);
  EXPECT_EQ(RunInstalled("/S"), kExitRemoved);
  EXPECT_TRUE(TheMachine().sent.empty());
}

// --- The uninstaller's own file -------------------------------------------------------

TEST_F(InUse, TheCopyWaitsForTheOriginalToEnd) {
  RunInstalled("/S");
  LockFileFor(kInstall + "\\UNINST32.exe", 1000);  // the original is still ending
  EXPECT_EQ(RunStartedCopy(), kExitRemoved);
  EXPECT_FALSE(Exists("C:\\Corvane"));
}

TEST_F(InUse, AnOriginalThatNeverEndsIsLeftToTheNextRestart) {
  RunInstalled("/S");
  LockFileFor(kInstall + "\\UNINST32.exe", UINT32_MAX);
  std::uint32_t start = TheMachine().clock;
  EXPECT_EQ(RunStartedCopy(), kExitRemoved);
  EXPECT_LE(TheMachine().clock - start, kCleanupAttempts * kCleanupPauseMs);
  EXPECT_EQ(
      TheRemoval().scheduled,
      (std::vector<std::string>{"C:\\Corvane\\Widelens\\UNINST32.exe", "C:\\Corvane\\Widelens",
                                "C:\\Corvane", "C:\\WINDOWS\\TEMP\\LVUNINS0.EXE"}));
}

TEST_F(InUse, WithoutATemporaryFolderItsOwnFileGoesAtTheNextRestart) {
  TheRemoval().temporary_directory_fails = true;
  EXPECT_EQ(RunInstalled(), kExitRestartNeeded);
  EXPECT_TRUE(TheRemoval().started.empty());
  EXPECT_EQ(TheRemoval().scheduled,
            (std::vector<std::string>{"C:\\Corvane\\Widelens\\UNINST32.exe",
                                      "C:\\Corvane\\Widelens", "C:\\Corvane"}));
  EXPECT_NE(Summary().list.find("#22"), std::string::npos);
}

TEST_F(InUse, ACopyThatCannotBeMadeTriesOtherNamesFirst) {
  AddDirectory("C:\\WINDOWS\\TEMP\\LVUNINS0.EXE");  // a folder in the way
  EXPECT_EQ(RunInstalled("/S"), kExitRemoved);
  ASSERT_EQ(TheRemoval().started.size(), 1u);
  EXPECT_EQ(TheRemoval().started[0].first, "C:\\WINDOWS\\TEMP\\LVUNINS1.EXE");
}

TEST_F(InUse, ACopyThatCannotBeStartedIsDeletedAndTheRestartTakesOver) {
  TheRemoval().start_fails = true;
  EXPECT_EQ(RunInstalled("/S"), kExitRestartNeeded);
  EXPECT_FALSE(Exists("C:\\WINDOWS\\TEMP\\LVUNINS0.EXE"));
  EXPECT_EQ(TheRemoval().scheduled.size(), 3u);
}

TEST_F(InUse, CopyFailuresEverywhereStillEndWithTheRestart) {
  TheRemoval().copy_fails = true;
  EXPECT_EQ(RunInstalled("/S"), kExitRestartNeeded);
  EXPECT_TRUE(TheRemoval().started.empty());
  EXPECT_EQ(JournalLines("copy ").size(), static_cast<std::size_t>(kCopyNames));
}

// --- Registry --------------------------------------------------------------------

TEST_F(InUse, ARegistryKeyThatCannotBeDeletedIsReported) {
  TheRemoval().registry_delete_fails = true;
  EXPECT_EQ(RunInstalled(), kExitLeftSomething);
  EXPECT_TRUE(RegistryKeyExists(kUninstallEntry));
  EXPECT_NE(Summary().list.find(
                "#42 "
                "(HKEY_LOCAL_"
                "MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumaview): #41"),
            std::string::npos);
  EXPECT_FALSE(SettingsFileExists());
}

TEST_F(InUse, AMissingRegistryKeyIsNoFailure) {
  TheMachine().registry.erase(kUninstallEntry);
  EXPECT_EQ(RunInstalled("/S"), kExitRemoved);
}

}  // namespace
}  // namespace uninstall
