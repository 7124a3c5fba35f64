// The viewer's [SETTING] Monitor entry over a profile kept in memory.
#include "core/settings_record.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

namespace viewer {
namespace {

// A profile of one file: "section/key" to value, parsed as the profile
// functions parse an integer.
class MemoryStore : public SettingsStore {
 public:
  std::map<std::string, std::string> values;
  int writes = 0;
  std::uint32_t ReadNumber(const char* section, const char* key, std::uint32_t fallback) override {
    auto found = values.find(std::string(section) + "/" + key);
    if (found == values.end()) return fallback;
    return static_cast<std::uint32_t>(std::strtoul(found->second.c_str(), nullptr, 10));
  }
  bool WriteText(const char* section, const char* key, const char* value) override {
    ++writes;
    values[std::string(section) + "/" + key] = value;
    return true;
  }
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

TEST(MonitorRecord, RecordedWhileRunningZeroAtTheEnd) {
  MemoryStore store;
  EXPECT_TRUE(RecordMonitor(store, 0x2002C));
  EXPECT_EQ(store.values["SETTING/Monitor"], "131116");
  EXPECT_TRUE(ClearMonitor(store, 0x2002C));
  EXPECT_EQ(store.values["SETTING/Monitor"], "0");
}

TEST(MonitorRecord, ALaterViewersEntryStays) {
  MemoryStore store;
  RecordMonitor(store, 0x2002C);  // the first viewer
  RecordMonitor(store, 0x3004A);  // a second one started after it
  EXPECT_FALSE(ClearMonitor(store, 0x2002C));
  EXPECT_EQ(store.values["SETTING/Monitor"], "196682");
  EXPECT_TRUE(ClearMonitor(store, 0x3004A));
  EXPECT_EQ(store.values["SETTING/Monitor"], "0");
  // Nothing recorded (the entry was removed by hand): nothing to clear.
  MemoryStore empty;
  EXPECT_FALSE(ClearMonitor(empty, 0x2002C));
  EXPECT_EQ(empty.writes, 0);
}

}  // namespace
}  // namespace viewer
