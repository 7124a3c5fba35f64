// The uninstall log, ForceDirectories, the registry entry and the deletion
// of the settings file, on the simulated machine.
#include "log/settings_log.h"

#include <gtest/gtest.h>

#include "common/state.h"
#include "harness.h"

namespace setup {
namespace {

using namespace simulated;
using testing::FreshMachine;
using testing::LoggedDirectories;
using testing::LoggedFiles;
using testing::SettingsFileExists;

class SettingsLog : public ::testing::Test {
 protected:
  void SetUp() override { FreshMachine(); }
  void TearDown() override { testing::ExpectNothingLeftOpen(); }
};

TEST_F(SettingsLog, WritesTheCountBeforeEachEntry) {
  LogInstalledFile("C:\\A\\ONE.DLL");
  LogInstalledDirectory("C:\\A");
  LogInstalledFile("C:\\A\\TWO.DLL");
  EXPECT_EQ(JournalLines("profile"),
            (std::vector<std::string>{
                "profile [UNINSTALL] FILENUM=1", "profile [UNINSTALL] FILE1=C:\\A\\ONE.DLL",
                "profile [UNINSTALL] PATHNUM=1", "profile [UNINSTALL] DIR1=C:\\A",
                "profile [UNINSTALL] FILENUM=2", "profile [UNINSTALL] FILE2=C:\\A\\TWO.DLL"}));
}

TEST_F(SettingsLog, ForceDirectoriesLogsMissingAncestorsAndThePathAsGiven) {
  ForceDirectories("C:\\Corvane\\Widelens\\");
  EXPECT_TRUE(IsDirectory("C:\\Corvane\\Widelens"));
  EXPECT_EQ(LoggedDirectories(),
            (std::vector<std::string>{"C:\\Corvane", "C:\\Corvane\\Widelens\\"}));
}

TEST_F(SettingsLog, ForceDirectoriesLogsAnExistingDirectoryAndKeepsTheCurrentOne) {
  AddDirectory("C:\\Program Files\\Old");
  TheMachine().current_directory = "D:\\SETUP";
  ForceDirectories("C:\\Program Files\\Old");
  EXPECT_EQ(LoggedDirectories(), (std::vector<std::string>{"C:\\Program Files\\Old"}));
  EXPECT_EQ(TheMachine().current_directory, "D:\\SETUP");
}

TEST_F(SettingsLog, ForceDirectoriesLogsNothingItCouldNotCreate) {
  TheMachine().read_only_drives.insert('C');
  ForceDirectories("C:\\X\\Y");
  EXPECT_FALSE(Exists("C:\\X"));
  EXPECT_TRUE(LoggedDirectories().empty());
  // An ancestor that could be made is logged; the one that could not is not.
  TheMachine().read_only_drives.clear();
  AddDirectory("C:\\X");
  TheMachine().nodes[Canonical("C:\\X")].locked = true;
  ForceDirectories("C:\\X\\Y\\Z");
  EXPECT_TRUE(LoggedDirectories().empty());
  TheMachine().nodes[Canonical("C:\\X")].locked = false;
  ForceDirectories("C:\\X\\Y\\Z");
  EXPECT_EQ(LoggedDirectories(), (std::vector<std::string>{"C:\\X\\Y", "C:\\X\\Y\\Z"}));
}

TEST_F(SettingsLog, RegistersTheUninstallEntryWithTheTextsAndTheirTerminatingZero) {
  RegisterUninstallEntry("Lumaview", "Corvane Widelens", "C:\\W\\UNINST32.EXE");
  const std::string key = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumaview";
  EXPECT_EQ(RegistryValue(key, "DisplayName"), "Corvane Widelens");
  EXPECT_EQ(RegistryValue(key, "UninstallString"), "C:\\W\\UNINST32.EXE");
  // A reader of a REG_SZ value finds its end in the data: the zero is stored.
  EXPECT_EQ(RegistryData(key, "DisplayName"), std::string("Corvane Widelens", 17));
  EXPECT_EQ(RegistryData(key, "UninstallString"), std::string("C:\\W\\UNINST32.EXE", 18));
}

TEST_F(SettingsLog, AnUninstallKeyThatCannotBeWrittenRegistersNothing) {
  TheMachine().read_only_keys.insert(
      "hklm\\software\\microsoft\\windows\\currentversion\\uninstall");
  RegisterUninstallEntry("Lumaview", "Corvane Widelens", "C:\\W\\UNINST32.EXE");
  EXPECT_FALSE(
      RegistryKeyExists("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumaview"));
}

TEST_F(SettingsLog, DeletesTheSettingsFileFromTheWindowsDirectory) {
  LogInstalledFile("C:\\A\\ONE.DLL");
  ASSERT_TRUE(SettingsFileExists());
  DeleteSettingsFile();
  EXPECT_FALSE(SettingsFileExists());
  EXPECT_EQ(JournalLines("delete"), (std::vector<std::string>{"delete C:\\WINDOWS\\Lumaview.INI"}));
}

}  // namespace
}  // namespace setup
