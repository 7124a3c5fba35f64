// SetupState: the installer's one process-wide record, alive for the whole
// run. Every layer above the platform seam reads and writes it; it holds no
// behaviour beyond the language choice of ids.
#ifndef LUMAVIEW_SETUP_STATE_H
#define LUMAVIEW_SETUP_STATE_H

#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace setup {

// The destination the user sees holds at most this many characters.
constexpr std::size_t kDestinationLimit = 127;
// The copy dialog turns through icons IDI_COPY_FIRST onwards.
constexpr int kCopyIconCount = IDI_COPY_COUNT;

enum InstallPhaseValue { kPhaseStart = 0, kPhaseCopy = 3, kPhaseDone = 4 };

struct SetupState {
  platform::Handle instance;
  int IsNtPlatform;
  int ChineseUi;
  platform::Window main_window;
  platform::Graphic welcome_picture;  // bitmap 104
  platform::Graphic title_picture;    // bitmap 111 or 112
  platform::Graphic progress_brush;   // pure blue
  char destination[kDestinationLimit + 1];
  // The destination with exactly one trailing backslash.
  char InstallRoot[kDestinationLimit + 2];
  // The running program's directory with its trailing backslash; sized for
  // the system's path limit, since setup may start from a deep directory.
  char SetupDirectory[platform::kPathLimit];
  char extra_files_directory[platform::kPathLimit + 16];
  int ExitWhenDone;
  int InstallPhase;
  int progress_percent;
  platform::Graphic copy_icons[kCopyIconCount];
  const unsigned char* payload;
  std::size_t payload_size;
  char caption[256];
  char message[512];
  char output[512];
  platform::Event instance_event;
};

extern SetupState TheSetup;

// Clears the record to its state before start-up.
void ResetSetupState();

// The id of a pair of English and Chinese resources that the running
// language (ChineseUi) picks.
int ByLanguage(int english_id, int chinese_id);

}  // namespace setup

#endif
