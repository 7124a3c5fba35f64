// The background window's gradient and title, the slide refresh, the
// directory chooser with its validations, the group creation wait dialog
// and the finish dialog, on the simulated machine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/state.h"
#include "driver/driver.h"
#include "harness.h"
#include "platform/simulated/shell_state.h"
#include "resources/resource_ids.h"
#include "shortcuts/shortcuts.h"
#include "ui/background.h"
#include "ui/chooser.h"
#include "ui/placement.h"
#include "ui/wizard_dialogs.h"

namespace setup {
namespace {

using namespace simulated;
using testing::ProfileValue;

class WizardWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FreshMachine();
    ResetShell();
    ReleaseSlideTable();
  }
  void TearDown() override { testing::ExpectNothingLeftOpen(); }
};

// --- Background ---------------------------------------------------------------

TEST(GradientBands, CoverTheClientAreaWithoutGapsFromBlue253To126) {
  for (long height : {768L, 600L, 1L, 100L, 127L, 128L, 129L, 1200L}) {
    long expected_top = BandOf(0, height).top;
    EXPECT_EQ(expected_top, 0) << height;
    for (int k = 0; k < kGradientBands; ++k) {
      GradientBand band = BandOf(k, height);
      EXPECT_EQ(band.top, expected_top) << height << " band " << k;
      EXPECT_GE(band.bottom, band.top) << height << " band " << k;
      EXPECT_EQ(band.blue, 253 - k);
      expected_top = band.bottom;
    }
    EXPECT_EQ(BandOf(kGradientBands - 1, height).bottom, height) << height;
  }
}

TEST(GradientBands, FollowTheIntegerFormula) {
  // H = 768: band k spans (1 + 768k)/128 .. (1 + 768(k+1))/128, i.e. 6 rows.
  EXPECT_EQ(BandOf(0, 768).top, 0);
  EXPECT_EQ(BandOf(0, 768).bottom, 6);
  EXPECT_EQ(BandOf(1, 768).top, 6);
  EXPECT_EQ(BandOf(127, 768).top, 762);
  EXPECT_EQ(BandOf(127, 768).bottom, 768);
  // H = 1000: (1 + 1000)/128 = 7, (1 + 2000)/128 = 15.
  EXPECT_EQ(BandOf(0, 1000).bottom, 7);
  EXPECT_EQ(BandOf(1, 1000).bottom, 15);
  EXPECT_EQ(BandOf(127, 1000).top, (1 + 127 * 1000) / 128);
}

TEST(TitlePlacement, CentredAndNeverLeftOfTheWindow) {
  EXPECT_EQ(TitleLeft(1024, 526), 249);
  EXPECT_EQ(TitleLeft(527, 526), 0);
  EXPECT_EQ(TitleLeft(400, 526), 0);
}

TEST_F(WizardWindows, PaintingDrawsTheGradientThenTheShadowThenTheTitle) {
  TheSetup.title_picture = 0x4242;
  TheShell().client = platform::Rect{0, 0, 1024, 768};
  PaintBackground(0x77);
  ASSERT_EQ(TheShell().fills.size(), 128u);
  EXPECT_EQ(TheShell().fills.front().colour, 253u);
  EXPECT_EQ(TheShell().fills.back().colour, 126u);
  EXPECT_EQ(TheShell().fills.back().area.bottom, 768);
  EXPECT_EQ(TheShell().fills.front().area.right, 1024);
  ASSERT_EQ(TheShell().inks.size(), 2u);
  EXPECT_EQ(TheShell().inks[0].colour, 0x000000u);
  EXPECT_EQ(TheShell().inks[0].x, 249 + 5);
  EXPECT_EQ(TheShell().inks[0].y, 25);
  EXPECT_EQ(TheShell().inks[1].colour, 0xFFFFFFu);
  EXPECT_EQ(TheShell().inks[1].x, 249);
  EXPECT_EQ(TheShell().inks[1].y, 20);
  EXPECT_EQ(TheShell().paints_begun, 1);
  EXPECT_EQ(TheShell().paints_ended, 1);
}

