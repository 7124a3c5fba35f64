// Whole runs of setup on the simulated machine: start-up, the destination
// checks, the copy, the post-copy steps and what they leave behind.
#include "driver/driver.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/state.h"
#include "common/text.h"
#include "harness.h"
#include "payload/payload_table.h"
#include "platform/simulated/removal_state.h"
#include "platform/simulated/shell_state.h"

namespace setup {
namespace {

using namespace simulated;
using testing::AcceptStart;
using testing::CancelStart;
using testing::FreshMachine;
using testing::LoggedDirectories;
using testing::LoggedFiles;
using testing::LoggedFilesBelow;
using testing::MemberBytes;
using testing::ProfileValue;
using testing::RunInstaller;
using testing::SetProfileValue;
using testing::SettingsFileExists;

const std::string kUninstallEntry =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumaview";

class Driver : public ::testing::Test {
 protected:
  void SetUp() override { FreshMachine(); }
  void TearDown() override { testing::ExpectNothingLeftOpen(); }
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
  // The background window's refresh ran on its timer while the copy was up.
  EXPECT_GT(TheMachine().background_refreshes, 0);
  EXPECT_TRUE(TheMachine().messages.empty());
}

TEST_F(Driver, PostCopyStepsAndTheSettingsFileFollowTheirOrder) {
  AcceptStart();
  ASSERT_EQ(RunInstaller(), 1);
  std::vector<std::string> steps;
  for (const std::string& line : TheMachine().journal) {
    if (line.rfind("profile [UNINSTALL] FILE", 0) == 0 ||
        line.rfind("profile [UNINSTALL] DIR", 0) == 0 ||
        line.rfind("profile [UNINSTALL] PATHNUM", 0) == 0)
      continue;
    if (line.rfind("profile", 0) == 0 || line.rfind("dialog", 0) == 0 ||
        line.rfind("registry", 0) == 0)
      steps.push_back(line);
  }
  const std::string key = "hklm\\software\\microsoft\\windows\\currentversion\\uninstall\\lumaview";
  EXPECT_EQ(steps,
            (std::vector<std::string>{
                "dialog 10510", "dialog 10510 ended 1", "dialog 105", "dialog 105 ended 1",
                "profile [INSTALL] INSTALLPATH=C:\\Corvane\\Widelens\\",
                "profile [UNINSTALL] UNINSTALLPATH=C:\\Corvane\\Widelens\\", "dialog 110",
                "profile [INSTALL] GROUP=Corvane Widelens", "dialog 110 ended 0",
                "registry key " + key, "registry " + key + " DisplayName=Corvane Widelens",
                "registry " + key + " UninstallString=C:\\Corvane\\Widelens\\UNINST32.EXE",
                "dialog 107", "dialog 107 ended 1",
                "profile [ADBarParamter] ImageFileName=C:\\Corvane\\Widelens\\Widelens.GIF"}));
  // The cache pattern is the last thing written; teardown follows in order.
  std::string n = std::to_string(LoggedFiles().size());
  std::vector<std::string> tail(TheMachine().journal.end() - 6, TheMachine().journal.end());
  EXPECT_EQ(tail, (std::vector<std::string>{
                      "profile [UNINSTALL] FILENUM=" + n,
                      "profile [UNINSTALL] FILE" + n + "=C:\\Corvane\\Widelens\\Cache\\*.*",
                      "com stop", "kill timer 910", "quit", "close event"}));
  EXPECT_EQ(JournalLines("com"), (std::vector<std::string>{"com start", "com stop"}));
  EXPECT_TRUE(TheMachine().live_icons.empty());
  EXPECT_EQ(TheMachine().live_graphics.size(), 1u);
  EXPECT_EQ(TheMachine().icons_loaded,
            (std::vector<int>{101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111}));
}

TEST_F(Driver, ChineseCodePageUsesTheChineseDialogsAndName) {
  TheMachine().code_page = 936;
  OnDialog(113, [](Window dialog) {
    EXPECT_EQ(DialogOf(dialog).texts[1312], Strings()[37]);
    Press(dialog, 1);
  });
  OnDialog(10503, [](Window dialog) { Press(dialog, 1); });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(TheMachine().dialogs_run, (std::vector<int>{113, 10502, 10507, 10503}));
  EXPECT_EQ(JournalLines("bitmap"), (std::vector<std::string>{"bitmap 104", "bitmap 111"}));
  // The product's own string 30, "宽镜" as Windows gives it under code page 936.
  EXPECT_EQ(RegistryValue(kUninstallEntry, "DisplayName"), "\xBF\xED\xBE\xB5");
}

TEST_F(Driver, OtherCodePagesUseTheEnglishColumn) {
  TheMachine().code_page = 1251;
  CancelStart();
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(TheMachine().dialogs_run, (std::vector<int>{10510}));
  EXPECT_EQ(JournalLines("bitmap"), (std::vector<std::string>{"bitmap 104", "bitmap 112"}));
}

TEST_F(Driver, ASecondSetupEndsAtOnceWithoutAWindow) {
  TheMachine().events.insert("CORVANE");
  EXPECT_EQ(RunInstaller(), 0);
  EXPECT_TRUE(TheMachine().journal.empty());
  EXPECT_TRUE(TheMachine().dialogs_run.empty());
}

TEST_F(Driver, CancelAtStartLeavesNoSettingsFileAndTearsDown) {
  CancelStart();
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_FALSE(SettingsFileExists());
  EXPECT_TRUE(JournalLines("profile").empty());
  std::vector<std::string> tail(TheMachine().journal.end() - 4, TheMachine().journal.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"com stop", "kill timer 910", "quit", "close event"}));
  EXPECT_EQ(JournalLines("timer"), (std::vector<std::string>{"timer 910 500"}));
  EXPECT_EQ(JournalLines("brush"), (std::vector<std::string>{"brush 0,0,255"}));
  EXPECT_TRUE(TheMachine().background_class_registered);
}

