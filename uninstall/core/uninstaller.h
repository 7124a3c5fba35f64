// The uninstaller's spine: one copy at a time, the log, the confirmation,
// the running viewer, the removal in its fixed order, its own removal, and
// the summary. Its result is the process's exit code (report.h).
#ifndef LUMAVIEW_UNINSTALL_UNINSTALLER_H
#define LUMAVIEW_UNINSTALL_UNINSTALLER_H

namespace uninstall {

// The whole run, given the command line after the program's name.
int RunUninstaller(const char* command_line);

}  // namespace uninstall

#endif
