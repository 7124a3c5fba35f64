// The dialog procedures of the start dialog, the copy dialog and the exit
// confirmation. Each is thin: it forwards to the logic of setup.
#ifndef LUMAVIEW_SETUP_DIALOGS_H
#define LUMAVIEW_SETUP_DIALOGS_H

#include "platform/platform.h"

namespace setup {

bool StartDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value);
bool CopyDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value);
bool ExitConfirmProcedure(platform::Window dialog, platform::DialogEvent event, int value);

// Template ids by language.
int StartDialogTemplate();
int CopyDialogTemplate();
int ExitConfirmTemplate();

}  // namespace setup

#endif
