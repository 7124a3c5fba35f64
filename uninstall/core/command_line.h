// The uninstaller's command line: "/S" (silent, also "-S"), and the
// "/CLEANUP file folder" that the copy in the temporary folder is started
// with. Words are separated by spaces; a word in double quotes may hold
// spaces. Option names are case-blind; other words are ignored.
#ifndef LUMAVIEW_UNINSTALL_COMMAND_LINE_H
#define LUMAVIEW_UNINSTALL_COMMAND_LINE_H

#include "core/places.h"

namespace uninstall {

struct CommandLine {
  bool silent;
  bool cleanup;
  // One byte more than a usable path: a word cut to fit is as long as the
  // path limit, and so refused as too long instead of naming another path.
  char cleanup_file[kPathSize + 1];
  char cleanup_folder[kPathSize + 1];
};

void ParseCommandLine(const char* text, CommandLine* line);

}  // namespace uninstall

#endif
