// The dialog procedures of the start dialog, the copy dialog and the exit
// confirmation, their templates by language, and the message box that
// names the destination. Each procedure is thin: it forwards to the logic
// of setup.
#ifndef LUMAVIEW_SETUP_DIALOGS_H
#define LUMAVIEW_SETUP_DIALOGS_H

#include "platform/platform.h"

namespace setup {

// The command a finished copy posts to its dialog.
constexpr int kCopyCompleteCommand = 0x7F01;

bool StartDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value);
bool CopyDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value);
bool ExitConfirmProcedure(platform::Window dialog, platform::DialogEvent event, int value);

// Template ids by language.
int StartDialogTemplate();
int CopyDialogTemplate();
int ExitConfirmTemplate();

// Loads a caption and a text of the string table into the state's buffers
// and shows the text with the destination in place of "%s"; the answer.
int ShowDestinationMessage(platform::Window owner, int caption_id, int text_id,
                           platform::Buttons buttons);

}  // namespace setup

#endif
