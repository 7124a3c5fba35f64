// The simulated machine's removal side (platform/removal.h): the temporary
// folder, programs started, removals scheduled for the next restart, files
// that stay locked for a while, windows that close (or hang) when notified,
// and a switch to make each of these system calls fail.
// Reset with ResetRemoval() next to ResetMachine().
#ifndef LUMAVIEW_SETUP_SIMULATED_REMOVAL_STATE_H
#define LUMAVIEW_SETUP_SIMULATED_REMOVAL_STATE_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace setup::simulated {

struct RemovalState {
  std::string temporary_directory = "C:\\WINDOWS\\TEMP\\";
  // Programs started: quoted-path command lines are not built here; each
  // entry is the program's path and its arguments.
  std::vector<std::pair<std::string, std::string>> started;
  std::vector<std::string> scheduled;  // paths as given, in order
  // Canonical path of a locked file to the clock value at which it unlocks.
  std::map<std::string, std::uint32_t> unlocks_at;
  // Windows that close this many milliseconds after receiving a message.
  std::map<platform::Window, std::uint32_t> closes_after;
  std::map<platform::Window, std::uint32_t> closing_at;
  std::set<platform::Window> hung;  // never answer a message
  // Failures on demand.
  bool temporary_directory_fails = false;
  bool copy_fails = false;
  bool start_fails = false;
  bool schedule_fails = false;
  bool registry_delete_fails = false;
};

RemovalState& TheRemoval();
void ResetRemoval();
// Locks an existing file (it cannot be deleted or opened) until the clock
// has advanced by `milliseconds`; UINT32_MAX keeps it locked.
void LockFileFor(const std::string& path, std::uint32_t milliseconds);

}  // namespace setup::simulated

#endif
