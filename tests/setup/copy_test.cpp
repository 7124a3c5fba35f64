// The timed copy: items, ticks, progress, FULLDATA, failures, Cancel.
#include "payload/copy.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/state.h"
#include "common/text.h"
#include "harness.h"
#include "payload/payload_table.h"
#include "resources/resource_ids.h"

namespace setup {
namespace {

using namespace simulated;
using testing::AcceptStart;
using testing::FreshMachine;
using testing::LoggedDirectories;
using testing::LoggedFiles;
using testing::LoggedFilesBelow;
using testing::MemberBytes;
using testing::RunInstaller;

const std::string kRoot = "C:\\Corvane\\Widelens\\";

class Copy : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshMachine();
    AcceptStart();
  }
  void TearDown() override { testing::ExpectNothingLeftOpen(); }
};

TEST(PayloadLayout, MembersFollowEachOtherWithoutPadding) {
  EXPECT_EQ(PayloadTable.count, 14);
  EXPECT_EQ(PayloadTable.total, 2077977u);
  EXPECT_EQ(MemberOffset(0), 0u);
  EXPECT_EQ(MemberOffset(4), 905216u);
  EXPECT_EQ(MemberOffset(12), 1910041u);  // LibJBIG.dll, not 4-aligned
  EXPECT_EQ(MemberOffset(13), 1983769u);
  EXPECT_EQ(MemberOffset(13) + PayloadTable.members[13].size, PayloadTable.total);
}

TEST(Progress, WorksIn256ByteUnitsAndEndsExactlyAtTheTotal) {
  unsigned percent, bar;
  ComputeProgress(0, 2077977, &percent, &bar);
  EXPECT_EQ(percent, 0u);
  EXPECT_EQ(bar, 0u);
  ComputeProgress(2077977, 2077977, &percent, &bar);
  EXPECT_EQ(percent, 100u);
  EXPECT_EQ(bar, 128u);
  ComputeProgress(1038988, 2077977, &percent, &bar);  // 4058 of 8117 units
  EXPECT_EQ(percent, 49u);
  EXPECT_EQ(bar, 63u);
  // Totals under 256 bytes divide by one unit.
  ComputeProgress(200, 200, &percent, &bar);
  EXPECT_EQ(percent, 0u);
  ComputeProgress(0, 0, &percent, &bar);
  EXPECT_EQ(bar, 0u);
  // More bytes than announced (a file grew) never paint past the end.
  ComputeProgress(5000, 1000, &percent, &bar);
  EXPECT_EQ(percent, 100u);
  EXPECT_EQ(bar, 128u);
}

TEST(CopyEngine, RunsWithoutAnyDialog) {
  FreshMachine();
  CopyText(TheSetup.InstallRoot, sizeof TheSetup.InstallRoot, "C:\\Engine\\");
  CopyText(TheSetup.SetupDirectory, sizeof TheSetup.SetupDirectory, "D:\\SETUP\\");
  CopyText(TheSetup.extra_files_directory, sizeof TheSetup.extra_files_directory,
           "D:\\SETUP\\FULLDATA\\");
  AddFile("D:\\SETUP\\FULLDATA\\Extra.txt", "extra");
  std::size_t size = 0;
  TheSetup.payload = platform::FindNamedTypeResource(IDR_PAYLOAD, kPayloadResourceType, &size);
  TheSetup.payload_size = size;
  BeginCopy(CopyDisplay{0, nullptr, nullptr});
  EXPECT_EQ(TheCopyJob.item_count, 15u);
  int steps = 0;
  while (!CopyTick()) ASSERT_LT(++steps, 1000);
  EndCopy();
  EXPECT_EQ(TheCopyJob.copied_bytes, PayloadTable.total + 5u);
  EXPECT_EQ(TheCopyJob.bar_value, 128u);
  EXPECT_EQ(Bytes("C:\\Engine\\Lumaview.exe"), MemberBytes(3));
  EXPECT_EQ(Bytes("C:\\Engine\\Extra.txt"), std::vector<std::uint8_t>({'e', 'x', 't', 'r', 'a'}));
  EXPECT_EQ(LoggedFiles().size(), 15u);
  EXPECT_TRUE(TheMachine().dialogs_run.empty());
  EXPECT_TRUE(TheMachine().messages.empty());
  EXPECT_EQ(TheExtraFiles.entries, nullptr);
}

