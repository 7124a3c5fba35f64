// The directory chooser and its validations (see chooser.h).
#include "ui/chooser.h"

#include <cstdint>

#include "common/paths.h"
#include "common/state.h"
#include "common/text.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "resources/resource_ids.h"
#include "ui/dialogs.h"
#include "ui/placement.h"

namespace setup {

namespace {

// Runs the checks of the OK button in order; true when the chooser may close.
bool DestinationAccepted(platform::Window dialog) {
  SetupState& state = TheSetup;
  if (!platform::EnterDirectory(state.destination)) {
    int answer = ShowDestinationMessage(dialog, IDS_PATH_MISSING_CAPTION, IDS_PATH_MISSING_TEXT,
                                        platform::Buttons::YesNo);
    if (answer != platform::kAnswerYes) return false;
    if (!platform::MakeDirectory(state.destination)) {
      ShowDestinationMessage(dialog, IDS_CREATE_ERROR_CAPTION, IDS_CREATE_ERROR_TEXT,
                             platform::Buttons::Ok);
      return false;
    }
  }
  if (!FreeSpaceSufficient()) {
    ShowDestinationMessage(dialog, IDS_NO_SPACE_CAPTION, IDS_NO_SPACE_TEXT, platform::Buttons::Ok);
    return false;
  }
  if (!DirectoryWritable(state.destination)) {
    ShowDestinationMessage(dialog, IDS_NOT_WRITABLE_CAPTION, IDS_NOT_WRITABLE_TEXT,
                           platform::Buttons::Ok);
    return false;
  }
  if (DestinationIsRoot()) {
    CopyText(state.caption, sizeof state.caption, "Path Error");
    CopyText(state.message, sizeof state.message, "Path Error !");
    platform::ShowMessage(dialog, state.message, state.caption, platform::Buttons::Ok);
    return false;
  }
  return true;
}

}  // namespace

int FreeSpaceSufficient() {
  char root[4];
  CopyText(root, sizeof root, TheSetup.destination);
  std::uint64_t free_bytes = 0;
  if (!platform::FreeBytesOnVolume(root, &free_bytes)) return 0;
  return free_bytes >= kRequiredFreeBytes ? 1 : 0;
}

int DestinationIsRoot() {
  const char* text = TheSetup.destination;
  if (text[0] == '\0') return 1;
  if (text[0] == '\\' && text[1] == '\0') return 1;
  return text[1] == ':' && text[2] == '\\' && text[3] == '\0' ? 1 : 0;
}

bool ChooserHook(platform::Window dialog, platform::DialogEvent event, int value) {
  SetupState& state = TheSetup;
  switch (event) {
    case platform::DialogEvent::Opened:
      platform::SetItemText(dialog, IDC_CHOOSER_PATH, state.destination);
      CenterOnScreen(dialog);
      return true;
    case platform::DialogEvent::Command:
      if (value != IDOK) return false;
      platform::GetItemText(dialog, IDC_CHOOSER_PATH, state.destination, sizeof state.destination);
      // Posting IDABORT with 1 makes the file-open call return non-zero.
      if (DestinationAccepted(dialog)) platform::PostCommandWithValue(dialog, IDABORT, 1);
      return true;
    default:
      return false;
  }
}

int ChooseDestination(platform::Window owner) {
  char title[64];
  platform::LoadText(IDS_CHOOSER_TITLE, title, sizeof title);
  int template_id = ByLanguage(IDD_CHOOSER_EN, IDD_CHOOSER_ZH);
  return platform::RunDirectoryChooser(owner, template_id, title, ChooserHook) ? 1 : 0;
}

}  // namespace setup