TEST_F(WizardWindows, AClientLowerThanTheBandCountSkipsEmptyBands) {
  TheShell().client = platform::Rect{0, 0, 300, 50};
  PaintBackground(0x77);
  long covered = 0;
  for (const PaintedFill& fill : TheShell().fills) {
    EXPECT_GT(fill.area.bottom, fill.area.top);
    covered += fill.area.bottom - fill.area.top;
  }
  EXPECT_EQ(covered, 50);
  EXPECT_TRUE(TheShell().inks.empty());  // no title bitmap loaded
}

TEST(SlideTable, SlotFollowsThePhaseAndTheCopyPercent) {
  EXPECT_EQ(SlideSlotFor(0, 0), 0);
  EXPECT_EQ(SlideSlotFor(2, 50), 0);
  EXPECT_EQ(SlideSlotFor(3, 0), 1);
  EXPECT_EQ(SlideSlotFor(3, 12), 1);
  EXPECT_EQ(SlideSlotFor(3, 13), 2);
  EXPECT_EQ(SlideSlotFor(3, 50), 5);
  EXPECT_EQ(SlideSlotFor(3, 100), 9);
  EXPECT_EQ(SlideSlotFor(4, 100), 9);
  EXPECT_STREQ(kSlideNames[0], "IDB_WELCOME");
  EXPECT_STREQ(kSlideNames[9], "IDB_COMPLETE");
}

TEST_F(WizardWindows, TheRefreshDrawsNothingWithoutSlides) {
  for (int percent = 0; percent <= 100; percent += 10) {
    TheSetup.InstallPhase = 3;
    TheSetup.progress_percent = percent;
    RefreshBackground(0x77);
  }
  TheSetup.InstallPhase = 4;
  RefreshBackground(0x77);
  EXPECT_TRUE(TheShell().slides_drawn.empty());
}

// --- Directory chooser -----------------------------------------------------------

class Chooser : public WizardWindows {
 protected:
  void SetUp() override {
    WizardWindows::SetUp();
    std::strcpy(TheSetup.destination, "C:\\Corvane\\Widelens");
  }
  // Opens the chooser, types `path` and presses OK once; then, when the
  // chooser is still open, presses Cancel.
  int ChooseTyping(const std::string& path) {
    OnDialog(IDD_CHOOSER_EN, [path](platform::Window dialog) {
      opened_with = DialogOf(dialog).texts[IDC_CHOOSER_PATH];
      TypeInto(dialog, IDC_CHOOSER_PATH, path);
      Press(dialog, IDOK);
      platform::PostCommand(dialog, IDCANCEL);
    });
    return ChooseDestination(0x55);
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (const MessageRecord& m : TheMachine().messages) captions.push_back(m.caption);
    return captions;
  }
  static inline std::string opened_with;
};

TEST_F(Chooser, OpensWithTheDestinationAndTheTitleOfString10) {
  int result = ChooseTyping("C:\\Corvane\\Widelens");
  EXPECT_EQ(opened_with, "C:\\Corvane\\Widelens");
  ASSERT_EQ(TheShell().chooser_titles.size(), 1u);
  EXPECT_EQ(TheShell().chooser_titles[0], "Choose Directories");
  EXPECT_EQ(TheMachine().dialogs_run, (std::vector<int>{IDD_CHOOSER_EN}));
  (void)result;
}

TEST_F(Chooser, AcceptsAnExistingWritableDirectory) {
  AddDirectory("C:\\Apps\\Viewer");
  EXPECT_EQ(ChooseTyping("C:\\Apps\\Viewer"), 1);
  EXPECT_STREQ(TheSetup.destination, "C:\\Apps\\Viewer");
  EXPECT_TRUE(TheMachine().messages.empty());
  // The write test leaves nothing behind.
  EXPECT_TRUE(FilesBelow("C:\\Apps\\Viewer").empty());
}

