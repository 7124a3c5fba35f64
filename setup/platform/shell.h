// Platform seam, shell concepts: the shell's link object (COM), file
// attributes and directory removal, and the classic directory chooser.
// Implemented by win32/shell.cpp and simulated/shell.cpp.
#ifndef LUMAVIEW_SETUP_PLATFORM_SHELL_H
#define LUMAVIEW_SETUP_PLATFORM_SHELL_H

#include <cstdint>

#include "platform/platform.h"

namespace setup::platform {

// --- Shell links -------------------------------------------------------------
// The shell's link object (CLSID_ShellLink through IShellLinkA), in-process;
// 0 when it cannot be created.
using ShellLink = Handle;
ShellLink CreateShellLinkObject();
void SetShellLinkPath(ShellLink link, const char* target);
void SetShellLinkArguments(ShellLink link, const char* arguments);
void SetShellLinkIcon(ShellLink link, const char* icon_file, int icon_index);
void SetShellLinkDescription(ShellLink link, const char* description);
// Saves the link (IPersistFile, remembering the file) under an ANSI path
// converted to UTF-16 (at most 260 characters); false when the object gives
// no IPersistFile or the save fails.
bool SaveShellLink(ShellLink link, const char* path);
void ReleaseShellLinkObject(ShellLink link);

// --- Removing ------------------------------------------------------------------
// Sets a file's or directory's attributes to normal (clears read-only).
bool SetNormalAttributes(const char* path);
// Removes an empty directory.
bool RemoveDirectoryAt(const char* path);

// --- Directory chooser ------------------------------------------------------------
// Runs the classic (non-Explorer) file-open dialog with a template of the
// program and a hook: filter "*.*", no initial directory. The hook gets
// Opened and Command events and returns true for what it handled. True when
// the dialog ended with a non-zero result.
bool RunDirectoryChooser(Window owner, int template_id, const char* title, DialogProcedure hook);
// Posts a command with a second parameter (the command message's lParam).
void PostCommandWithValue(Window dialog, int command, std::intptr_t value);

}  // namespace setup::platform

#endif
