// The copy dialog and the exit confirmation that its Cancel button asks.
#include "driver/driver.h"
#include "driver/state.h"
#include "payload/copy.h"
#include "resources/resource_ids.h"
#include "ui/dialogs.h"

namespace setup {

int CopyDialogTemplate() { return TheSetup.ChineseUi ? IDD_COPY_ZH : IDD_COPY_EN; }

int ExitConfirmTemplate() { return TheSetup.ChineseUi ? IDD_EXIT_CONFIRM_ZH : IDD_EXIT_CONFIRM_EN; }

bool CopyDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value) {
  using platform::DialogEvent;
  switch (event) {
    case DialogEvent::Opened:
      CenterOnScreen(dialog);
      BeginCopy(dialog);
      return true;
    case DialogEvent::Timer:
      if (value != static_cast<int>(kCopyTimerId)) return false;
      CopyTick(dialog);
      return true;
    case DialogEvent::Paint:
      PaintCopyProgress(dialog);
      return true;
    case DialogEvent::Command:
      if (value == kCopyCompleteCommand) {
        FinishCopy(dialog);
      } else if (value == IDCANCEL) {
        CancelCopy(dialog);
      } else {
        return false;
      }
      return true;
    case DialogEvent::Close:
      CancelCopy(dialog);
      return true;
  }
  return false;
}

bool ExitConfirmProcedure(platform::Window dialog, platform::DialogEvent event, int value) {
  using platform::DialogEvent;
  switch (event) {
    case DialogEvent::Opened:
      CenterOnScreen(dialog);
      return true;
    case DialogEvent::Command:
      if (value == IDC_EXIT_LEAVE) {
        platform::EndDialogWith(dialog, 1);
      } else if (value == IDC_EXIT_RESUME) {
        platform::EndDialogWith(dialog, 0);
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