TEST_F(Chooser, AMissingPathAnsweredNoStaysOpenAndCreatesNothing) {
  TheMachine().answer = [](const MessageRecord&) { return platform::kAnswerNo; };
  EXPECT_EQ(ChooseTyping("C:\\New"), 0);
  ASSERT_EQ(TheMachine().messages.size(), 1u);
  EXPECT_EQ(TheMachine().messages[0].caption, "Path Not Exist");
  EXPECT_EQ(TheMachine().messages[0].text,
            "The Directory C:\\New do not exist,\nCreate this directory ?");
  EXPECT_EQ(TheMachine().messages[0].buttons, platform::Buttons::YesNo);
  EXPECT_FALSE(Exists("C:\\New"));
}

TEST_F(Chooser, AMissingPathAnsweredYesIsCreatedBeforeTheOtherTests) {
  TheMachine().answer = [](const MessageRecord&) { return platform::kAnswerYes; };
  EXPECT_EQ(ChooseTyping("C:\\New"), 1);
  EXPECT_TRUE(IsDirectory("C:\\New"));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Path Not Exist"}));
  EXPECT_STREQ(TheSetup.destination, "C:\\New");
}

TEST_F(Chooser, APathThatCannotBeCreatedShowsTheCreateError) {
  TheMachine().answer = [](const MessageRecord&) { return platform::kAnswerYes; };
  EXPECT_EQ(ChooseTyping("C:\\No\\Parent"), 0);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Path Not Exist", "Path Create Error"}));
  EXPECT_EQ(TheMachine().messages[1].text,
            "Create directory C:\\No\\Parent error,\nthe directory can not create.");
  EXPECT_EQ(TheMachine().messages[1].buttons, platform::Buttons::Ok);
}

TEST_F(Chooser, TooLittleFreeSpaceIsRefused) {
  AddDirectory("C:\\Apps");
  TheMachine().free_bytes['C'] = kRequiredFreeBytes - 1;
  EXPECT_EQ(ChooseTyping("C:\\Apps"), 0);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"No Enough Space"}));
  EXPECT_EQ(TheMachine().messages[0].text, "In the directory C:\\Apps had no enough free space.");
}

TEST_F(Chooser, ExactlyTheRequiredFreeSpaceIsEnough) {
  AddDirectory("C:\\Apps");
  TheMachine().free_bytes['C'] = kRequiredFreeBytes;
  EXPECT_EQ(ChooseTyping("C:\\Apps"), 1);
}

TEST_F(Chooser, ANonWritableDirectoryIsRefusedAfterTheSpaceTest) {
  AddDirectory("D:\\CDROM");
  TheMachine().free_bytes['D'] = 1ull << 30;
  TheMachine().read_only_drives.insert('D');
  EXPECT_EQ(ChooseTyping("D:\\CDROM"), 0);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Can NOT Write"}));
  EXPECT_EQ(TheMachine().messages[0].text, "The directory D:\\CDROM can not write.");
}

TEST_F(Chooser, OnlyTheFirstFailingTestSpeaks) {
  AddDirectory("D:\\CDROM");
  TheMachine().free_bytes['D'] = 0;
  TheMachine().read_only_drives.insert('D');
  EXPECT_EQ(ChooseTyping("D:\\CDROM"), 0);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"No Enough Space"}));
}

TEST_F(Chooser, ADriveRootIsAPathError) {
  EXPECT_EQ(ChooseTyping("C:\\"), 0);
  ASSERT_EQ(TheMachine().messages.size(), 1u);
  EXPECT_EQ(TheMachine().messages[0].caption, "Path Error");
  EXPECT_EQ(TheMachine().messages[0].text, "Path Error !");
}

TEST_F(Chooser, EmptyTextNeverPasses) {
  TheMachine().answer = [](const MessageRecord&) { return platform::kAnswerYes; };
  EXPECT_EQ(ChooseTyping(""), 0);
  EXPECT_FALSE(TheMachine().messages.empty());
}