TEST_F(Driver, TheCloseBoxOfTheStartDialogLeavesToo) {
  OnDialog(10510, [](Window dialog) { PressCloseBox(dialog); });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_FALSE(SettingsFileExists());
}

std::string ProposedDestination() {
  std::string proposed;
  OnDialog(10510, [&proposed](Window dialog) {
    proposed = DialogOf(dialog).texts[201];
    Press(dialog, 2);
  });
  RunInstaller();
  return proposed;
}

TEST_F(Driver, ProposesTheDefaultOrThePreviousDestination) {
  EXPECT_EQ(ProposedDestination(), "C:\\Corvane\\Widelens\\");

  FreshMachine();
  SetProfileValue("INSTALL", "INSTALLPATH", "E:\\PICTUR~1\\");
  EXPECT_EQ(ProposedDestination(), "E:\\PICTUR~1");

  FreshMachine();
  SetProfileValue("INSTALL", "INSTALLPATH", "E:\\Pictures");
  EXPECT_EQ(ProposedDestination(), "E:\\Pictures");

  FreshMachine();
  SetProfileValue("INSTALL", "INSTALLPATH", std::string(300, 'x') + "\\");
  EXPECT_EQ(ProposedDestination(), std::string(127, 'x'));
}

TEST_F(Driver, StartDialogShowsTheDescriptionAndTakesTheCheckbox) {
  OnDialog(10510, [](Window dialog) {
    EXPECT_EQ(DialogOf(dialog).texts[1312], Strings()[40]);
    EXPECT_FALSE(DialogOf(dialog).checked[1313]);
    EXPECT_EQ(DialogOf(dialog).bitmaps_drawn, 1);
    DialogOf(dialog).checked[1313] = true;
    Press(dialog, 1);
  });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(TheSetup.ExitWhenDone, 1);
}

