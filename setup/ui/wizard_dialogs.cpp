// The group creation wait dialog and the finish dialog (see
// wizard_dialogs.h).
#include "ui/wizard_dialogs.h"

#include "common/paths.h"
#include "common/state.h"
#include "common/text.h"
#include "resources/resource_ids.h"
#include "shortcuts/shortcuts.h"
#include "ui/placement.h"

namespace setup {

const char kToolsProgram[] = "TOOLS\\SETUPBRW.EXE";

namespace {
int tools_option = 0;
}  // namespace

// --- Group creation wait dialog ----------------------------------------------

bool GroupWaitDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value) {
  switch (event) {
    case platform::DialogEvent::Opened:
      CenterOnScreen(dialog);
      platform::StartTimer(dialog, IDT_GROUP_WAIT, 200);
      return true;
    case platform::DialogEvent::Timer:
      if (value != IDT_GROUP_WAIT) return false;
      // Stopped first, so that the group is built once however long it takes.
      platform::StopTimer(dialog, IDT_GROUP_WAIT);
      BuildProgramGroup();
      platform::EndDialogWith(dialog, 0);
      return true;
    default:
      return false;
  }
}

// --- Finish dialog -------------------------------------------------------------

bool FinishDialogProcedure(platform::Window dialog, platform::DialogEvent event, int value) {
  const SetupState& state = TheSetup;
  switch (event) {
    case platform::DialogEvent::Opened: {
      char tools[512];
      CopyText(tools, sizeof tools, state.SetupDirectory);
      AppendText(tools, sizeof tools, kToolsProgram);
      if (state.ChineseUi && PathExists(tools)) {
        tools_option = 1;
        platform::CheckItem(dialog, IDC_FINISH_TOOLS, true);
      } else {
        tools_option = 0;
        platform::CheckItem(dialog, IDC_FINISH_TOOLS, false);
        platform::ShowItem(dialog, IDC_FINISH_TOOLS, false);
      }
      if (state.ExitWhenDone) platform::StartTimer(dialog, IDT_FINISH_CLOSE, 500);
      CenterOnScreen(dialog);
      return true;
    }
    case platform::DialogEvent::Command:
      if (value != IDOK) return false;
      tools_option = platform::ItemChecked(dialog, IDC_FINISH_TOOLS) ? 1 : 0;
      platform::EndDialogWith(dialog, 1);
      return true;
    case platform::DialogEvent::Close:
      platform::EndDialogWith(dialog, 0);
      return true;
    case platform::DialogEvent::Timer:
      if (value != IDT_FINISH_CLOSE) return false;
      platform::StopTimer(dialog, IDT_FINISH_CLOSE);
      platform::EndDialogWith(dialog, 1);
      return true;
    default:
      return false;
  }
}

int ToolsOptionChosen() { return tools_option; }

}  // namespace setup
