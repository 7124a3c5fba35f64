// The group creation wait dialog (110 English, 10507 Chinese) and the
// finish dialog (107 English, 10503 Chinese); the driver runs them with
// GroupWaitDialogProcedure and FinishDialogProcedure.
//
// The wait dialog builds the program group 200 ms after it opened and ends
// with 0. The finish dialog ends with 1 for Finish or, when "Exit when
// Setup completed." was ticked, by itself 500 ms after it opened; 0 for the
// close box.
#ifndef LUMAVIEW_SETUP_UI_WIZARD_DIALOGS_H
#define LUMAVIEW_SETUP_UI_WIZARD_DIALOGS_H

#include "platform/platform.h"

namespace setup {

// The group creation wait dialog: builds the group and ends by itself.
bool GroupWaitDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value);
// The finish dialog: 1 for Finish or its automatic close, 0 for close.
bool FinishDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value);

// The program next to setup that the Chinese finish dialog offers to run.
extern const char kToolsProgram[];

// State of the "Run Other Tools Setup Wizard" box when the finish dialog
// ended; it is recorded only: nothing starts that program.
int ToolsOptionChosen();

}  // namespace setup

#endif
