// A running viewer (the window [SETTING] Monitor names) is asked to close
// with the notification setup sends, before anything is removed.
#ifndef LUMAVIEW_UNINSTALL_VIEWER_H
#define LUMAVIEW_UNINSTALL_VIEWER_H

namespace uninstall {

// How long the viewer may take to close once it has handled the
// notification (which it gets within setup::kViewerNotifyTimeoutMs,
// common/distribution.h).
constexpr unsigned kCloseWaitMs = 5000;
constexpr unsigned kClosePollMs = 250;

// True when no viewer runs (any more). Otherwise the user is asked to close
// it (Retry / Cancel); false when the user cancels, or at once in silent
// mode.
bool CloseRunningViewer();

}  // namespace uninstall

#endif
