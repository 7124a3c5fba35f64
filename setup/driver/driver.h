// The installer's entry point and spine: start-up, the wizard loop with the
// destination checks, the copy, the post-copy steps and teardown. The top
// layer of setup: it calls every other part, and no part calls it.
#ifndef LUMAVIEW_SETUP_DRIVER_H
#define LUMAVIEW_SETUP_DRIVER_H

#include "common/distribution.h"
#include "platform/platform.h"

namespace setup {

constexpr const char* kDefaultDestination = "C:\\Corvane\\Widelens\\";
constexpr const char* kExtraFilesDirectoryName = "FULLDATA\\";
constexpr const char* kAdvertisementPicture = "Widelens.GIF";

// The whole run. 0 when another setup is running, 1 otherwise.
int RunSetup(platform::Handle instance, platform::Handle previous_instance);

// Clears everything a run leaves behind in the process: SetupState, the
// uninstall log's counters and the copy engine's memory.
void ResetSetup();

// 1 when a 128-byte test file could be written into the destination.
int DestinationWritable();

}  // namespace setup

#endif