TEST_F(Driver, AnOverlongTypedDestinationIsCut) {
  std::string typed = "C:\\" + std::string(200, 'd');
  AcceptStart(typed);
  OnDialog(10510, [](Window dialog) { Press(dialog, 2); });
  RunInstaller();
  EXPECT_EQ(std::string(TheSetup.destination), typed.substr(0, 127));
}

TEST_F(Driver, UnwritableDestinationReturnsToTheStartDialogWithItsDirectoriesLogged) {
  AddDirectory("C:\\Media");
  AddDirectory("C:\\Media\\Locked");
  // A directory that takes no new files.
  TheMachine().nodes[Canonical("C:\\Media\\Locked")].locked = true;
  AcceptStart("C:\\Media\\Locked");
  std::string second_proposal;
  OnDialog(10510, [&second_proposal](Window dialog) {
    second_proposal = DialogOf(dialog).texts[201];
    Press(dialog, 2);
  });
  ASSERT_EQ(RunInstaller(), 1);
  ASSERT_EQ(TheMachine().messages.size(), 1u);
  EXPECT_EQ(TheMachine().messages[0].caption, "Can NOT Write");
  EXPECT_EQ(TheMachine().messages[0].text, "The directory C:\\Media\\Locked can not write.");
  EXPECT_EQ(TheMachine().messages[0].owner, TheMachine().background);
  EXPECT_EQ(second_proposal, "C:\\Media\\Locked");
  EXPECT_EQ(LoggedDirectories(), (std::vector<std::string>{"C:\\Media\\Locked"}));
  EXPECT_EQ(TheMachine().dialogs_run, (std::vector<int>{10510, 10510}));
}

TEST_F(Driver, ADestinationThatCannotBeCreatedSaysSo) {
  TheMachine().read_only_drives.insert('C');
  AcceptStart("C:\\New\\Place");
  CancelStart();
  ASSERT_EQ(RunInstaller(), 1);
  ASSERT_EQ(TheMachine().messages.size(), 1u);
  EXPECT_EQ(TheMachine().messages[0].caption, "Path Create Error");
  EXPECT_EQ(TheMachine().messages[0].text,
            "Create directory C:\\New\\Place error,\nthe directory can not create.");
  // Nothing could be made, so nothing is logged for the uninstaller.
  EXPECT_TRUE(LoggedDirectories().empty());
}

TEST_F(Driver, TheRecordedViewerIsToldBeforeTheCopy) {
  Window viewer = 0x5150;
  TheMachine().windows.insert(viewer);
  SetProfileValue("SETTING", "Monitor", std::to_string(viewer));
  AcceptStart();
  ASSERT_EQ(RunInstaller(), 1);
  ASSERT_EQ(TheMachine().sent.size(), 1u);
  EXPECT_EQ(TheMachine().sent[0].window, viewer);
  EXPECT_EQ(TheMachine().sent[0].message, 19592u);
  EXPECT_EQ(TheMachine().sent[0].wparam, 16u);
  EXPECT_EQ(TheMachine().sent[0].lparam, 0);
  auto& journal = TheMachine().journal;
  auto sent = std::find(journal.begin(), journal.end(), "send 19592 16 0 to 20816");
  auto copy = std::find(journal.begin(), journal.end(), "dialog 105");
  EXPECT_LT(sent, copy);
}

