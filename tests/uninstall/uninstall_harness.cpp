#include "uninstall_harness.h"

#include <map>

#include "common/state.h"
#include "core/uninstaller.h"
#include "harness.h"
#include "platform/platform.h"
#include "platform/simulated/removal_state.h"
#include "platform/simulated/shell_state.h"
#include "resources/uninstall_ids.h"

namespace uninstall::testing {

using namespace setup::simulated;
namespace platform = setup::platform;

const std::string kInstall = "C:\\Corvane\\Widelens";
const std::string kGroup = kCommonPrograms + "\\Corvane Widelens";
const std::string kUninstallEntry =
    "hklm\\software\\microsoft\\windows\\currentversion\\uninstall\\lumaview";

namespace {

SummaryShown summary;
std::map<unsigned, std::map<int, std::string>> setup_strings;

}  // namespace

void FreshMachine() {
  setup::testing::FreshMachine();
  ResetShell();
  ResetRemoval();
  summary = SummaryShown();
  setup_strings = TheMachine().string_tables;
  using setup::testing::SetRegistryValue;
  SetRegistryValue(platform::RegistryRoot::LocalMachine, setup::testing::kShellFolders,
                   "Common Programs", kCommonPrograms);
  SetRegistryValue(platform::RegistryRoot::CurrentUser, setup::testing::kShellFolders, "Programs",
                   kUserPrograms);
  SetRegistryValue(platform::RegistryRoot::CurrentUser, setup::testing::kMapGroups, "Quick Launch",
                   kQuickLaunch);
  AddDirectory(kCommonPrograms);
  AddDirectory(kUserPrograms);
  AddDirectory(kQuickLaunch);
  AddDirectory("C:\\WINDOWS\\TEMP");
  AddFile("D:\\SETUP\\FULLDATA\\Widelens.CHM", "help");
  AddFile("D:\\SETUP\\FULLDATA\\Docs\\README.TXT", "read me");
  AddFile("D:\\SETUP\\FULLDATA\\Docs\\Deep\\NOTE.TXT", "note");
}

void Install(const std::string& destination) {
  Machine& m = TheMachine();
  m.string_tables = setup_strings;  // the machine runs setup.exe now
  m.module_path = "D:\\SETUP\\SETUP.EXE";
  setup::ResetSetupState();
  if (m.code_page == 936) {
    // The Chinese start and finish dialogs.
    OnDialog(113, [destination](Window dialog) {
      if (!destination.empty()) TypeInto(dialog, 201, destination);
      Press(dialog, 1);
    });
    OnDialog(10503, [](Window dialog) { Press(dialog, 1); });
  } else {
    setup::testing::AcceptStart(destination);
  }
  setup::testing::RunInstaller();
  m.dialogs_run.clear();
  m.messages.clear();
  m.journal.clear();
  UseUninstallerStrings();
}

void UseUninstallerStrings() {
  const int with_text[] = {IDS_LOG_UNUSABLE,  IDS_NOTE_MISSING,   IDS_NOTE_EMPTY, IDS_NOTE_NEGATIVE,
                           IDS_NOTE_TOO_MANY, IDS_NOTE_NOT_FOUND, IDS_NOTE_MORE};
  std::map<int, std::string> strings;
  for (int id = 1; id < 100; ++id) {
    std::string text = "#" + std::to_string(id);
    for (int each : with_text) {
      if (each == id) text += " %s";
    }
    strings[id] = text;
    strings[id + UNINSTALL_CHINESE_OFFSET] = "#zh" + text.substr(1);
  }
  // Both tables hold both sets: the program picks by the code page itself.
  TheMachine().string_tables = {{1252, strings}, {936, strings}};
}

void WriteLog(const std::string& install_path, const std::vector<std::string>& files,
              const std::vector<std::string>& directories) {
  SetProfileValue("UNINSTALL", "UNINSTALLPATH", install_path);
  SetProfileValue("UNINSTALL", "FILENUM", std::to_string(files.size()));
  for (std::size_t i = 0; i < files.size(); ++i)
    SetProfileValue("UNINSTALL", "FILE" + std::to_string(i + 1), files[i]);
  SetProfileValue("UNINSTALL", "PATHNUM", std::to_string(directories.size()));
  for (std::size_t i = 0; i < directories.size(); ++i)
    SetProfileValue("UNINSTALL", "DIR" + std::to_string(i + 1), directories[i]);
  UseUninstallerStrings();
}

void ScriptUser(bool confirm) {
  TheMachine().answer = [confirm](const MessageRecord& message) {
    if (message.buttons == platform::Buttons::YesNo)
      return confirm ? platform::kAnswerYes : platform::kAnswerNo;
    if (message.buttons == platform::Buttons::RetryCancel) return platform::kAnswerCancel;
    return platform::kAnswerOk;
  };
  for (int id : {IDD_SUMMARY_EN, IDD_SUMMARY_ZH}) {
    OnDialog(id, [id](Window dialog) {
      summary.template_id = id;
      summary.headline = DialogOf(dialog).texts[IDC_SUMMARY_HEADLINE];
      summary.list = DialogOf(dialog).texts[IDC_SUMMARY_LIST];
      Press(dialog, IDOK);
    });
  }
}

const SummaryShown& Summary() { return summary; }

int RunInstalled(const std::string& arguments) {
  TheMachine().module_path = "C:\\CORVANE\\WIDELENS\\UNINST32.EXE";  // the link's target
  return RunUninstaller(arguments.c_str());
}

int RunStartedCopy() {
  auto& started = TheRemoval().started;
  if (started.empty()) return -1;
  auto program = started.back();
  started.pop_back();
  TheMachine().module_path = program.first;
  return RunUninstaller(program.second.c_str());
}

std::vector<std::string> MessageIds() {
  std::vector<std::string> ids;
  for (const MessageRecord& message : TheMachine().messages) {
    std::string text = message.text;
    ids.push_back(text.substr(0, text.find(' ')));
  }
  return ids;
}

std::vector<std::string> Below(const std::string& path) {
  std::vector<std::string> found;
  std::string base = Canonical(path);
  for (const auto& [key, node] : TheMachine().nodes) {
    if (key == base || key.compare(0, base.size() + 1, base + "\\") == 0)
      found.push_back(node.path);
  }
  return found;
}

}  // namespace uninstall::testing
