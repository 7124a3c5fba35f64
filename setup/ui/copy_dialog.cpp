// The copy dialog and the exit confirmation that its Cancel button asks.
//
// The dialog runs the copy engine (payload/copy.h) from timer IDT_COPY every
// 200 ms, turns the icon on every step, shows the engine's source and
// destination names and draws the progress bar. Cancel or the close box ask
// the exit confirmation; leaving abandons the copy.
#include "common/state.h"
#include "payload/copy.h"
#include "resources/resource_ids.h"
#include "ui/dialogs.h"
#include "ui/placement.h"

namespace setup {

namespace {

constexpr unsigned kCopyTimerPeriod = 200;
int icon_index = 0;

void ShowSource(platform::Window dialog, const char* path) {
  platform::SetItemText(dialog, IDC_COPY_SOURCE, path);
}

void ShowDestination(platform::Window dialog, const char* path) {
  platform::SetItemText(dialog, IDC_COPY_DESTINATION, path);
}

void PaintProgress(platform::Window dialog) {
  platform::FillItemFromLeft(dialog, IDC_COPY_PROGRESS, TheSetup.progress_brush,
                             TheCopyJob.bar_value, 128);
}

void Begin(platform::Window dialog) {
  icon_index = 0;
  BeginCopy(CopyDisplay{dialog, ShowSource, ShowDestination});
  platform::StartTimer(dialog, IDT_COPY, kCopyTimerPeriod);
}

void Tick(platform::Window dialog) {
  if (TheCopyJob.paused > 0) return;
  icon_index = icon_index >= kCopyIconCount - 1 ? 0 : icon_index + 1;
  platform::DrawIconInItem(dialog, IDC_COPY_ICON, TheSetup.copy_icons[icon_index]);
  if (CopyTick()) {
    platform::StopTimer(dialog, IDT_COPY);
    platform::PostCommand(dialog, kCopyCompleteCommand);
  }
  PaintProgress(dialog);
}

// Cancel or the close box: asks; leaving ends the dialog with 0.
void Cancel(platform::Window dialog) {
  ++TheCopyJob.paused;
  int answer = platform::RunDialog(ExitConfirmTemplate(), ExitConfirmProcedure, dialog);
  --TheCopyJob.paused;
  if (answer != 1) return;
  AbandonCopy();
  platform::StopTimer(dialog, IDT_COPY);
  platform::EndDialogWith(dialog, 0);
}

}  // namespace

int CopyDialogTemplate() { return ByLanguage(IDD_COPY_EN, IDD_COPY_ZH); }

int ExitConfirmTemplate() { return ByLanguage(IDD_EXIT_CONFIRM_EN, IDD_EXIT_CONFIRM_ZH); }

bool CopyDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value) {
  using platform::DialogEvent;
  switch (event) {
    case DialogEvent::Opened:
      CenterOnScreen(dialog);
      Begin(dialog);
      return true;
    case DialogEvent::Timer:
      if (value != IDT_COPY) return false;
      Tick(dialog);
      return true;
    case DialogEvent::Paint:
      PaintProgress(dialog);
      return true;
    case DialogEvent::Command:
      if (value == kCopyCompleteCommand) {
        EndCopy();
        platform::EndDialogWith(dialog, 1);
      } else if (value == IDCANCEL) {
        Cancel(dialog);
      } else {
        return false;
      }
      return true;
    case DialogEvent::Close:
      Cancel(dialog);
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
