// The program group, its links and internet shortcut, the removal of an
// earlier group and the Quick Launch link, on the simulated machine.
#include "shortcuts/shortcuts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/state.h"
#include "harness.h"
#include "platform/shell.h"
#include "platform/simulated/shell_state.h"

namespace setup {
namespace {

using namespace simulated;
using testing::ProfileValue;
using testing::SetProfileValue;

// "宽镜" and the Chinese item descriptions in code page 936, as the system
// hands them to an ANSI program.
const std::string kGroupChinese = "\xBF\xED\xBE\xB5";
const std::string kUninstallChinese = "\xD0\xB6\xD4\xD8\xBF\xED\xBE\xB5";
const std::string kHelpChinese = "\xBF\xED\xBE\xB5\xB0\xEF\xD6\xFA\xCE\xC4\xB5\xB5";

using testing::kCommonPrograms;
using testing::kMapGroups;
using testing::kShellFolders;
using testing::kUserPrograms;
using testing::SetRegistryValue;

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FreshMachine();
    ResetShell();
    Strings()[30] = kGroupChinese;
    Strings()[35] = kGroupChinese + ".lnk";
    std::strcpy(TheSetup.InstallRoot, "C:\\Corvane\\Widelens\\");
    std::strcpy(TheSetup.destination, "C:\\Corvane\\Widelens");
    AddDirectory("C:\\Corvane\\Widelens");
    TheSetup.IsNtPlatform = 1;
    SetRegistryValue(platform::RegistryRoot::LocalMachine, kShellFolders, "Common Programs",
                     kCommonPrograms);
    SetRegistryValue(platform::RegistryRoot::CurrentUser, kShellFolders, "Programs", kUserPrograms);
    AddDirectory(kCommonPrograms);
    AddDirectory(kUserPrograms);
  }
  void TearDown() override { testing::ExpectNothingLeftOpen(); }
};

TEST(SplitItemSpec, ACommandWithoutSpaceHasNoArguments) {
  GroupItem item;
  SplitItemSpec(
      "C:\\CORVANE\\WIDELENS\\Lumaview.EXE,Corvane Widelens,C:\\CORVANE\\WIDELENS\\Lumaview.EXE,0",
      &item);
  EXPECT_STREQ(item.target, "C:\\CORVANE\\WIDELENS\\Lumaview.EXE");
  EXPECT_STREQ(item.arguments, "");
  EXPECT_STREQ(item.description, "Corvane Widelens");
  EXPECT_STREQ(item.icon_file, "C:\\CORVANE\\WIDELENS\\Lumaview.EXE");
  EXPECT_EQ(item.icon_index, 0);
}

TEST(SplitItemSpec, TheCommandSplitsAtItsFirstSpace) {
  GroupItem item;
  SplitItemSpec("HH.EXE C:\\CORVANE\\WIDELENS\\Widelens.CHM extra,Help Documentation,HH.EXE, +2",
                &item);
  EXPECT_STREQ(item.target, "HH.EXE");
  EXPECT_STREQ(item.arguments, "C:\\CORVANE\\WIDELENS\\Widelens.CHM extra");
  EXPECT_STREQ(item.description, "Help Documentation");
  EXPECT_STREQ(item.icon_file, "HH.EXE");
  EXPECT_EQ(item.icon_index, 2);
}

TEST(SplitItemSpec, CutsOverlongFields) {
  // The command field holds 255 characters: 100 of target, a space and 154
  // of arguments, of which the arguments keep 127.
  std::string target(100, 'T');
  std::string arguments(300, 'A');
  std::string description(300, 'D');
  std::string item_text = target + " " + arguments + "," + description + ",icon,1";
  GroupItem item;
  SplitItemSpec(item_text.c_str(), &item);
  EXPECT_EQ(std::string(item.target), target);
  EXPECT_EQ(std::string(item.arguments), std::string(127, 'A'));
  EXPECT_EQ(std::string(item.description), std::string(255, 'D'));
  EXPECT_STREQ(item.icon_file, "icon");
  EXPECT_EQ(item.icon_index, 1);

  SplitItemSpec((std::string(400, 'T') + " args,d,i,2").c_str(), &item);
  EXPECT_EQ(std::string(item.target), std::string(255, 'T'));
  EXPECT_STREQ(item.arguments, "");
  EXPECT_STREQ(item.description, "d");
}