TEST_F(Driver, AHungOrSlowViewerCannotHoldSetupUp) {
  Window viewer = 0x5150;
  TheMachine().windows.insert(viewer);
  TheRemoval().hung.insert(viewer);
  SetProfileValue("SETTING", "Monitor", std::to_string(viewer));
  AcceptStart();
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_TRUE(TheMachine().sent.empty());
  EXPECT_EQ(JournalLines("send"), (std::vector<std::string>{"send 19592 16 0 to 20816 timed out"}));
  EXPECT_TRUE(Exists("C:\\Corvane\\Widelens\\Lumaview.exe"));

  // A window that takes a minute to answer is given up after the time-out.
  FreshMachine();
  TheMachine().windows.insert(viewer);
  TheMachine().reply_delays[viewer] = 60000;
  SetProfileValue("SETTING", "Monitor", std::to_string(viewer));
  AcceptStart();
  std::uint32_t before = TheMachine().clock;
  std::uint32_t at_copy = 0;
  OnDialog(105, [&](Window) { at_copy = TheMachine().clock; });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(JournalLines("send"), (std::vector<std::string>{"send 19592 16 0 to 20816 timed out"}));
  EXPECT_LE(at_copy - before, 5000u);
}

// What a run leaves for the uninstaller and the user, with `name` in the
// destination C:\<name>\Widelens and in the directory setup starts from.
struct RunRecord {
  std::vector<std::string> directories;
  std::vector<std::string> files;
  std::vector<std::string> installed;
  std::vector<std::string> messages;
  std::string install_path;
  std::string setup_directory;
};

RunRecord RunWithName(const std::string& name, unsigned code_page) {
  FreshMachine();
  TheMachine().code_page = code_page;
  TheMachine().module_path = "D:\\" + name + "\\SETUP" + name + ".EXE";
  AddFile("D:\\" + name + "\\FULLDATA\\" + name + "\\Extra.txt", "extra");
  OnDialog(code_page == 936 ? 113 : 10510, [name](Window dialog) {
    TypeInto(dialog, 201, "C:\\" + name + "\\Widelens");
    Press(dialog, 1);
  });
  OnDialog(code_page == 936 ? 10503 : 107, [](Window dialog) { Press(dialog, 1); });
  EXPECT_EQ(RunInstaller(), 1);
  RunRecord record;
  record.directories = LoggedDirectories();
  record.files = LoggedFiles();
  record.installed = FilesBelow("C:\\" + name);
  for (const MessageRecord& m : TheMachine().messages) record.messages.push_back(m.text);
  record.install_path = ProfileValue("INSTALL", "INSTALLPATH");
  record.setup_directory = TheSetup.SetupDirectory;
  return record;
}

std::vector<std::string> Replaced(std::vector<std::string> texts, const std::string& from,
                                  const std::string& to) {
  for (std::string& text : texts) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
      text.replace(at, from.size(), to);
  }
  return texts;
}

TEST_F(Driver, ADoubleByteCharacterEndingInABackslashByteIsOneCharacterOfThePath) {
  // "乗" is 0x81 0x5C under code page 936: its second byte is a backslash.
  // The run must go exactly as with a plain two-letter name in its place.
  const std::string jou = "\x81\x5C";
  RunRecord plain = RunWithName("Jo", 936);
  RunRecord chinese = RunWithName(jou, 936);
  EXPECT_EQ(chinese.setup_directory, "D:\\" + jou + "\\");
  EXPECT_EQ(chinese.install_path, "C:\\" + jou + "\\Widelens\\");
  EXPECT_EQ(chinese.directories, Replaced(plain.directories, "Jo", jou));
  EXPECT_EQ(chinese.files, Replaced(plain.files, "Jo", jou));
  std::vector<std::string> installed = Replaced(plain.installed, "Jo", jou);
  std::sort(installed.begin(), installed.end());
  EXPECT_EQ(chinese.installed, installed);
  EXPECT_TRUE(chinese.messages.empty());
  EXPECT_TRUE(Exists("C:\\" + jou + "\\Widelens\\" + jou + "\\Extra.txt"));
}

TEST_F(Driver, NoViewerNoMessage) {
  SetProfileValue("SETTING", "Monitor", "0");
  AcceptStart();
  RunInstaller();
  EXPECT_TRUE(TheMachine().sent.empty());

  FreshMachine();
  SetProfileValue("SETTING", "Monitor", "4242");  // a window that has closed
  AcceptStart();
  RunInstaller();
  EXPECT_TRUE(TheMachine().sent.empty());
}

