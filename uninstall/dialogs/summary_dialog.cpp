// The summary dialog (see summary_dialog.h): fills its two texts when it
// opens and ends with OK, Cancel or the close box.
#include "dialogs/summary_dialog.h"

#include <string>

#include "core/state.h"
#include "platform/platform.h"
#include "resources/uninstall_ids.h"

namespace uninstall {

namespace platform = setup::platform;

namespace {

const Report* shown_report = nullptr;

bool SummaryProcedure(platform::Window dialog, platform::DialogEvent event, int value) {
  switch (event) {
    case platform::DialogEvent::Opened: {
      std::string headline = UiText(shown_report->Headline());
      std::string list = shown_report->ListText(kSummaryLimit);
      platform::SetItemText(dialog, IDC_SUMMARY_HEADLINE, headline.c_str());
      platform::SetItemText(dialog, IDC_SUMMARY_LIST, list.c_str());
      return true;
    }
    case platform::DialogEvent::Command:
      if (value == IDOK || value == IDCANCEL) {
        platform::EndDialogWith(dialog, value);
        return true;
      }
      return false;
    case platform::DialogEvent::Close:
      platform::EndDialogWith(dialog, IDCANCEL);
      return true;
    default:
      return false;
  }
}

}  // namespace

void ShowSummary(const Report& report) {
  shown_report = &report;
  platform::RunDialog(TheUninstall.ChineseUi ? IDD_SUMMARY_ZH : IDD_SUMMARY_EN, SummaryProcedure,
                      0);
  shown_report = nullptr;
}

}  // namespace uninstall