TEST(SplitItemSpec, MissingFieldsAreEmpty) {
  GroupItem item;
  SplitItemSpec("ONLY.EXE", &item);
  EXPECT_STREQ(item.target, "ONLY.EXE");
  EXPECT_STREQ(item.description, "");
  EXPECT_STREQ(item.icon_file, "");
  EXPECT_EQ(item.icon_index, 0);
}

// --- Folders --------------------------------------------------------------------

TEST_F(Shortcuts, ProgramsFoldersComeFromTheRegistry) {
  char folder[512];
  GetCommonProgramsFolder(folder, sizeof folder);
  EXPECT_EQ(std::string(folder), kCommonPrograms);
  GetProgramsFolder(folder, sizeof folder);
  EXPECT_EQ(std::string(folder), kUserPrograms);
}

TEST_F(Shortcuts, ProgramsFoldersFallBackUnderTheWindowsDirectory) {
  TheMachine().registry.clear();
  char folder[512];
  GetProgramsFolder(folder, sizeof folder);
  EXPECT_STREQ(folder, "C:\\WINDOWS\\Start Menu\\Programs");
  GetCommonProgramsFolder(folder, sizeof folder);
  EXPECT_STREQ(folder, "C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Programs");
}

TEST_F(Shortcuts, AKeyThatCannotBeWrittenCountsAsMissing) {
  TheMachine().windows_directory = "C:\\WINNT";
  AddDirectory("C:\\WINNT");
  // Keys are kept in lower case.
  std::string key = "hklm\\software\\microsoft\\windows\\currentversion\\explorer\\shell folders";
  TheMachine().read_only_keys.insert(key);
  char folder[512];
  GetCommonProgramsFolder(folder, sizeof folder);
  EXPECT_STREQ(folder, "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs");
}

TEST_F(Shortcuts, AMissingValueFallsBackToo) {
  SetRegistryValue(platform::RegistryRoot::CurrentUser, kShellFolders, "Programs", "");
  char folder[512];
  GetProgramsFolder(folder, sizeof folder);
  EXPECT_STREQ(folder, "C:\\WINDOWS\\Start Menu\\Programs");
}

// --- The group --------------------------------------------------------------------

std::string GroupFolder(const std::string& programs, const std::string& name) {
  return programs + "\\" + name;
}

TEST_F(Shortcuts, EnglishGroupWithoutHelpHasTwoLinksAndTheInternetShortcut) {
  BuildProgramGroup();
  const std::string group = GroupFolder(kCommonPrograms, "Corvane Widelens");
  EXPECT_EQ(ProfileValue("INSTALL", "GROUP"), "Corvane Widelens");
  EXPECT_EQ(FilesBelow(group),
            (std::vector<std::string>{"Corvane Widelens.lnk", "Remove Widelens.lnk",
                                      "Welcome to www.corvane.example.com.URL"}));
  // The links name the short form of InstallRoot.
  char short_root[512];
  ASSERT_GT(platform::ShortPathName("C:\\Corvane\\Widelens\\", short_root, sizeof short_root), 0u);
  const std::string root = short_root;
  SavedLink viewer = LinkAt(group + "\\Corvane Widelens.lnk");
  ASSERT_TRUE(viewer.valid);
  EXPECT_EQ(viewer.target, root + "Lumaview.EXE");
  EXPECT_EQ(viewer.arguments, "");
  EXPECT_EQ(viewer.icon_file, root + "Lumaview.EXE");
  EXPECT_EQ(viewer.icon_index, 0);
  EXPECT_EQ(viewer.description, "Corvane Widelens");
  SavedLink remover = LinkAt(group + "\\Remove Widelens.lnk");
  ASSERT_TRUE(remover.valid);
  EXPECT_EQ(remover.target, root + "UNINST32.EXE");
  EXPECT_EQ(remover.description, "Remove Widelens");

  std::vector<std::uint8_t> url = Bytes(group + "\\Welcome to www.corvane.example.com.URL");
  EXPECT_EQ(std::string(url.begin(), url.end()),
            "[InternetShortcut]\r\nURL=http://www.corvane.example.com/\r\n");

  // The folder, each link (logged before it is made) and the shortcut.
  EXPECT_EQ(testing::LoggedDirectories(), (std::vector<std::string>{group}));
  EXPECT_EQ(
      testing::LoggedFiles(),
      (std::vector<std::string>{group + "\\Corvane Widelens.lnk", group + "\\Remove Widelens.lnk",
                                group + "\\Welcome to www.corvane.example.com.URL"}));
}

