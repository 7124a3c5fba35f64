// The viewer's [SETTING] Monitor entry in the settings file of the simulated
// machine, written and read through setup's platform seam.
#include "core/settings_record.h"

#include <gtest/gtest.h>

#include "common/distribution.h"
#include "harness.h"
#include "platform/simulated/machine.h"

namespace viewer {
namespace {

using setup::testing::ProfileValue;
using setup::testing::SetProfileValue;

class MonitorRecord : public ::testing::Test {
 protected:
  void SetUp() override { setup::testing::FreshMachine(); }
  static std::string Monitor() { return ProfileValue(setup::kSettingSection, setup::kMonitorKey); }
};

TEST(MonitorText, DecimalOfTheLow32Bits) {
  char text[11];
  MonitorText(0x10086, text);
  EXPECT_STREQ(text, "65670");
  MonitorText(0xFFFFFFFFu, text);
  EXPECT_STREQ(text, "4294967295");
  MonitorText(0, text);
  EXPECT_STREQ(text, "0");
}

TEST_F(MonitorRecord, RecordedWhileRunningZeroAtTheEnd) {
  EXPECT_TRUE(RecordMonitor(0x2002C));
  EXPECT_EQ(Monitor(), "131116");
  EXPECT_TRUE(ClearMonitor(0x2002C));
  EXPECT_EQ(Monitor(), "0");
}

TEST_F(MonitorRecord, ALaterViewersEntryStays) {
  RecordMonitor(0x2002C);  // the first viewer
  RecordMonitor(0x3004A);  // a second one started after it
  EXPECT_FALSE(ClearMonitor(0x2002C));
  EXPECT_EQ(Monitor(), "196682");
  EXPECT_TRUE(ClearMonitor(0x3004A));
  EXPECT_EQ(Monitor(), "0");
}

TEST_F(MonitorRecord, NothingRecordedNothingCleared) {
  // The entry was removed by hand: nothing to clear, nothing written.
  std::size_t journal = setup::simulated::TheMachine().journal.size();
  EXPECT_FALSE(ClearMonitor(0x2002C));
  EXPECT_EQ(Monitor(), "<missing>");
  EXPECT_EQ(setup::simulated::TheMachine().journal.size(), journal);
}

TEST_F(MonitorRecord, AFailedWriteIsReported) {
  SetProfileValue(setup::kSettingSection, setup::kMonitorKey, "131116");
  setup::simulated::TheMachine().profiles_read_only = true;
  EXPECT_FALSE(RecordMonitor(0x3004A));
  EXPECT_FALSE(ClearMonitor(0x2002C));
  EXPECT_EQ(Monitor(), "131116");
}

}  // namespace
}  // namespace viewer
