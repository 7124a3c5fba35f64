// The simulated machine's shell side (platform/shell.h, platform/painting.h):
// shell links as readable files, read-only attributes, the directory
// chooser run as a simulated dialog, and a record of what was painted.
// ResetMachine() resets it too; ResetShell() alone is for the shell tests.
#ifndef LUMAVIEW_SETUP_SIMULATED_SHELL_STATE_H
#define LUMAVIEW_SETUP_SIMULATED_SHELL_STATE_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace setup::simulated {

// A link as saved: a file whose lines are "ShellLink", then Target=,
// Arguments=, Icon=, IconIndex= and Description= lines.
struct SavedLink {
  bool valid = false;
  std::string target;
  std::string arguments;
  std::string icon_file;
  int icon_index = 0;
  std::string description;
};

struct PaintedFill {
  platform::Rect area;
  std::uint32_t colour;  // 0xRRGGBB
};
struct PaintedInk {
  platform::Graphic bitmap;
  long x, y;
  std::uint32_t colour;
};

struct ShellState {
  bool link_objects_fail = false;  // the link object cannot be created
  bool persist_fails = false;      // the object gives no IPersistFile
  int live_link_objects = 0;
  std::set<std::string> read_only;  // canonical paths
  // The chooser: the title it was given and the value posted with IDABORT.
  std::vector<std::string> chooser_titles;
  // Painting.
  platform::Rect client{0, 0, 1024, 768};
  long bitmap_width = 526;
  int paints_begun = 0;
  int paints_ended = 0;
  std::vector<PaintedFill> fills;
  std::vector<PaintedInk> inks;
  std::vector<platform::Graphic> slides_drawn;
};

ShellState& TheShell();
void ResetShell();
// Makes an existing file read-only: it cannot be deleted, written or
// opened until its attributes are set to normal.
void MakeReadOnly(const std::string& path);
// The link saved at a path (valid is false when there is none).
SavedLink LinkAt(const std::string& path);

}  // namespace setup::simulated

#endif
