// The viewer's [SETTING] Monitor entry: recorded at start, cleared at the end
// unless a later viewer has taken it over.
#include "core/settings_record.h"

#include <cstdio>

#include "log/settings_log.h"

namespace viewer {

namespace {

std::uint32_t Low32(std::uintptr_t window) { return static_cast<std::uint32_t>(window); }

}  // namespace

void MonitorText(std::uintptr_t window, char (&buffer)[11]) {
  std::snprintf(buffer, sizeof buffer, "%lu", static_cast<unsigned long>(Low32(window)));
}

bool RecordMonitor(SettingsStore& store, std::uintptr_t window) {
  char text[11];
  MonitorText(window, text);
  return store.WriteText(setup::kSettingSection, setup::kMonitorKey, text);
}

bool ClearMonitor(SettingsStore& store, std::uintptr_t window) {
  if (store.ReadNumber(setup::kSettingSection, setup::kMonitorKey, 0) != Low32(window))
    return false;
  return store.WriteText(setup::kSettingSection, setup::kMonitorKey, "0");
}

}  // namespace viewer
