// The viewer's record as setup itself reads it: the viewer records its window
// in the settings file of the simulated machine that setup's tests run on,
// and a whole install then sends that window the release message before the
// copy. After the viewer has ended, setup sends nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/settings_record.h"
#include "common/distribution.h"
#include "harness.h"

namespace viewer {
namespace {

TEST(MonitorHandshake, SetupTellsTheRecordedViewerBeforeTheCopy) {
  setup::testing::FreshMachine();
  setup::platform::Window viewer_window = 0x1003A;
  setup::simulated::TheMachine().windows.insert(viewer_window);
  ASSERT_TRUE(RecordMonitor(viewer_window));

  setup::testing::AcceptStart();
  ASSERT_EQ(setup::testing::RunInstaller(), 1);
  const auto& sent = setup::simulated::TheMachine().sent;
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].window, viewer_window);
  EXPECT_EQ(sent[0].message, setup::kViewerNotifyMessage);
  EXPECT_EQ(sent[0].wparam, setup::kViewerReleaseFiles);
  EXPECT_EQ(sent[0].lparam, 0);
  const auto& journal = setup::simulated::TheMachine().journal;
  auto notice = std::find(journal.begin(), journal.end(), "send 19592 16 0 to 65594");
  auto copy_dialog = std::find(journal.begin(), journal.end(), "dialog 105");
  ASSERT_NE(notice, journal.end());
  EXPECT_LT(notice, copy_dialog);
}

TEST(MonitorHandshake, AnEndedViewerIsNotTold) {
  setup::testing::FreshMachine();
  setup::platform::Window viewer_window = 0x1003A;
  setup::simulated::TheMachine().windows.insert(viewer_window);
  RecordMonitor(viewer_window);
  ASSERT_TRUE(ClearMonitor(viewer_window));

  setup::testing::AcceptStart();
  ASSERT_EQ(setup::testing::RunInstaller(), 1);
  EXPECT_TRUE(setup::simulated::TheMachine().sent.empty());
}

}  // namespace
}  // namespace viewer
