// Shared set-up for the uninstaller tests: a machine on which setup has
// installed the product (with a FULLDATA tree, a program group and a Quick
// Launch link), the uninstaller's string table, and runs of the uninstaller
// as the group's "Remove Widelens" link starts it, or as its copy in the
// temporary folder is started.
#ifndef LUMAVIEW_TESTS_UNINSTALL_HARNESS_H
#define LUMAVIEW_TESTS_UNINSTALL_HARNESS_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "platform/simulated/machine.h"

namespace uninstall::testing {

extern const std::string kInstall;      // "C:\Corvane\Widelens"
using setup::testing::kCommonPrograms;  // where the group goes (NT family)
using setup::testing::kQuickLaunch;
using setup::testing::kUserPrograms;
extern const std::string kGroup;           // kCommonPrograms + "\Corvane Widelens"
extern const std::string kUninstallEntry;  // the registry key, as the machine keeps it

// A fresh machine with the Programs and Quick Launch folders in the
// registry and a FULLDATA tree next to setup (FULLDATA\Widelens.CHM,
// FULLDATA\Docs\README.TXT, FULLDATA\Docs\Deep\NOTE.TXT).
void FreshMachine();
// Runs setup's logic through a complete install into `destination` (empty:
// the default), in the code page set, then loads the uninstaller's strings.
void Install(const std::string& destination = "");
// The uninstaller's string table: each text is "#<id>" followed by " %s"
// where the real text takes one, so tests can tell messages apart.
void UseUninstallerStrings();
// A hand-written log for the safety tests: UNINSTALLPATH, and the entries.
void WriteLog(const std::string& install_path, const std::vector<std::string>& files,
              const std::vector<std::string>& directories);

// The settings file, read and set as in setup's own tests.
using setup::testing::ProfileValue;
using setup::testing::SetProfileValue;
using setup::testing::SettingsFileExists;

// A test that starts on a fresh machine where setup has just installed the
// product.
class InstalledProduct : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshMachine();
    Install();
  }
};

// Answers the confirmation with `confirm`, and the summary dialog with OK
// (its headline and list are kept in Summary()).
void ScriptUser(bool confirm = true);
struct SummaryShown {
  int template_id = 0;
  std::string headline;
  std::string list;
};
const SummaryShown& Summary();

// Runs the uninstaller from the install folder, as the link does.
int RunInstalled(const std::string& arguments = "");
// Runs the copy that the last run started from the temporary folder; -1
// when none was started.
int RunStartedCopy();

// The message boxes shown, as "#<id>" markers (the start of their texts).
std::vector<std::string> MessageIds();
// Paths of every file and folder below (and including) `path`.
std::vector<std::string> Below(const std::string& path);

}  // namespace uninstall::testing

#endif
