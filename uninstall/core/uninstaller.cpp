// The uninstaller's spine (see uninstaller.h).
#include "core/uninstaller.h"

#include <cstring>
#include <string>

#include "common/text.h"
#include "core/command_line.h"
#include "core/handoff.h"
#include "core/log_reader.h"
#include "core/path_rules.h"
#include "core/places.h"
#include "core/removal.h"
#include "core/report.h"
#include "core/state.h"
#include "core/viewer.h"
#include "dialogs/summary_dialog.h"
#include "driver/driver.h"
#include "platform/removal.h"
#include "resources/uninstall_ids.h"

namespace uninstall {

namespace platform = setup::platform;

namespace {

void Tell(int text_id, const char* subject, platform::Buttons buttons, int* answer) {
  std::string format = UiText(text_id);
  char text[1024];
  setup::FormatWithText(text, sizeof text, format.c_str(), subject);
  std::string caption = UiText(IDS_TITLE);
  int result = platform::ShowMessage(0, text, caption.c_str(), buttons);
  if (answer != nullptr) *answer = result;
}

// Everything after the single-instance rule.
int Uninstall() {
  Report report;
  LogHeader header;
  if (ReadLogHeader(&header, &report) == LogStatus::Missing) {
    if (!TheUninstall.silent) Tell(IDS_NOT_INSTALLED, "", platform::Buttons::Ok, nullptr);
    return kExitNothingInstalled;
  }
  ProductPlaces places;
  Verdict install_verdict;
  if (!FindProductPlaces(header.install_folder, header.group, &places, &install_verdict)) {
    if (!TheUninstall.silent)
      Tell(IDS_LOG_UNUSABLE, header.install_folder, platform::Buttons::Ok, nullptr);
    return kExitNothingInstalled;
  }
  if (!TheUninstall.silent) {
    int answer = 0;
    Tell(IDS_CONFIRM, "", platform::Buttons::YesNo, &answer);
    if (answer != platform::kAnswerYes) return kExitNotStarted;
  }
  if (!CloseRunningViewer()) return kExitNotStarted;

  RemovalRun run{};
  run.places = &places;
  run.report = &report;
  for (const char* p = header.group; *p != '\0'; ++p)
    run.other_code_page = run.other_code_page || static_cast<unsigned char>(*p) >= 0x80;
  run.other_code_page = run.other_code_page && !TheUninstall.ChineseUi;
  RemoveLoggedFiles(header, &run);
  RemoveQuickLaunchLink(header, &run);
  RemoveLoggedDirectories(header, &run);
  RemoveRegistryEntry(&report);
  RemoveSettingsFile(&report);
  PrepareHandOff(&run);
  if (!TheUninstall.silent) ShowSummary(report);
  StartHandOff(&run);
  return report.ExitCode();
}

}  // namespace

int RunUninstaller(const char* command_line) {
  ResetUninstallState();
  CommandLine line;
  ParseCommandLine(command_line, &line);
  TheUninstall.silent = line.silent;
  TheUninstall.ChineseUi = platform::AnsiCodePage() == 936 ? 1 : 0;
  char module[kPathSize];
  if (platform::ModuleFileName(module, sizeof module) == 0 ||
      !NormalForm(module, TheUninstall.module, sizeof TheUninstall.module))
    TheUninstall.module[0] = '\0';
  // Out of the install folder (the shell may start the program there): a
  // folder that is some process's current folder cannot be removed, and the
  // copy in the temporary folder starts in this one.
  char away[kPathSize];
  if (platform::TemporaryDirectory(away, sizeof away) > 0 ||
      platform::WindowsDirectory(away, sizeof away) > 0)
    platform::EnterDirectory(away);
  if (line.cleanup) return RunCleanup(line.cleanup_file, line.cleanup_folder);

  // Setup and the uninstaller share setup's instance event: neither runs
  // while the other does.
  if (platform::NamedEventExists(setup::kInstanceEventName)) {
    if (!TheUninstall.silent) Tell(IDS_ALREADY_RUNNING, "", platform::Buttons::Ok, nullptr);
    return kExitNotStarted;
  }
  platform::Event event = platform::CreateNamedEvent(setup::kInstanceEventName);
  int result = Uninstall();
  platform::CloseNamedEvent(event);
  return result;
}

}  // namespace uninstall
