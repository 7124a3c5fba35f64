// The viewer's [SETTING] Monitor entry: recorded at start, cleared at the end
// unless a later viewer has taken it over.
#include "core/settings_record.h"

#include <cstdio>

#include "common/distribution.h"
#include "platform/platform.h"

namespace viewer {

namespace platform = setup::platform;

namespace {

std::uint32_t Low32(std::uintptr_t window) { return static_cast<std::uint32_t>(window); }

}  // namespace

void MonitorText(std::uintptr_t window, char (&buffer)[11]) {
  std::snprintf(buffer, sizeof buffer, "%lu", static_cast<unsigned long>(Low32(window)));
}

bool RecordMonitor(std::uintptr_t window) {
  char text[11];
  MonitorText(window, text);
  return platform::WriteProfileText(setup::kSettingsFile, setup::kSettingSection,
                                    setup::kMonitorKey, text);
}

bool ClearMonitor(std::uintptr_t window) {
  // Read as setup reads it: an integer whose bits are the handle's low 32.
  int recorded = platform::ReadProfileInteger(setup::kSettingsFile, setup::kSettingSection,
                                              setup::kMonitorKey, 0);
  if (static_cast<std::uint32_t>(recorded) != Low32(window)) return false;
  return platform::WriteProfileText(setup::kSettingsFile, setup::kSettingSection,
                                    setup::kMonitorKey, "0");
}

}  // namespace viewer
