// The simulated machine keeps the seam's contract as Windows does: the
// program's own strings in the code page's bytes, the background window's
// refresh timer, a reset that forgets everything.
#include "platform/simulated/machine.h"

#include <gtest/gtest.h>

#include "harness.h"
#include "platform/shell.h"
#include "platform/simulated/shell_state.h"
#include "resources/resource_ids.h"

namespace setup {
namespace {

using namespace simulated;

std::string Text(int id) {
  char buffer[512];
  platform::LoadText(id, buffer, sizeof buffer);
  return buffer;
}

TEST(SimulatedStrings, ComeFromTheResourceScriptsInTheCodePagesBytes) {
  testing::FreshMachine();
  EXPECT_EQ(Text(IDS_NOT_WRITABLE_CAPTION), "Can NOT Write");
  EXPECT_EQ(Text(IDS_GROUP_NAME_EN), "Corvane Widelens");
  // English Windows has no characters for the Chinese name.
  EXPECT_EQ(Text(IDS_GROUP_NAME_ZH), "??");
  TheMachine().code_page = 936;
  // "宽镜" and "宽镜.lnk" in GBK, as LoadStringA answers under code page 936.
  EXPECT_EQ(Text(IDS_GROUP_NAME_ZH), "\xBF\xED\xBE\xB5");
  EXPECT_EQ(Text(IDS_QUICK_LAUNCH_LINK_ZH), "\xBF\xED\xBE\xB5.lnk");
  // The Chinese description starts with "《宽镜》" and keeps its line breaks.
  std::string description = Text(IDS_DESCRIPTION_ZH);
  EXPECT_EQ(description.substr(0, 8), "\xA1\xB6\xBF\xED\xBE\xB5\xA1\xB7");
  EXPECT_NE(description.find('\n'), std::string::npos);
  // The messages the Chinese table keeps in English.
  EXPECT_EQ(Text(IDS_PATH_MISSING_TEXT), "The Directory %s do not exist,\nCreate this directory ?");
  // A code page without a table of its own reads the English one.
  TheMachine().code_page = 1251;
  EXPECT_EQ(Text(IDS_GROUP_NAME_EN), "Corvane Widelens");
  EXPECT_EQ(Text(9999), "");
}

TEST(SimulatedMachine, AResetForgetsTheShellToo) {
  testing::FreshMachine();
  TheShell().link_objects_fail = true;
  TheShell().chooser_titles.push_back("old");
  TheShell().paints_begun = 3;
  ResetMachine();
  EXPECT_FALSE(TheShell().link_objects_fail);
  EXPECT_TRUE(TheShell().chooser_titles.empty());
  EXPECT_EQ(TheShell().paints_begun, 0);
  platform::ShellLink link = platform::CreateShellLinkObject();
  EXPECT_NE(link, 0u);
  platform::ReleaseShellLinkObject(link);
}

int refreshes = 0;
void CountRefresh(platform::Window) { ++refreshes; }

bool TimedDialog(platform::Window dialog, platform::DialogEvent event, int value) {
  if (event == platform::DialogEvent::Opened) platform::StartTimer(dialog, 77, 1000);
  if (event == platform::DialogEvent::Timer && value == 77) platform::EndDialogWith(dialog, 1);
  return true;
}

TEST(SimulatedMachine, TheBackgroundRefreshRunsOnItsTimerWhileADialogIsUp) {
  testing::FreshMachine();
  refreshes = 0;
  platform::Window background =
      platform::CreateBackgroundWindow(platform::Rect{0, 0, 640, 480}, nullptr, CountRefresh);
  platform::StartTimer(background, IDT_BACKGROUND_REFRESH, 500);
  // One second of a dialog: the 500 ms timer falls due twice.
  EXPECT_EQ(platform::RunDialog(500, TimedDialog, background), 1);
  EXPECT_EQ(refreshes, 2);
  // Another timer of the window is not the refresh timer.
  platform::StopTimer(background, IDT_BACKGROUND_REFRESH);
  platform::StartTimer(background, IDT_BACKGROUND_REFRESH + 1, 500);
  EXPECT_EQ(platform::RunDialog(500, TimedDialog, background), 1);
  EXPECT_EQ(refreshes, 2);
}

}  // namespace
}  // namespace setup
