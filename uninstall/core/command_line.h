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
  char cleanup_file[kPathSize];  // cut to the buffer: then refused as too long
  char cleanup_folder[kPathSize];
};

void ParseCommandLine(const char* text, CommandLine* line);

}  // namespace uninstall

#endif
