// The driver (see driver.h): start-up, the wizard loop, the copy, the
// post-copy steps in their fixed order, teardown.
#include "driver/driver.h"

#include <cstring>

#include "common/paths.h"
#include "common/state.h"
#include "common/text.h"
#include "log/settings_log.h"
#include "payload/copy.h"
#include "payload/payload_table.h"
#include "resources/resource_ids.h"
#include "shortcuts/shortcuts.h"
#include "ui/background.h"
#include "ui/dialogs.h"
#include "ui/placement.h"
#include "ui/wizard_dialogs.h"

namespace setup {

namespace {

void ReadPreviousDestination() {
  char previous[512];
  platform::ReadProfileText(kSettingsFile, kInstallSection, "INSTALLPATH", "", previous,
                            sizeof previous);
  if (previous[0] == '\0') {
    CopyText(TheSetup.destination, sizeof TheSetup.destination, kDefaultDestination);
    return;
  }
  CopyText(TheSetup.destination, sizeof TheSetup.destination, previous);
  if (EndsWithBackslash(TheSetup.destination)) CutAtLastBackslash(TheSetup.destination, false);
}

void FindSetupDirectory() {
  char module[platform::kPathLimit];
  if (platform::ModuleFileName(module, sizeof module) == 0) module[0] = '\0';
  CutAtLastBackslash(module, true);
  CopyText(TheSetup.SetupDirectory, sizeof TheSetup.SetupDirectory, module);
  CopyText(TheSetup.extra_files_directory, sizeof TheSetup.extra_files_directory,
           TheSetup.SetupDirectory);
  AppendText(TheSetup.extra_files_directory, sizeof TheSetup.extra_files_directory,
             kExtraFilesDirectoryName);
}

void NotifyRunningViewer() {
  int monitor = platform::ReadProfileInteger(kSettingsFile, kSettingSection, kMonitorKey, 0);
  if (monitor == 0) return;
  auto viewer = static_cast<platform::Window>(static_cast<std::uint32_t>(monitor));
  // A viewer that is hung, or slow to answer, cannot hold setup up: the
  // message is given up on rather than waited for.
  if (platform::WindowExists(viewer))
    platform::SendToWindowWithin(viewer, kViewerNotifyMessage, kViewerReleaseFiles, 0,
                                 kViewerNotifyTimeoutMs);
}

void WriteInstallPaths() {
  char short_root[512];
  if (platform::ShortPathName(TheSetup.InstallRoot, short_root, sizeof short_root) == 0) {
    // No short form to be had: the long form still names the directory.
    CopyText(short_root, sizeof short_root, TheSetup.InstallRoot);
  }
  platform::WriteProfileText(kSettingsFile, kInstallSection, "INSTALLPATH", short_root);
  platform::WriteProfileText(kSettingsFile, kUninstallSection, "UNINSTALLPATH", short_root);
}

void RunPostCopySteps() {
  WriteInstallPaths();
  RemoveOldGroup();
  platform::RunDialog(ByLanguage(IDD_GROUP_WAIT_EN, IDD_GROUP_WAIT_ZH), GroupWaitDialogProcedure,
                      TheSetup.main_window);
  // The list of removable programs shows the product's name.
  char name[256];
  platform::LoadText(ByLanguage(IDS_GROUP_NAME_EN, IDS_GROUP_NAME_ZH), name, sizeof name);
  char path[512];
  CopyText(path, sizeof path, TheSetup.InstallRoot);
  AppendText(path, sizeof path, kUninstallerFile);
  RegisterUninstallEntry(kUninstallSubkey, name, path);
  platform::RunDialog(ByLanguage(IDD_FINISH_EN, IDD_FINISH_ZH), FinishDialogProcedure,
                      TheSetup.main_window);
  CopyText(path, sizeof path, TheSetup.InstallRoot);
  AppendText(path, sizeof path, kAdvertisementPicture);
  platform::WriteProfileText(kSettingsFile, kAdBarSection, "ImageFileName", path);
  CreateQuickLaunchLink();
  CopyText(path, sizeof path, TheSetup.InstallRoot);
  AppendText(path, sizeof path, kCachePattern);
  LogInstalledFile(path);
}

// One pass of the wizard after the start dialog's OK. False: back to the
// start dialog.
bool DestinationUsable() {
  ForceDirectories(TheSetup.destination);
  if (!platform::EnterDirectory(TheSetup.destination) &&
      !platform::MakeDirectory(TheSetup.destination)) {
    ShowDestinationMessage(TheSetup.main_window, IDS_CREATE_ERROR_CAPTION, IDS_CREATE_ERROR_TEXT,
                           platform::Buttons::Ok);
    return false;
  }
  if (!DestinationWritable()) {
    ShowDestinationMessage(TheSetup.main_window, IDS_NOT_WRITABLE_CAPTION, IDS_NOT_WRITABLE_TEXT,
                           platform::Buttons::Ok);
    return false;
  }
  return true;
}

// True when every item was copied.
bool RunCopy() {
  CopyText(TheSetup.InstallRoot, sizeof TheSetup.InstallRoot, TheSetup.destination);
  EnsureTrailingBackslash(TheSetup.InstallRoot, sizeof TheSetup.InstallRoot);
  for (int i = 0; i < kCopyIconCount; ++i)
    TheSetup.copy_icons[i] = platform::LoadIconGraphic(IDI_COPY_FIRST + i);
  std::size_t size = 0;
  TheSetup.payload = platform::FindNamedTypeResource(IDR_PAYLOAD, kPayloadResourceType, &size);
  TheSetup.payload_size = TheSetup.payload == nullptr ? 0 : size;
  TheSetup.InstallPhase = kPhaseCopy;
  int copied = platform::RunDialog(CopyDialogTemplate(), CopyDialogProcedure, TheSetup.main_window);
  TheSetup.InstallPhase = kPhaseDone;
  platform::DeleteGraphic(TheSetup.progress_brush);
  TheSetup.progress_brush = 0;
  for (int i = 0; i < kCopyIconCount; ++i) {
    platform::DestroyIconGraphic(TheSetup.copy_icons[i]);
    TheSetup.copy_icons[i] = 0;
  }
  return copied == 1;
}

void RunWizard() {
  for (;;) {
    TheSetup.InstallPhase = kPhaseStart;
    if (platform::RunDialog(StartDialogTemplate(), StartDialogProcedure, TheSetup.main_window) != 1)
      return;
    if (!DestinationUsable()) continue;
    NotifyRunningViewer();
    if (!RunCopy()) {
      // Leaving during the copy: the log goes; written files stay.
      DeleteSettingsFile();
      return;
    }
    RunPostCopySteps();
    return;
  }
}

}  // namespace

void ResetSetup() {
  ResetSetupState();
  ResetUninstallLog();
  ResetCopyState();
}

int RunSetup(platform::Handle instance, platform::Handle previous_instance) {
  if (platform::NamedEventExists(kInstanceEventName)) return 0;
  TheSetup.instance_event = platform::CreateNamedEvent(kInstanceEventName);
  TheSetup.instance = instance;
  TheSetup.IsNtPlatform = platform::NtFamily() ? 1 : 0;
  platform::StartCom();
  TheSetup.ChineseUi = platform::AnsiCodePage() == 936 ? 1 : 0;
  TheSetup.progress_brush = platform::CreateSolidBrushGraphic(0, 0, 255);
  ReadPreviousDestination();
  FindSetupDirectory();
  CopyText(TheSetup.InstallRoot, sizeof TheSetup.InstallRoot, TheSetup.destination);
  if (previous_instance == 0) platform::RegisterBackgroundClass(IDI_SETUP);
  platform::Rect desktop = RememberDesktop();
  TheSetup.welcome_picture = platform::LoadBitmapGraphic(IDB_WELCOME);
  TheSetup.title_picture = platform::LoadBitmapGraphic(ByLanguage(IDB_TITLE_EN, IDB_TITLE_ZH));
  TheSetup.main_window =
      platform::CreateBackgroundWindow(desktop, PaintBackground, RefreshBackground);
  platform::StartTimer(TheSetup.main_window, IDT_BACKGROUND_REFRESH, kBackgroundRefreshPeriod);

  RunWizard();

  platform::StopCom();
  platform::StopTimer(TheSetup.main_window, IDT_BACKGROUND_REFRESH);
  platform::PostQuit();
  platform::DeleteGraphic(TheSetup.welcome_picture);
  TheSetup.welcome_picture = 0;
  ReleaseSlideTable();
  platform::CloseNamedEvent(TheSetup.instance_event);
  TheSetup.instance_event = 0;
  return 1;
}

int DestinationWritable() { return DirectoryWritable(TheSetup.destination); }

}  // namespace setup
