// The installer's entry point and spine: start-up, the wizard loop with the
// destination checks, the copy, the post-copy steps and teardown. The top
// layer of setup: it calls every other part, and no part calls it.
#ifndef LUMAVIEW_SETUP_DRIVER_H
#define LUMAVIEW_SETUP_DRIVER_H

#include "platform/platform.h"

namespace setup {

constexpr const char* kInstanceEventName = "Corvane";
constexpr const char* kDefaultDestination = "C:\\Corvane\\Widelens\\";
constexpr const char* kExtraFilesDirectoryName = "FULLDATA\\";
constexpr const char* kUninstallSubkey = "Lumaview";
constexpr const char* kUninstallerFile = "UNINST32.EXE";
constexpr const char* kAdvertisementPicture = "Widelens.GIF";
constexpr const char* kCachePattern = "Cache\\*.*";
// Sent synchronously to the running viewer before its files are replaced,
// with wParam kViewerReleaseFiles and lParam 0: the viewer lets go of its
// files and closes.
constexpr unsigned kViewerNotifyMessage = 19592;
constexpr unsigned kViewerReleaseFiles = 16;
// The longest setup waits for a running viewer to take that message.
constexpr unsigned kViewerNotifyTimeoutMs = 5000;

// The whole run. 0 when another setup is running, 1 otherwise.
int RunSetup(platform::Handle instance, platform::Handle previous_instance);

// Clears everything a run leaves behind in the process: SetupState, the
// uninstall log's counters and the copy engine's memory.
void ResetSetup();

// 1 when a 128-byte test file could be written into the destination.
int DestinationWritable();

}  // namespace setup

#endif