TEST_F(Chooser, TheChineseSetUsesTemplate10501) {
  TheSetup.ChineseUi = 1;
  OnDialog(IDD_CHOOSER_ZH, [](platform::Window dialog) { Press(dialog, IDCANCEL); });
  EXPECT_EQ(ChooseDestination(0x55), 0);
  EXPECT_EQ(TheMachine().dialogs_run, (std::vector<int>{IDD_CHOOSER_ZH}));
}

TEST_F(Chooser, ATooLongPathIsCutToTheDestinationLimit) {
  std::string path = "C:\\" + std::string(200, 'X');
  ChooseTyping(path);
  EXPECT_EQ(std::strlen(TheSetup.destination), kDestinationLimit);
}

TEST_F(WizardWindows, DestinationIsRootForEmptyTextABackslashAndDriveRoots) {
  const struct {
    const char* text;
    int root;
  } cases[] = {{"", 1},    {"\\", 1},   {"C:\\", 1},  {"d:\\", 1},   {"C:", 0},
               {"\\A", 0}, {"\\\\", 0}, {"C:\\A", 0}, {"C:\\\\", 0}, {"CC\\", 0}};
  for (const auto& c : cases) {
    std::strcpy(TheSetup.destination, c.text);
    EXPECT_EQ(DestinationIsRoot(), c.root) << c.text;
  }
}

TEST_F(WizardWindows, FreeSpaceIsAskedOfTheFirstThreeCharacters) {
  TheMachine().free_bytes['C'] = kRequiredFreeBytes;
  std::strcpy(TheSetup.destination, "C:\\Deep\\Path");
  EXPECT_EQ(FreeSpaceSufficient(), 1);
  // A network path has no drive root: the volume cannot be asked.
  std::strcpy(TheSetup.destination, "\\\\server\\share");
  EXPECT_EQ(FreeSpaceSufficient(), 0);
}

// --- Centring -------------------------------------------------------------------

// Centres a window of the given size while setup runs (the desktop read at
// start-up is 1024 x 768) and returns the journal's last move.
std::string CentreWindowOfSize(long width, long height) {
  testing::FreshMachine();
  std::string move;
  OnDialog(IDD_START_EN, [&](platform::Window dialog) {
    TheMachine().window_rects[dialog] = platform::Rect{10, 10, 10 + width, 10 + height};
    CenterOnScreen(dialog);
    move = JournalLines("move").back();
    move = move.substr(move.rfind(' ') + 1);
    Press(dialog, IDCANCEL);
  });
  testing::RunInstaller();
  return move;
}

TEST_F(WizardWindows, CenterOnScreenCentresAWindowThatFits) {
  EXPECT_EQ(CentreWindowOfSize(400, 300), "312,234");
  EXPECT_EQ(CentreWindowOfSize(1024, 768), "0,0");
  EXPECT_EQ(CentreWindowOfSize(401, 301), "311,233");  // halves truncate
}

TEST_F(WizardWindows, AWindowLargerThanTheScreenGoesToItsTopLeftCorner) {
  EXPECT_EQ(CentreWindowOfSize(1500, 900), "0,0");
  EXPECT_EQ(CentreWindowOfSize(1500, 300), "0,234");
  EXPECT_EQ(CentreWindowOfSize(400, 2000), "312,0");
}

// --- Wait and finish dialogs --------------------------------------------------------

TEST_F(WizardWindows, TheWaitDialogBuildsTheGroupOnItsFirstTick) {
  std::strcpy(TheSetup.InstallRoot, "C:\\Corvane\\Widelens\\");
  AddDirectory("C:\\Corvane\\Widelens");
  EXPECT_EQ(platform::RunDialog(IDD_GROUP_WAIT_EN, GroupWaitDialogProcedure, 0), 0);
  std::vector<std::string> timers = JournalLines("timer");
  ASSERT_FALSE(timers.empty());
  EXPECT_EQ(timers[0], "timer 1000 200");
  EXPECT_EQ(ProfileValue("INSTALL", "GROUP"), "Corvane Widelens");
  EXPECT_EQ(JournalLines("kill timer 1000").size(), 1u);
}