TEST_F(Shortcuts, WithTheHelpFileTheGroupGetsTheHelpLink) {
  AddFile("C:\\Corvane\\Widelens\\Widelens.CHM", "help");
  BuildProgramGroup();
  const std::string group = GroupFolder(kCommonPrograms, "Corvane Widelens");
  EXPECT_EQ(FilesBelow(group).size(), 4u);
  SavedLink help = LinkAt(group + "\\Help Documentation.lnk");
  ASSERT_TRUE(help.valid);
  char short_root[512];
  platform::ShortPathName("C:\\Corvane\\Widelens\\", short_root, sizeof short_root);
  EXPECT_EQ(help.target, "HH.EXE");
  EXPECT_EQ(help.arguments, std::string(short_root) + "Widelens.CHM");
  EXPECT_EQ(help.icon_file, "HH.EXE");
  EXPECT_EQ(help.icon_index, 0);
}

TEST_F(Shortcuts, WithoutShortNamesTheLinksKeepTargetAndArgumentsApart) {
  // A volume without 8.3 names: the short form of a path is its long form,
  // spaces and commas included.
  TheMachine().short_names = false;
  const std::string root = "D:\\My Apps, Tools\\Widelens\\";
  std::strcpy(TheSetup.InstallRoot, root.c_str());
  AddFile(root + "Widelens.CHM", "help");
  BuildProgramGroup();
  const std::string group = GroupFolder(kCommonPrograms, "Corvane Widelens");
  EXPECT_EQ(
      FilesBelow(group),
      (std::vector<std::string>{"Corvane Widelens.lnk", "Help Documentation.lnk",
                                "Remove Widelens.lnk", "Welcome to www.corvane.example.com.URL"}));
  SavedLink viewer = LinkAt(group + "\\Corvane Widelens.lnk");
  ASSERT_TRUE(viewer.valid);
  EXPECT_EQ(viewer.target, root + "Lumaview.EXE");
  EXPECT_EQ(viewer.arguments, "");
  EXPECT_EQ(viewer.description, "Corvane Widelens");
  EXPECT_EQ(viewer.icon_file, root + "Lumaview.EXE");
  EXPECT_EQ(viewer.icon_index, 0);
  SavedLink remover = LinkAt(group + "\\Remove Widelens.lnk");
  ASSERT_TRUE(remover.valid);
  EXPECT_EQ(remover.target, root + "UNINST32.EXE");
  EXPECT_EQ(remover.arguments, "");
  EXPECT_EQ(remover.icon_file, root + "UNINST32.EXE");
  SavedLink help = LinkAt(group + "\\Help Documentation.lnk");
  ASSERT_TRUE(help.valid);
  EXPECT_EQ(help.target, "HH.EXE");
  // A path with a space is one argument only when quoted.
  EXPECT_EQ(help.arguments, "\"" + root + "Widelens.CHM\"");
  EXPECT_EQ(help.description, "Help Documentation");
  EXPECT_EQ(help.icon_file, "HH.EXE");
}

TEST(FormatGroupItem, AFieldThatWouldBeCutLeavesTheItemOut) {
  GroupItem item;
  std::string root = "C:\\" + std::string(250, 'r') + "\\";
  EXPECT_FALSE(FormatGroupItem(kEnglishItems[0], root.c_str(), &item));
  // The help file's path fits the target field but not the arguments.
  std::string middle = "C:\\" + std::string(120, 'm') + "\\";
  EXPECT_FALSE(FormatGroupItem(kEnglishItems[2], middle.c_str(), &item));
  ASSERT_TRUE(FormatGroupItem(kEnglishItems[0], middle.c_str(), &item));
  EXPECT_EQ(std::string(item.target), middle + "Lumaview.EXE");
  ASSERT_TRUE(FormatGroupItem(kEnglishItems[2], "C:\\W\\", &item));
  EXPECT_STREQ(item.arguments, "C:\\W\\Widelens.CHM");
}

