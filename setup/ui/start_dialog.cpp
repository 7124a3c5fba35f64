// The start dialog: destination, description, "Exit when Setup completed."
#include "driver/driver.h"
#include "driver/state.h"
#include "driver/steps.h"
#include "driver/text.h"
#include "resources/resource_ids.h"
#include "ui/dialogs.h"

namespace setup {

int StartDialogTemplate() { return TheSetup.ChineseUi ? IDD_START_ZH : IDD_START_EN; }

bool StartDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value) {
  using platform::DialogEvent;
  switch (event) {
    case DialogEvent::Opened:
      platform::CheckItem(dialog, IDC_START_EXIT_WHEN_DONE, TheSetup.ExitWhenDone != 0);
      platform::SetItemText(dialog, IDC_START_DESTINATION, TheSetup.destination);
      platform::LoadText(TheSetup.ChineseUi ? IDS_DESCRIPTION_ZH : IDS_DESCRIPTION_EN,
                         TheSetup.message, sizeof TheSetup.message);
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
