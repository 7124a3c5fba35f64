// Whole runs of setup on the simulated machine: start-up, the destination
// checks, the copy, the post-copy steps and what they leave behind.
#include "driver/driver.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "driver/state.h"
#include "harness.h"
#include "payload/payload_table.h"

namespace setup {
namespace {

using namespace simulated;
using testing::AcceptStart;
using testing::CancelStart;
using testing::FreshMachine;
using testing::LoggedDirectories;
using testing::LoggedFiles;
using testing::MemberBytes;
using testing::RunInstaller;

const std::string kUninstallEntry =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumaview";

class Driver : public ::testing::Test {
 protected:
  void SetUp() override { FreshMachine(); }
};

TEST_F(Driver, CompleteEnglishRunInstallsEveryMemberAndRecordsIt) {
  // No Shell Folders key: the group goes into the fallback folder.
  const std::string group =
      "C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Programs\\Corvane Widelens";
  AddDirectory("C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Programs");
  AcceptStart();
  ASSERT_EQ(RunInstaller(), 1);

  const std::string root = "C:\\Corvane\\Widelens\\";
  for (int i = 0; i < PayloadTable.count; ++i) {
    SCOPED_TRACE(PayloadTable.members[i].name);
    EXPECT_EQ(Bytes(root + PayloadTable.members[i].name), MemberBytes(i));
  }
  EXPECT_EQ(FilesBelow(root).size(), 14u);
  EXPECT_FALSE(Exists(root + "Test.txt"));

  std::vector<std::string> files = LoggedFiles();
  ASSERT_EQ(files.size(), 18u);
  for (int i = 0; i < PayloadTable.count; ++i)
    EXPECT_EQ(files[i], root + PayloadTable.members[i].name);
  EXPECT_EQ(files[14], group + "\\Corvane Widelens.lnk");
  EXPECT_EQ(files[15], group + "\\Remove Widelens.lnk");
  EXPECT_EQ(files[16], group + "\\Welcome to www.corvane.example.com.URL");
  EXPECT_EQ(files.back(), "C:\\Corvane\\Widelens\\Cache\\*.*");
  EXPECT_EQ(LoggedDirectories(), (std::vector<std::string>{"C:\\Corvane", "C:\\Corvane\\Widelens\\",
                                                           "C:\\Corvane\\Widelens", group}));
  EXPECT_EQ(ProfileValue("INSTALL", "GROUP"), "Corvane Widelens");
  // Short form in the settings file, long form elsewhere.
  EXPECT_EQ(ProfileValue("INSTALL", "INSTALLPATH"), "C:\\Corvane\\Widelens\\");
  EXPECT_EQ(ProfileValue("UNINSTALL", "UNINSTALLPATH"), "C:\\Corvane\\Widelens\\");
  EXPECT_EQ(ProfileValue("ADBarParamter", "ImageFileName"), "C:\\Corvane\\Widelens\\Widelens.GIF");
  EXPECT_EQ(RegistryValue(kUninstallEntry, "DisplayName"), "Corvane Widelens");
  EXPECT_EQ(RegistryValue(kUninstallEntry, "UninstallString"),
            "C:\\Corvane\\Widelens\\UNINST32.EXE");
  EXPECT_EQ(TheMachine().dialogs_run, (std::vector<int>{10510, 105, 110, 107}));
  EXPECT_TRUE(TheMachine().messages.empty());
}

}  // namespace
}  // namespace setup
