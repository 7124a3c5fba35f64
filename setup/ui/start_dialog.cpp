// The start dialog: destination, description, "Exit when Setup completed.";
// and the message box that names the destination, shared with the chooser
// and the driver.
#include "common/state.h"
#include "common/text.h"
#include "resources/resource_ids.h"
#include "ui/chooser.h"
#include "ui/dialogs.h"
#include "ui/placement.h"

namespace setup {

int StartDialogTemplate() { return ByLanguage(IDD_START_EN, IDD_START_ZH); }

int ShowDestinationMessage(platform::Window owner, int caption_id, int text_id,
                           platform::Buttons buttons) {
  SetupState& state = TheSetup;
  platform::LoadText(caption_id, state.caption, sizeof state.caption);
  platform::LoadText(text_id, state.message, sizeof state.message);
  FormatWithText(state.output, sizeof state.output, state.message, state.destination);
  return platform::ShowMessage(owner, state.output, state.caption, buttons);
}

bool StartDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value) {
  using platform::DialogEvent;
  switch (event) {
    case DialogEvent::Opened:
      platform::CheckItem(dialog, IDC_START_EXIT_WHEN_DONE, TheSetup.ExitWhenDone != 0);
      platform::SetItemText(dialog, IDC_START_DESTINATION, TheSetup.destination);
      platform::LoadText(ByLanguage(IDS_DESCRIPTION_EN, IDS_DESCRIPTION_ZH), TheSetup.message,
                         sizeof TheSetup.message);
      platform::SetItemText(dialog, IDC_START_DESCRIPTION, TheSetup.message);
      CenterOnScreen(dialog);
      return true;
    case DialogEvent::Paint:
      platform::DrawBitmapInItem(dialog, IDC_START_PICTURE, TheSetup.welcome_picture);
      return true;
    case DialogEvent::Command:
      if (value == IDOK) {
        TheSetup.ExitWhenDone = platform::ItemChecked(dialog, IDC_START_EXIT_WHEN_DONE) ? 1 : 0;
        platform::GetItemText(dialog, IDC_START_DESTINATION, TheSetup.destination,
                              sizeof TheSetup.destination);
        platform::EndDialogWith(dialog, 1);
      } else if (value == IDCANCEL) {
        platform::EndDialogWith(dialog, 0);
      } else if (value == IDC_START_BROWSE) {
        platform::GetItemText(dialog, IDC_START_DESTINATION, TheSetup.destination,
                              sizeof TheSetup.destination);
        if (ChooseDestination(dialog) == 1)
          platform::SetItemText(dialog, IDC_START_DESTINATION, TheSetup.destination);
      } else {
        return false;
      }
      return true;
    case DialogEvent::Close:
      platform::EndDialogWith(dialog, 0);
      return true;
    default:
      return false;
  }
}

}  // namespace setup
