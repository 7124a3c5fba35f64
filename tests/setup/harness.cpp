// Shared set-up for the installer tests (see harness.h).
#include "harness.h"

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "log/settings_log.h"
#include "payload/payload_table.h"
#include "platform/simulated/shell_state.h"

namespace setup::testing {

using namespace simulated;

std::vector<std::uint8_t> MemberBytes(int index) {
  std::vector<std::uint8_t> bytes(PayloadTable.members[index].size);
  std::uint32_t state = 0x1234u + static_cast<std::uint32_t>(index) * 7919u;
  for (auto& b : bytes) {
    state = state * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(state >> 16);
  }
  return bytes;
}

void SetRegistryValue(platform::RegistryRoot root, const std::string& key, const char* name,
                      const std::string& value) {
  AddRegistryKey((root == platform::RegistryRoot::LocalMachine ? "HKLM\\" : "HKCU\\") + key);
  platform::RegistryKey handle = platform::OpenRegistryKey(root, key.c_str());
  ASSERT_NE(handle, 0u) << key;
  EXPECT_TRUE(platform::SetRegistryText(handle, name, value.c_str(), value.size() + 1)) << name;
  platform::CloseRegistryKey(handle);
}

void FreshMachine() {
  ResetMachine();
  ResetSetup();
  Machine& m = TheMachine();
  for (int i = 0; i < PayloadTable.count; ++i) {
    std::vector<std::uint8_t> member = MemberBytes(i);
    m.payload.insert(m.payload.end(), member.begin(), member.end());
  }
}

void AcceptStart(const std::string& destination) {
  OnDialog(10510, [destination](Window dialog) {
    if (!destination.empty()) TypeInto(dialog, 201, destination);
    Press(dialog, 1);
  });
  OnDialog(107, [](Window dialog) { Press(dialog, 1); });  // Finish, when the run gets there
}

void CancelStart() {
  OnDialog(10510, [](Window dialog) { Press(dialog, 2); });
}

bool SettingsFileExists() { return ProfileFileExists(kSettingsFile); }

std::string ProfileValue(const std::string& section, const std::string& key) {
  return simulated::ProfileValue(kSettingsFile, section, key);
}

void SetProfileValue(const std::string& section, const std::string& key, const std::string& value) {
  simulated::SetProfileValue(kSettingsFile, section, key, value);
}

void ExpectNothingLeftOpen() {
  EXPECT_EQ(OpenHandleCount(), 0) << "handles left open";
  EXPECT_EQ(TheShell().live_link_objects, 0) << "link objects left alive";
}

int RunInstaller() { return RunSetup(0x400000, 0); }

namespace {
std::vector<std::string> Logged(const char* count_key, const char* prefix) {
  std::vector<std::string> entries;
  std::string count = ProfileValue("UNINSTALL", count_key);
  if (count == "<missing>") return entries;
  int n = std::stoi(count);
  for (int i = 1; i <= n; ++i)
    entries.push_back(ProfileValue("UNINSTALL", prefix + std::to_string(i)));
  return entries;
}
}  // namespace

std::vector<std::string> LoggedFiles() { return Logged("FILENUM", "FILE"); }
std::vector<std::string> LoggedDirectories() { return Logged("PATHNUM", "DIR"); }

std::vector<std::string> LoggedFilesBelow(const std::string& directory) {
  std::vector<std::string> below;
  for (const std::string& file : LoggedFiles()) {
    if (file.compare(0, directory.size(), directory) == 0) below.push_back(file);
  }
  return below;
}

}  // namespace setup::testing