TEST_F(Shortcuts, ChineseGroupUsesTheChineseNames) {
  TheSetup.ChineseUi = 1;
  AddFile("C:\\Corvane\\Widelens\\Widelens.CHM", "help");
  BuildProgramGroup();
  const std::string group = GroupFolder(kCommonPrograms, kGroupChinese);
  EXPECT_EQ(ProfileValue("INSTALL", "GROUP"), kGroupChinese);
  std::vector<std::string> files = FilesBelow(group);
  ASSERT_EQ(files.size(), 4u);
  EXPECT_TRUE(LinkAt(group + "\\" + kGroupChinese + ".lnk").valid);
  EXPECT_TRUE(LinkAt(group + "\\" + kUninstallChinese + ".lnk").valid);
  EXPECT_TRUE(LinkAt(group + "\\" + kHelpChinese + ".lnk").valid);
  EXPECT_TRUE(Exists(group + "\\\xBB\xB6\xD3\xAD\xB7\xC3\xCE\xCAwww.corvane.example.com.URL"));
}

TEST_F(Shortcuts, OutsideTheNtFamilyTheGroupGoesIntoTheUsersPrograms) {
  TheSetup.IsNtPlatform = 0;
  BuildProgramGroup();
  EXPECT_TRUE(IsDirectory(kUserPrograms + "\\Corvane Widelens"));
  EXPECT_FALSE(IsDirectory(kCommonPrograms + "\\Corvane Widelens"));
}

TEST_F(Shortcuts, OnNtWithoutAWritableKeyTheGroupGoesUnderTheWindowsDirectory) {
  TheMachine().read_only_keys.insert(
      "hklm\\software\\microsoft\\windows\\currentversion\\explorer\\shell folders");
  AddDirectory("C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Programs");
  BuildProgramGroup();
  EXPECT_TRUE(
      Exists("C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Programs\\Corvane Widelens\\Corvane "
             "Widelens.lnk"));
}

TEST_F(Shortcuts, ALinkThatCannotBeMadeIsNeitherOnDiskNorLogged) {
  TheShell().link_objects_fail = true;
  BuildProgramGroup();
  const std::string group = GroupFolder(kCommonPrograms, "Corvane Widelens");
  EXPECT_EQ(FilesBelow(group),
            (std::vector<std::string>{"Welcome to www.corvane.example.com.URL"}));
  EXPECT_EQ(testing::LoggedFiles(),
            (std::vector<std::string>{group + "\\Welcome to www.corvane.example.com.URL"}));
}

TEST_F(Shortcuts, ALinkThatCannotBeSavedIsReleased) {
  TheShell().persist_fails = true;
  BuildProgramGroup();
  EXPECT_FALSE(Exists(kCommonPrograms + "\\Corvane Widelens\\Corvane Widelens.lnk"));
  // TearDown checks that no link object is left alive.
}

TEST_F(Shortcuts, AnInternetShortcutThatCannotBeCreatedIsNotLogged) {
  AddDirectory(kCommonPrograms + "\\Corvane Widelens\\Welcome to www.corvane.example.com.URL");
  BuildProgramGroup();
  std::vector<std::string> files = testing::LoggedFiles();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files.back(), kCommonPrograms + "\\Corvane Widelens\\Remove Widelens.lnk");
}

// --- The old group ------------------------------------------------------------------

TEST_F(Shortcuts, AnEarlierChineseGroupIsRemovedBeforeTheEnglishOne) {
  TheSetup.ChineseUi = 1;
  BuildProgramGroup();
  ASSERT_TRUE(IsDirectory(kCommonPrograms + "\\" + kGroupChinese));
  AddFile(kCommonPrograms + "\\Other Product\\Other.lnk", "x");

  TheSetup.ChineseUi = 0;
  RemoveOldGroup();
  BuildProgramGroup();
  EXPECT_FALSE(Exists(kCommonPrograms + "\\" + kGroupChinese));
  EXPECT_TRUE(IsDirectory(kCommonPrograms + "\\Corvane Widelens"));
  EXPECT_TRUE(Exists(kCommonPrograms + "\\Other Product\\Other.lnk"));
  EXPECT_EQ(ProfileValue("INSTALL", "GROUP"), "Corvane Widelens");
}

