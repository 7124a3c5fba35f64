// Simulated side of the removal seam (platform/removal.h) over the
// simulated machine. Pause() is the machine's only passage of time outside
// dialogs: it advances the clock, unlocks files whose time has come and
// closes windows that were asked to close.
#include "platform/removal.h"

#include <cctype>
#include <string>

#include "platform/simulated/machine.h"
#include "platform/simulated/removal_state.h"

namespace setup::simulated {

namespace {
RemovalState the_removal;
void Note(const std::string& line) { TheMachine().journal.push_back(line); }

bool Due(std::uint32_t moment) {
  return static_cast<std::int32_t>(TheMachine().clock - moment) >= 0;
}
}  // namespace

RemovalState& TheRemoval() { return the_removal; }
void ResetRemoval() { the_removal = RemovalState(); }

void LockFileFor(const std::string& path, std::uint32_t milliseconds) {
  Machine& m = TheMachine();
  auto it = m.nodes.find(Canonical(path));
  if (it == m.nodes.end()) return;
  it->second.locked = true;
  if (milliseconds != UINT32_MAX) the_removal.unlocks_at[it->first] = m.clock + milliseconds;
}

}  // namespace setup::simulated

namespace setup::platform {

using simulated::TheMachine;
using simulated::TheRemoval;

void Pause(unsigned milliseconds) {
  simulated::Machine& m = TheMachine();
  simulated::RemovalState& r = TheRemoval();
  m.clock += milliseconds;
  simulated::Note("pause " + std::to_string(milliseconds));
  for (auto it = r.unlocks_at.begin(); it != r.unlocks_at.end();) {
    if (!simulated::Due(it->second)) {
      ++it;
      continue;
    }
    auto node = m.nodes.find(it->first);
    if (node != m.nodes.end()) node->second.locked = false;
    it = r.unlocks_at.erase(it);
  }
  for (auto it = r.closing_at.begin(); it != r.closing_at.end();) {
    if (!simulated::Due(it->second)) {
      ++it;
      continue;
    }
    m.windows.erase(it->first);
    it = r.closing_at.erase(it);
  }
}

std::size_t TemporaryDirectory(char* buffer, std::size_t size) {
  const std::string& path = TheRemoval().temporary_directory;
  if (TheRemoval().temporary_directory_fails || size == 0 || path.size() + 1 > size) return 0;
  path.copy(buffer, path.size());
  buffer[path.size()] = '\0';
  return path.size();
}

bool CopyFileTo(const char* source, const char* target) {
  simulated::Note(std::string("copy ") + source + " to " + target);
  simulated::Machine& m = TheMachine();
  auto from = m.nodes.find(simulated::Canonical(source));
  if (TheRemoval().copy_fails || from == m.nodes.end() || from->second.directory) return false;
  std::string key = simulated::Canonical(target);
  auto existing = m.nodes.find(key);
  if (key.empty() ||
      (existing != m.nodes.end() && (existing->second.directory || existing->second.locked)))
    return false;
  std::string parent = key.substr(0, key.rfind('\\'));
  if (parent.size() > 2 && !simulated::IsDirectory(parent)) return false;
  simulated::AddFile(target, from->second.data);
  return true;
}

bool StartProgram(const char* path, const char* arguments) {
  simulated::Note(std::string("start ") + path + " " + arguments);
  if (TheRemoval().start_fails || !simulated::Exists(path)) return false;
  TheRemoval().started.emplace_back(path, arguments);
  return true;
}

bool ScheduleRemovalAtRestart(const char* path) {
  simulated::Note(std::string("schedule ") + path);
  if (TheRemoval().schedule_fails || !simulated::Exists(path)) return false;
  TheRemoval().scheduled.emplace_back(path);
  return true;
}

bool DeleteRegistrySubkey(RegistryKey parent, const char* name) {
  // Through the path of an open key: the machine keeps keys by path.
  std::string parent_path = simulated::OpenKeyPath(parent);
  if (parent_path.empty() || TheRemoval().registry_delete_fails) return false;
  std::string key = parent_path + "\\" + name;
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  auto& registry = TheMachine().registry;
  if (registry.count(key) == 0) return false;
  for (const auto& entry : registry) {
    if (entry.first.compare(0, key.size() + 1, key + "\\") == 0) return false;  // has subkeys
  }
  registry.erase(key);
  simulated::Note("delete registry key " + key);
  return true;
}

bool SendToWindowWithin(Window window, unsigned message, std::uintptr_t wparam,
                        std::intptr_t lparam, unsigned timeout_ms) {
  simulated::Machine& m = TheMachine();
  simulated::RemovalState& r = TheRemoval();
  if (!WindowExists(window)) return false;
  std::string line = "send " + std::to_string(message) + " " + std::to_string(wparam) + " " +
                     std::to_string(lparam) + " to " + std::to_string(window);
  auto delay = m.reply_delays.find(window);
  if (r.hung.count(window) > 0 || (delay != m.reply_delays.end() && delay->second > timeout_ms)) {
    m.clock += timeout_ms;
    simulated::Note(line + " timed out");
    return false;
  }
  if (delay != m.reply_delays.end()) m.clock += delay->second;
  m.sent.push_back({window, message, wparam, lparam});
  simulated::Note(line);
  auto closes = r.closes_after.find(window);
  if (closes != r.closes_after.end()) {
    if (closes->second == 0)
      m.windows.erase(window);
    else
      r.closing_at[window] = m.clock + closes->second;
  }
  return true;
}

}  // namespace setup::platform
