// Closing the running viewer (see viewer.h).
#include "core/viewer.h"

#include <cstdint>

#include "common/distribution.h"
#include "core/state.h"
#include "platform/removal.h"
#include "resources/uninstall_ids.h"

namespace uninstall {

namespace platform = setup::platform;

bool CloseRunningViewer() {
  int monitor = platform::ReadProfileInteger(setup::kSettingsFile, setup::kSettingSection,
                                             setup::kMonitorKey, 0);
  if (monitor == 0) return true;
  auto viewer = static_cast<platform::Window>(static_cast<std::uint32_t>(monitor));
  for (;;) {
    if (!platform::WindowExists(viewer)) return true;
    platform::SendToWindowWithin(viewer, setup::kViewerNotifyMessage, setup::kViewerReleaseFiles, 0,
                                 setup::kViewerNotifyTimeoutMs);
    for (unsigned waited = 0; waited < kCloseWaitMs; waited += kClosePollMs) {
      if (!platform::WindowExists(viewer)) return true;
      platform::Pause(kClosePollMs);
    }
    if (!platform::WindowExists(viewer)) return true;
    if (TheUninstall.silent) return false;
    std::string text = UiText(IDS_VIEWER_RUNNING);
    std::string caption = UiText(IDS_TITLE);
    if (platform::ShowMessage(0, text.c_str(), caption.c_str(), platform::Buttons::RetryCancel) !=
        platform::kAnswerRetry)
      return false;
  }
}

}  // namespace uninstall