TEST_F(Shortcuts, AGroupInALongProgramsFolderIsFoundAgain) {
  const std::string programs = "C:\\" + std::string(90, 'P') + "\\" + std::string(60, 'Q');
  AddDirectory(programs);
  SetRegistryValue(platform::RegistryRoot::LocalMachine, kShellFolders, "Common Programs",
                   programs);
  BuildProgramGroup();
  ASSERT_TRUE(Exists(programs + "\\Corvane Widelens\\Corvane Widelens.lnk"));
  RemoveOldGroup();
  EXPECT_FALSE(Exists(programs + "\\Corvane Widelens"));
}

TEST_F(Shortcuts, WithoutARecordedGroupNothingIsDeleted) {
  AddFile(kCommonPrograms + "\\Corvane Widelens\\Old.lnk", "x");
  RemoveOldGroup();
  EXPECT_TRUE(Exists(kCommonPrograms + "\\Corvane Widelens\\Old.lnk"));
  EXPECT_TRUE(JournalLines("delete").empty());
}

// The settings file is not trusted to name what may be deleted: only a
// direct child of the Programs folder.
TEST_F(Shortcuts, ARecordedGroupOutsideTheProgramsFolderIsIgnored) {
  AddFile(kCommonPrograms + "\\Keep.lnk", "x");
  AddFile("C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Important.TXT", "x");
  AddFile("C:\\WINDOWS\\SYSTEM\\KERNEL.DLL", "x");
  for (const char* group : {".", "..", "...", "*", " ", "..\\..", "..\\..\\..\\..", "C:\\WINDOWS",
                            "C:", "a\\b", "a/b", "..//..", "\\WINDOWS", "x:y"}) {
    SetProfileValue("INSTALL", "GROUP", group);
    RemoveOldGroup();
    EXPECT_TRUE(JournalLines("delete").empty()) << group;
    EXPECT_TRUE(JournalLines("remove directory").empty()) << group;
  }
  EXPECT_TRUE(Exists(kCommonPrograms + "\\Keep.lnk"));
  EXPECT_TRUE(Exists("C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Important.TXT"));
  EXPECT_TRUE(Exists("C:\\WINDOWS\\SYSTEM\\KERNEL.DLL"));
}

TEST(GroupNameIsSafe, OnlyPlainNamesPass) {
  EXPECT_EQ(GroupNameIsSafe("Corvane Widelens"), 1);
  EXPECT_EQ(GroupNameIsSafe("\xBF\xED\xBE\xB5"), 1);
  EXPECT_EQ(GroupNameIsSafe("Widelens 2.0"), 1);
  EXPECT_EQ(GroupNameIsSafe(" Leading space"), 1);
  EXPECT_EQ(GroupNameIsSafe(""), 0);
  EXPECT_EQ(GroupNameIsSafe("."), 0);
  EXPECT_EQ(GroupNameIsSafe(".."), 0);
  EXPECT_EQ(GroupNameIsSafe("a\\b"), 0);
  EXPECT_EQ(GroupNameIsSafe("a/b"), 0);
  EXPECT_EQ(GroupNameIsSafe("C:x"), 0);
  // Names the system would read as another entry: trailing dots and spaces
  // are dropped ("..." is the Programs folder itself), wildcards match.
  EXPECT_EQ(GroupNameIsSafe("..."), 0);
  EXPECT_EQ(GroupNameIsSafe(". ."), 0);
  EXPECT_EQ(GroupNameIsSafe("Group."), 0);
  EXPECT_EQ(GroupNameIsSafe("Group "), 0);
  EXPECT_EQ(GroupNameIsSafe("*"), 0);
  EXPECT_EQ(GroupNameIsSafe("Corvane?Widelens"), 0);
  EXPECT_EQ(GroupNameIsSafe("a|b"), 0);
  EXPECT_EQ(GroupNameIsSafe("tab\there"), 0);
}