TEST_F(Copy, EachTickOpensOneItemAndSpendsAtMost320Milliseconds) {
  TheMachine().ms_per_write = 1;  // every 512-byte write costs a millisecond
  std::vector<std::uint32_t> copied;
  std::vector<std::uint32_t> positions;
  std::vector<std::pair<unsigned, unsigned>> bar;
  OnDialog(105, [&](Window dialog) {
    EXPECT_EQ(TheCopyJob.item_count, 14u);
    EXPECT_EQ(TheCopyJob.total_bytes, 2077977u);
    DeliverTicks(dialog, 1);
    EXPECT_EQ(DialogOf(dialog).texts[1001], "D:\\SETUP\\PIXBASE.dll");
    EXPECT_EQ(DialogOf(dialog).texts[1002], kRoot + "PIXBASE.dll");
    copied.push_back(TheCopyJob.copied_bytes);
    positions.push_back(TheCopyJob.position);
    while (DialogOf(dialog).posted.empty()) {
      DeliverTicks(dialog, 1);
      copied.push_back(TheCopyJob.copied_bytes);
      positions.push_back(TheCopyJob.position);
    }
    bar = DialogOf(dialog).bar_fills;
  });
  ASSERT_EQ(RunInstaller(), 1);
  std::uint32_t before = 0;
  for (std::size_t i = 0; i < copied.size(); ++i) {
    EXPECT_LE(copied[i] - before, 320u * 512u) << "tick " << i;
    before = copied[i];
  }
  EXPECT_EQ(copied.back(), 2077977u);
  EXPECT_EQ(positions.front(), 1u);
  // Lumaview.exe alone (1048 chunks) needs four ticks.
  EXPECT_GT(copied.size(), 14u + 3u);
  // The bar only grows, and ends full with the percent at 100.
  for (std::size_t i = 1; i < bar.size(); ++i) EXPECT_GE(bar[i].first, bar[i - 1].first);
  EXPECT_EQ(bar.back(), (std::pair<unsigned, unsigned>{128, 128}));
  EXPECT_EQ(TheSetup.progress_percent, 100);
}

TEST_F(Copy, TheProgressBarStaysWhenTheDialogIsPainted) {
  std::string after_paint;
  std::string after_uncover;
  unsigned bar = 0;
  OnDialog(105, [&](Window dialog) {
    DeliverTicks(dialog, 6);
    bar = TheCopyJob.bar_value;
    after_paint = DialogOf(dialog).drawn[IDC_COPY_PROGRESS];
    Uncover(dialog);
    after_uncover = DialogOf(dialog).drawn[IDC_COPY_PROGRESS];
  });
  ASSERT_EQ(RunInstaller(), 1);
  ASSERT_GT(bar, 0u);
  EXPECT_EQ(after_paint, "bar " + std::to_string(bar) + "/128");
  // The dialog's paint repaints the bar and the bar's own control does not
  // wipe it again.
  EXPECT_EQ(after_uncover, "bar " + std::to_string(bar) + "/128");
}

TEST_F(Copy, TheIconTurnsThroughAllElevenOnEveryTick) {
  std::vector<Graphic> drawn;
  std::vector<Graphic> icons;
  OnDialog(105, [&](Window dialog) {
    icons.assign(TheSetup.copy_icons, TheSetup.copy_icons + kCopyIconCount);
    DeliverTicks(dialog, 12);
    drawn = DialogOf(dialog).icons_drawn;
  });
  ASSERT_EQ(RunInstaller(), 1);
  ASSERT_EQ(drawn.size(), 12u);
  // Icons 1 to 10, then 0 and 1: the index wraps after 10.
  for (int tick = 0; tick < 12; ++tick) EXPECT_EQ(drawn[tick], icons[(tick + 1) % 11]) << tick;
}

