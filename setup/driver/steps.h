// Steps of the run that the driver calls and that live with the program
// group, the shortcuts and the other wizard windows. The driver fixes their
// order; each is defined by its own part of setup.
#ifndef LUMAVIEW_SETUP_STEPS_H
#define LUMAVIEW_SETUP_STEPS_H

#include "platform/platform.h"

namespace setup {

// Deletes the program group recorded as [INSTALL] GROUP by an earlier run.
void RemoveOldGroup();
// The group creation wait dialog: builds the group and ends by itself.
bool GroupWaitDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value);
// The finish dialog: 1 for Finish or its automatic close, 0 for close.
bool FinishDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value);
// Puts the viewer's link into the Quick Launch folder.
void CreateQuickLaunchLink();
// The directory chooser of the start dialog: 1 when a new destination was
// accepted (the destination text then holds it).
int ChooseDestination(platform::Window owner);
// The background window: painting and the 500 ms refresh.
void PaintBackground(platform::Window window);
void RefreshBackground(platform::Window window);
// Teardown: releases whatever the background slides hold.
void ReleaseSlideTable();

}  // namespace setup

#endif