TEST_F(Driver, ASecondRunProposesTheShortFormAndRewritesTheLogFromOne) {
  AcceptStart("C:\\Program Files\\Corvane Widelens");
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(ProfileValue("INSTALL", "INSTALLPATH"), "C:\\PROGRA~1\\CORVAN~1\\");
  EXPECT_EQ(RegistryValue(kUninstallEntry, "UninstallString"),
            "C:\\Program Files\\Corvane Widelens\\UNINST32.EXE");
  EXPECT_EQ(ProfileValue("ADBarParamter", "ImageFileName"),
            "C:\\Program Files\\Corvane Widelens\\Widelens.GIF");
  ASSERT_EQ(LoggedFilesBelow("C:\\Program Files\\Corvane Widelens\\").size(), 15u);
  // Not the program group's folder: the Programs folder it would go into is
  // missing on this machine, so it was never made.
  EXPECT_EQ(LoggedDirectories().size(), 3u);

  // The same machine, a new setup process.
  ResetSetup();
  TheMachine().events.clear();
  std::string proposed;
  OnDialog(10510, [&proposed](Window dialog) {
    proposed = DialogOf(dialog).texts[201];
    Press(dialog, 1);
  });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(proposed, "C:\\PROGRA~1\\CORVAN~1");
  std::vector<std::string> files = LoggedFilesBelow("C:\\PROGRA~1\\CORVAN~1\\");
  ASSERT_EQ(files.size(), 15u);
  EXPECT_EQ(files[0], "C:\\PROGRA~1\\CORVAN~1\\PIXBASE.dll");
  EXPECT_EQ(LoggedFiles()[0], "C:\\PROGRA~1\\CORVAN~1\\PIXBASE.dll");
  std::vector<std::string> directories = LoggedDirectories();
  ASSERT_EQ(directories.size(), 2u);
  EXPECT_EQ(directories[0], "C:\\PROGRA~1\\CORVAN~1");
  EXPECT_EQ(directories[1], "C:\\PROGRA~1\\CORVAN~1");
  // The first run's third directory entry lies beyond the new count.
  EXPECT_NE(ProfileValue("UNINSTALL", "DIR3"), "<missing>");
}

TEST_F(Driver, LeavingDuringTheCopyDeletesTheSettingsFileAndKeepsTheFiles) {
  AcceptStart();
  OnDialog(105, [](Window dialog) {
    DeliverTicks(dialog, 2);  // one item per tick
    Press(dialog, 2);
  });
  OnDialog(10300, [](Window dialog) { Press(dialog, 1); });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_FALSE(SettingsFileExists());
  EXPECT_EQ(Bytes("C:\\Corvane\\Widelens\\PIXBASE.dll"), MemberBytes(0));
  EXPECT_EQ(Bytes("C:\\Corvane\\Widelens\\VeloLIB.dll"), MemberBytes(1));
  EXPECT_FALSE(Exists("C:\\Corvane\\Widelens\\UNINST32.exe"));
  EXPECT_FALSE(RegistryKeyExists(kUninstallEntry));
  EXPECT_EQ(TheMachine().dialogs_run, (std::vector<int>{10510, 105, 10300}));
  EXPECT_TRUE(TheMachine().live_icons.empty());
}

TEST_F(Driver, CentresDialogsAndKeepsLargeOnesOnTheScreen) {
  CancelStart();
  RunInstaller();
  ASSERT_EQ(TheMachine().moved_to.size(), 1u);
  EXPECT_EQ(TheMachine().moved_to.begin()->second, (std::pair<long, long>{312, 234}));

  FreshMachine();
  TheMachine().window_size = {0, 0, 1500, 900};
  CancelStart();
  RunInstaller();
  EXPECT_EQ(TheMachine().moved_to.begin()->second, (std::pair<long, long>{0, 0}));
}