TEST_F(Copy, FullDataTreeIsReproducedWithoutDotNames) {
  AddFile("D:\\SETUP\\FULLDATA\\README.TXT", "read me");
  AddFile("D:\\SETUP\\FULLDATA\\Samples\\A.JPG", "jpeg bytes");
  AddFile("D:\\SETUP\\FULLDATA\\Samples\\B.PNG", "png bytes");
  AddFile("D:\\SETUP\\FULLDATA\\Samples\\Deep\\C.GIF", "gif");
  AddFile("D:\\SETUP\\FULLDATA\\.hidden", "no");
  AddFile("D:\\SETUP\\FULLDATA\\.svn\\entries", "no");
  AddFile("D:\\SETUP\\FULLDATA\\Zoo.TXT", "zoo");
  OnDialog(105, [](Window) {
    EXPECT_EQ(TheCopyJob.item_count, 14u + 5u);
    EXPECT_EQ(TheCopyJob.total_bytes, 2077977u + 7u + 10u + 9u + 3u + 3u);
  });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(Bytes(kRoot + "Samples\\Deep\\C.GIF"), std::vector<std::uint8_t>({'g', 'i', 'f'}));
  EXPECT_EQ(Bytes(kRoot + "README.TXT").size(), 7u);
  EXPECT_FALSE(Exists(kRoot + ".hidden"));
  EXPECT_FALSE(Exists(kRoot + ".svn"));
  EXPECT_EQ(FilesBelow(kRoot).size(), 14u + 5u);
  // Directories in the order met: the root with the members and README,
  // the samples, the deep one, and the root again for Zoo.TXT.
  std::vector<std::string> directories = LoggedDirectories();
  directories.resize(6);  // the program group's folder follows
  EXPECT_EQ(directories, (std::vector<std::string>{
                             "C:\\Corvane", "C:\\Corvane\\Widelens\\", "C:\\Corvane\\Widelens",
                             "C:\\Corvane\\Widelens\\Samples",
                             "C:\\Corvane\\Widelens\\Samples\\Deep", "C:\\Corvane\\Widelens"}));
  std::vector<std::string> files = LoggedFilesBelow(kRoot);
  ASSERT_EQ(files.size(), 14u + 5u + 1u);
  EXPECT_EQ(files[14], kRoot + "README.TXT");
  EXPECT_EQ(files[17], kRoot + "Samples\\Deep\\C.GIF");
  EXPECT_EQ(TheExtraFiles.count, 0u);  // released with the dialog
}

TEST_F(Copy, TheFullDataScanNeverFollowsAJunctionOrASymbolicLink) {
  // FULLDATA\Up is a junction back up the tree (the simulated machine shows
  // the place's files below it) and Alias.TXT a symbolic link to a file.
  AddFile("D:\\SETUP\\FULLDATA\\Real.TXT", "real");
  AddFile("D:\\SETUP\\FULLDATA\\Up\\Real.TXT", "real");
  AddFile("D:\\SETUP\\FULLDATA\\Up\\Up\\Real.TXT", "real");
  AddFile("D:\\SETUP\\FULLDATA\\Alias.TXT", "real");
  TheMachine().nodes.at(Canonical("D:\\SETUP\\FULLDATA\\Up")).extra_attributes =
      platform::kReparsePointAttribute;
  TheMachine().nodes.at(Canonical("D:\\SETUP\\FULLDATA\\Alias.TXT")).extra_attributes =
      platform::kReparsePointAttribute;
  OnDialog(105, [](Window) {
    EXPECT_EQ(TheExtraFiles.count, 1u);
    EXPECT_EQ(TheCopyJob.item_count, 15u);
  });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(Bytes(kRoot + "Real.TXT"), std::vector<std::uint8_t>({'r', 'e', 'a', 'l'}));
  EXPECT_FALSE(Exists(kRoot + "Up"));
  EXPECT_FALSE(Exists(kRoot + "Alias.TXT"));
}

TEST_F(Copy, MoreThan4096ExtraFilesGrowTheListAndAllAreCopied) {
  for (int i = 0; i < 4100; ++i)
    AddFile("D:\\SETUP\\FULLDATA\\F" + std::to_string(i) + ".DAT", "x");
  std::uint32_t capacity = 0;
  OnDialog(105, [&](Window) {
    capacity = TheExtraFiles.capacity;
    EXPECT_EQ(TheExtraFiles.count, 4100u);
  });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(capacity, 8192u);
  EXPECT_EQ(FilesBelow(kRoot).size(), 14u + 4100u);
  EXPECT_EQ(LoggedFilesBelow(kRoot).size(), 14u + 4100u + 1u);
}