TEST(GroupNameIsSafe, UnderCodePage936SecondBytesSeparateNothing) {
  testing::FreshMachine();
  TheMachine().code_page = 936;
  // "乗" (0x81 0x5C) and a character whose second byte is '|' (0x81 0x7C).
  EXPECT_EQ(GroupNameIsSafe("\x81\x5C"), 1);
  EXPECT_EQ(GroupNameIsSafe("Group \x81\x7C"), 1);
  EXPECT_EQ(GroupNameIsSafe("\x81\x5C\\x"), 0);
  EXPECT_EQ(GroupNameIsSafe("\x81\x5C."), 0);
  // The same bytes under code page 1252 hold a backslash and a bar.
  TheMachine().code_page = 1252;
  EXPECT_EQ(GroupNameIsSafe("\x81\x5C"), 0);
  EXPECT_EQ(GroupNameIsSafe("Group \x81\x7C"), 0);
}

// --- Quick Launch ---------------------------------------------------------------------

const std::string kQuickLaunch =
    "C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch";

TEST_F(Shortcuts, QuickLaunchLinkTargetsTheRecordedInstallPath) {
  AddDirectory(kQuickLaunch);
  SetRegistryValue(platform::RegistryRoot::CurrentUser, kMapGroups, "Quick Launch", kQuickLaunch);
  SetProfileValue("INSTALL", "INSTALLPATH", "C:\\CORVANE\\WIDELENS");
  CreateQuickLaunchLink();
  const std::string link_path = kQuickLaunch + "\\Corvane Widelens.lnk";
  SavedLink link = LinkAt(link_path);
  ASSERT_TRUE(link.valid);
  EXPECT_EQ(link.target, "C:\\CORVANE\\WIDELENS\\LUMAVIEW.EXE");
  EXPECT_EQ(link.arguments, "");
  EXPECT_EQ(link.icon_file, "C:\\CORVANE\\WIDELENS\\LUMAVIEW.EXE");
  EXPECT_EQ(link.icon_index, 0);
  EXPECT_EQ(link.description, "LUMAVIEW");
  char short_link[128];
  ASSERT_GT(platform::ShortPathName(link_path.c_str(), short_link, sizeof short_link), 0u);
  EXPECT_EQ(ProfileValue("UNINSTALL", "FASTLINK"), short_link);
  // Recorded only as FASTLINK, never in the file list.
  EXPECT_TRUE(testing::LoggedFiles().empty());
}

TEST_F(Shortcuts, ChineseQuickLaunchLinkHasTheChineseName) {
  TheSetup.ChineseUi = 1;
  AddDirectory(kQuickLaunch);
  SetRegistryValue(platform::RegistryRoot::CurrentUser, kMapGroups, "Quick Launch",
                   kQuickLaunch + "\\");
  SetProfileValue("INSTALL", "INSTALLPATH", "C:\\CORVANE\\WIDELENS\\");
  CreateQuickLaunchLink();
  EXPECT_TRUE(LinkAt(kQuickLaunch + "\\" + kGroupChinese + ".lnk").valid);
}

TEST_F(Shortcuts, WithoutAQuickLaunchFolderNothingIsRecorded) {
  SetProfileValue("INSTALL", "INSTALLPATH", "C:\\CORVANE\\WIDELENS");
  CreateQuickLaunchLink();
  EXPECT_EQ(ProfileValue("UNINSTALL", "FASTLINK"), "<missing>");
  AddRegistryKey(std::string("HKCU\\") + kMapGroups);  // the key without the value
  CreateQuickLaunchLink();
  EXPECT_EQ(ProfileValue("UNINSTALL", "FASTLINK"), "<missing>");
  EXPECT_TRUE(JournalLines("link").empty());
}

TEST_F(Shortcuts, ALinkThatWasNotSavedIsNotRecorded) {
  // The registry names a folder that does not exist.
  SetRegistryValue(platform::RegistryRoot::CurrentUser, kMapGroups, "Quick Launch",
                   "C:\\Gone\\Quick Launch");
  SetProfileValue("INSTALL", "INSTALLPATH", "C:\\CORVANE\\WIDELENS");
  CreateQuickLaunchLink();
  EXPECT_FALSE(Exists("C:\\Gone\\Quick Launch\\Corvane Widelens.lnk"));
  EXPECT_EQ(ProfileValue("UNINSTALL", "FASTLINK"), "<missing>");
}

}  // namespace
}  // namespace setup