TEST_F(Driver, TheWriteTestLeavesNothingBehind) {
  AddDirectory("C:\\Dest");
  CopyText(TheSetup.destination, sizeof TheSetup.destination, "C:\\Dest\\");
  EXPECT_EQ(DestinationWritable(), 1);
  EXPECT_TRUE(FilesBelow("C:\\Dest").empty());

  // A disk that takes no more than 100 bytes of a new file.
  TheMachine().new_file_write_limit = 100;
  CopyText(TheSetup.destination, sizeof TheSetup.destination, "C:\\Dest");
  EXPECT_EQ(DestinationWritable(), 0);
  EXPECT_TRUE(FilesBelow("C:\\Dest").empty());
}

TEST_F(Driver, TheWriteTestNeverTouchesAFileOfTheUsers) {
  AddFile("C:\\Dest\\Test.txt", "the user's own notes");
  AddFile("C:\\Dest\\Test1.txt", "more notes");
  CopyText(TheSetup.destination, sizeof TheSetup.destination, "C:\\Dest");
  EXPECT_EQ(DestinationWritable(), 1);
  std::string notes = "the user's own notes";
  EXPECT_EQ(Bytes("C:\\Dest\\Test.txt"), std::vector<std::uint8_t>(notes.begin(), notes.end()));
  EXPECT_EQ(FilesBelow("C:\\Dest"), (std::vector<std::string>{"Test.txt", "Test1.txt"}));
  // Only the probe that setup made itself was deleted.
  std::vector<std::string> deleted = JournalLines("delete");
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].find("Test.txt"), std::string::npos);
  EXPECT_EQ(deleted[0].find("Test1.txt"), std::string::npos);

  // A read-only "Test.txt" does not make the directory look unwritable, and
  // through the chooser and a cancelled setup it stays as it was.
  MakeReadOnly("C:\\Dest\\Test.txt");
  EXPECT_EQ(DestinationWritable(), 1);
  OnDialog(10510, [](Window dialog) {
    TypeInto(dialog, 201, "C:\\Dest");
    Press(dialog, 31);  // Browse: the chooser's checks include the write test
    Press(dialog, 2);
  });
  OnDialog(10500, [](Window dialog) { Press(dialog, 1); });
  EXPECT_EQ(RunInstaller(), 1);
  EXPECT_EQ(Bytes("C:\\Dest\\Test.txt"), std::vector<std::uint8_t>(notes.begin(), notes.end()));
  EXPECT_EQ(FilesBelow("C:\\Dest"), (std::vector<std::string>{"Test.txt", "Test1.txt"}));
}

TEST_F(Driver, TheWriteTestUsesTheWholeNameOfALongDestination) {
  std::string destination = "C:\\" + std::string(120, 'w');  // 123 characters
  AddDirectory(destination);
  CopyText(TheSetup.destination, sizeof TheSetup.destination, destination.c_str());
  EXPECT_EQ(DestinationWritable(), 1);
  EXPECT_EQ(JournalLines("delete"),
            (std::vector<std::string>{"delete " + destination + "\\Test.txt"}));
  EXPECT_TRUE(FilesBelow(destination).empty());
}

TEST_F(Driver, SetupStartedFromADeepDirectoryStillFindsItsFullData) {
  std::string directory = "D:\\" + std::string(90, 'm') + "\\" + std::string(90, 'n');
  TheMachine().module_path = directory + "\\SETUP.EXE";
  AddFile(directory + "\\FULLDATA\\EXTRA.TXT", "extra");
  AcceptStart();
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(std::string(TheSetup.SetupDirectory), directory + "\\");
  EXPECT_EQ(Bytes("C:\\Corvane\\Widelens\\EXTRA.TXT"),
            std::vector<std::uint8_t>({'e', 'x', 't', 'r', 'a'}));
}

}  // namespace
}  // namespace setup