TEST_F(Copy, CancelThenResumeGoesOnWithTheSameCounts) {
  OnDialog(105, [](Window dialog) { DeliverTicks(dialog, 3), Press(dialog, 2); });
  std::uint32_t copied_at_cancel = 0;
  OnDialog(10300, [&](Window confirmation) {
    copied_at_cancel = TheCopyJob.copied_bytes;
    // Ticks that arrive while the confirmation is up change nothing.
    Window copy = OpenDialog(105);
    DeliverTimer(copy, IDT_COPY);
    DeliverTimer(copy, IDT_COPY);
    EXPECT_EQ(TheCopyJob.copied_bytes, copied_at_cancel);
    EXPECT_EQ(TheCopyJob.position, 3u);
    Press(confirmation, 2);
  });
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(copied_at_cancel, MemberOffset(3));
  for (int i = 0; i < PayloadTable.count; ++i)
    EXPECT_EQ(Bytes(kRoot + PayloadTable.members[i].name), MemberBytes(i));
  EXPECT_EQ(LoggedFilesBelow(kRoot).size(), 15u);
}

TEST_F(Copy, TheCloseBoxAsksLikeCancel) {
  OnDialog(105, [](Window dialog) { PressCloseBox(dialog); });
  OnDialog(10300, [](Window confirmation) { PressCloseBox(confirmation); });  // = Resume
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(TheMachine().dialogs_run, (std::vector<int>{10510, 105, 10300, 110, 107}));
}

TEST_F(Copy, AFileThatCannotBeCreatedIsReportedSkippedAndNotLogged) {
  AddFile(kRoot + "LibPNG.dll", "in use");
  TheMachine().nodes[Canonical(kRoot + "LibPNG.dll")].locked = true;
  std::uint32_t copied_during_box = 0;
  std::uint32_t copied_after_tick = 0;
  TheMachine().answer = [&](const MessageRecord&) {
    copied_during_box = TheCopyJob.copied_bytes;
    DeliverTimer(OpenDialog(105), IDT_COPY);
    copied_after_tick = TheCopyJob.copied_bytes;
    return platform::kAnswerOk;
  };
  ASSERT_EQ(RunInstaller(), 1);
  ASSERT_EQ(TheMachine().messages.size(), 1u);
  EXPECT_EQ(TheMachine().messages[0].caption, "Can NOT Write");
  EXPECT_EQ(TheMachine().messages[0].text, "The directory C:\\Corvane\\Widelens can not write.");
  EXPECT_EQ(copied_after_tick, copied_during_box);
  EXPECT_EQ(Bytes(kRoot + "LibPNG.dll"), std::vector<std::uint8_t>({'i', 'n', ' ', 'u', 's', 'e'}));
  EXPECT_EQ(Bytes(kRoot + "LibTIFF.dll"), MemberBytes(9));
  std::vector<std::string> files = LoggedFilesBelow(kRoot);
  EXPECT_EQ(files.size(), 14u);
  EXPECT_EQ(std::count(files.begin(), files.end(), kRoot + "LibPNG.dll"), 0);
  EXPECT_EQ(TheSetup.progress_percent, 100);
}

TEST_F(Copy, AShortWriteIsReportedAndThePartialFileRemoved) {
  AddFile(kRoot + "KESTREL.dll", "");
  TheMachine().nodes[Canonical(kRoot + "KESTREL.dll")].write_limit = 1000;
  ASSERT_EQ(RunInstaller(), 1);
  ASSERT_EQ(TheMachine().messages.size(), 1u);
  EXPECT_EQ(TheMachine().messages[0].caption, "Can NOT Write");
  EXPECT_FALSE(Exists(kRoot + "KESTREL.dll"));
  std::vector<std::string> files = LoggedFilesBelow(kRoot);
  EXPECT_EQ(std::count(files.begin(), files.end(), kRoot + "KESTREL.dll"), 0);
  EXPECT_EQ(Bytes(kRoot + "URLIST.TXT"), MemberBytes(11));
}