TEST_F(WizardWindows, TheEnglishFinishDialogHidesTheToolsBox) {
  AddFile("D:\\SETUP\\TOOLS\\SETUPBRW.EXE", "x");
  std::strcpy(TheSetup.SetupDirectory, "D:\\SETUP\\");
  bool hidden = false;
  OnDialog(IDD_FINISH_EN, [&hidden](platform::Window dialog) {
    hidden = DialogOf(dialog).hidden[IDC_FINISH_TOOLS];
    Press(dialog, IDOK);
  });
  EXPECT_EQ(platform::RunDialog(IDD_FINISH_EN, FinishDialogProcedure, 0), 1);
  EXPECT_TRUE(hidden);
  EXPECT_EQ(ToolsOptionChosen(), 0);
}

TEST_F(WizardWindows, TheChineseFinishDialogOffersTheToolsWhenTheyLieNextToSetup) {
  TheSetup.ChineseUi = 1;
  std::strcpy(TheSetup.SetupDirectory, "D:\\SETUP\\");
  AddFile("D:\\SETUP\\TOOLS\\SETUPBRW.EXE", "x");
  bool hidden = true;
  bool checked = false;
  OnDialog(IDD_FINISH_ZH, [&](platform::Window dialog) {
    hidden = DialogOf(dialog).hidden[IDC_FINISH_TOOLS];
    checked = DialogOf(dialog).checked[IDC_FINISH_TOOLS];
    Press(dialog, IDOK);
  });
  EXPECT_EQ(platform::RunDialog(IDD_FINISH_ZH, FinishDialogProcedure, 0), 1);
  EXPECT_FALSE(hidden);
  EXPECT_TRUE(checked);
  EXPECT_EQ(ToolsOptionChosen(), 1);

  // Unticked by the user before Finish.
  OnDialog(IDD_FINISH_ZH, [&](platform::Window dialog) {
    DialogOf(dialog).checked[IDC_FINISH_TOOLS] = false;
    Press(dialog, IDOK);
  });
  platform::RunDialog(IDD_FINISH_ZH, FinishDialogProcedure, 0);
  EXPECT_EQ(ToolsOptionChosen(), 0);
}

TEST_F(WizardWindows, TheChineseFinishDialogWithoutToolsHidesTheBox) {
  TheSetup.ChineseUi = 1;
  std::strcpy(TheSetup.SetupDirectory, "D:\\SETUP\\");
  bool hidden = false;
  OnDialog(IDD_FINISH_ZH, [&](platform::Window dialog) {
    hidden = DialogOf(dialog).hidden[IDC_FINISH_TOOLS];
    PressCloseBox(dialog);
  });
  EXPECT_EQ(platform::RunDialog(IDD_FINISH_ZH, FinishDialogProcedure, 0), 0);
  EXPECT_TRUE(hidden);
}

TEST_F(WizardWindows, ExitWhenDoneClosesTheFinishDialogAfterHalfASecond) {
  TheSetup.ExitWhenDone = 1;
  std::uint32_t start = TheMachine().clock;
  // No script: nobody presses anything.
  EXPECT_EQ(platform::RunDialog(IDD_FINISH_EN, FinishDialogProcedure, 0), 1);
  EXPECT_EQ(TheMachine().clock - start, 500u);
  EXPECT_EQ(JournalLines("timer 1234").size(), 1u);
  EXPECT_EQ(JournalLines("kill timer 1234").size(), 1u);
}

TEST_F(WizardWindows, WithoutExitWhenDoneTheFinishDialogWaits) {
  TheSetup.ExitWhenDone = 0;
  EXPECT_EQ(platform::RunDialog(IDD_FINISH_EN, FinishDialogProcedure, 0), -2);  // stuck: no timer
  EXPECT_TRUE(JournalLines("timer 1234").empty());
}

}  // namespace
}  // namespace setup
