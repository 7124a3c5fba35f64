// NOT YET BUILT: stand-ins for the steps of the program group, the shortcuts
// and the other wizard windows, so that the driver runs them in their place.
// They do nothing; the dialogs end as soon as they open. Each goes away when
// its real definition arrives.
#include "driver/steps.h"

namespace setup {

void RemoveOldGroup() {}

bool GroupWaitDialogProcedure(platform::Window dialog, platform::DialogEvent event, int) {
  if (event == platform::DialogEvent::Opened) platform::EndDialogWith(dialog, 0);
  return true;
}

bool FinishDialogProcedure(platform::Window dialog, platform::DialogEvent event, int) {
  if (event == platform::DialogEvent::Opened) platform::EndDialogWith(dialog, 1);
  return true;
}

void CreateQuickLaunchLink() {}

int ChooseDestination(platform::Window) { return 0; }

void PaintBackground(platform::Window) {}

void RefreshBackground(platform::Window) {}

void ReleaseSlideTable() {}

}  // namespace setup