TEST_F(Copy, TheLastItemWithoutADestinationIsStillClosedAndCounted) {
  // The last item is a FULLDATA file whose destination is held by another
  // program: its source is opened, read to the end and closed like any other.
  AddFile("D:\\SETUP\\FULLDATA\\Z.TXT", std::string(3000, 'z'));
  AddFile(kRoot + "Z.TXT", "in use");
  TheMachine().nodes[Canonical(kRoot + "Z.TXT")].locked = true;
  int open_at_finish = -1;
  OnDialog(105, [&](Window dialog) {
    while (DialogOf(dialog).posted.empty()) DeliverTicks(dialog, 1);
    open_at_finish = OpenHandleCount();
  });
  ASSERT_EQ(RunInstaller(), 1);
  ASSERT_EQ(TheMachine().messages.size(), 1u);
  EXPECT_EQ(TheMachine().messages[0].caption, "Can NOT Write");
  // Only the instance event is open when the copy has finished.
  EXPECT_EQ(open_at_finish, 1);
  EXPECT_EQ(TheCopyJob.copied_bytes, TheCopyJob.total_bytes);
  EXPECT_EQ(TheSetup.progress_percent, 100);
  EXPECT_EQ(Bytes(kRoot + "Z.TXT"), std::vector<std::uint8_t>({'i', 'n', ' ', 'u', 's', 'e'}));
}

TEST_F(Copy, AnExtraFileThatCannotBeOpenedIsSkippedQuietly) {
  AddFile("D:\\SETUP\\FULLDATA\\A.TXT", "a");
  AddFile("D:\\SETUP\\FULLDATA\\B.TXT", "b");
  TheMachine().nodes[Canonical("D:\\SETUP\\FULLDATA\\A.TXT")].locked = true;
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_TRUE(TheMachine().messages.empty());
  EXPECT_FALSE(Exists(kRoot + "A.TXT"));
  EXPECT_TRUE(Exists(kRoot + "B.TXT"));
  EXPECT_EQ(LoggedFilesBelow(kRoot).size(), 14u + 1u + 1u);
}

TEST_F(Copy, WithoutThePayloadEveryMemberIsCreatedEmpty) {
  TheMachine().payload_present = false;
  ASSERT_EQ(RunInstaller(), 1);
  for (int i = 0; i < PayloadTable.count; ++i) {
    EXPECT_TRUE(Exists(kRoot + PayloadTable.members[i].name));
    EXPECT_TRUE(Bytes(kRoot + PayloadTable.members[i].name).empty());
  }
  EXPECT_EQ(LoggedFilesBelow(kRoot).size(), 15u);
}

TEST_F(Copy, AShortPayloadResourceIsNeverReadPastItsEnd) {
  TheMachine().payload.resize(1000);
  ASSERT_EQ(RunInstaller(), 1);
  EXPECT_EQ(Bytes(kRoot + "PIXBASE.dll").size(), 1000u);
  EXPECT_TRUE(Bytes(kRoot + "VeloLIB.dll").empty());
}

TEST_F(Copy, AParentDirectoryIsLoggedOncePerRunOfItems) {
  AddFile("D:\\SETUP\\FULLDATA\\Help\\A.HTM", "a");
  AddFile("D:\\SETUP\\FULLDATA\\Help\\B.HTM", "b");
  AddFile("D:\\SETUP\\FULLDATA\\Help\\C.HTM", "c");
  ASSERT_EQ(RunInstaller(), 1);
  std::vector<std::string> directories = LoggedDirectories();
  EXPECT_EQ(std::count(directories.begin(), directories.end(), "C:\\Corvane\\Widelens\\Help"), 1);
  EXPECT_EQ(std::count(directories.begin(), directories.end(), "C:\\Corvane\\Widelens"), 1);
}

TEST_F(Copy, ARelativePathAtThePathLimitIsRefused) {
  std::string deep = "D:\\SETUP\\FULLDATA\\" + std::string(240, 'a') + "\\" + std::string(30, 'b');
  AddFile(deep, "too deep");
  AddFile("D:\\SETUP\\FULLDATA\\" + std::string(200, 'c'), "fits");
  OnDialog(105, [](Window) { EXPECT_EQ(TheExtraFiles.count, 1u); });
  ASSERT_EQ(RunInstaller(), 1);
}

TEST_F(Copy, AnExtraFileListThatCannotGrowKeepsWhatItHas) {
  for (int i = 0; i < 4097; ++i)
    AddFile("D:\\SETUP\\FULLDATA\\F" + std::to_string(i) + ".DAT", "x");
  // The first table and 4096 entries succeed; the larger table does not.
  TheMachine().allocations_left = 1 + 4096;
  OnDialog(105, [](Window) {
    EXPECT_EQ(TheExtraFiles.count, 4096u);
    EXPECT_EQ(TheExtraFiles.capacity, 4096u);
  });
  ASSERT_EQ(RunInstaller(), 1);
}

}  // namespace
}  // namespace setup
