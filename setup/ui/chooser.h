// The directory chooser: the classic file-open dialog with templates 10500
// (English) and 10501 (Chinese) and a hook that validates the typed path.
#ifndef LUMAVIEW_SETUP_UI_CHOOSER_H
#define LUMAVIEW_SETUP_UI_CHOOSER_H

#include "platform/platform.h"

namespace setup {

// Free space needed on the destination's drive, in bytes.
constexpr unsigned long long kRequiredFreeBytes = 4194304;

// 1 when a new destination was accepted (the destination text holds it).
int ChooseDestination(platform::Window owner);
// 1 when the drive of the destination text (its first three characters)
// has at least kRequiredFreeBytes free.
int FreeSpaceSufficient();
// 1 when the destination text is empty, a single backslash or a drive root
// such as "C:\".
int DestinationIsRoot();
// The hook: fills the path field on opening; on OK validates the path
// (exists or may be created, free space, writable, not a root) and closes
// the chooser only when all pass.
bool ChooserHook(platform::Window dialog, platform::DialogEvent event, int value);

}  // namespace setup

#endif
