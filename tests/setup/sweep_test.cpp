// The fault sweep: every installer step is run once to count its fallible
// system calls (file creation, writes, directory creation, profile writes)
// and allocations on the simulated machine, then once more for each of them
// with that one call failing. Each run must end without a crash, with
// nothing left open or allocated, with the step's documented message or
// fallback, and with nothing in the uninstall log that is not on disk
// complete. A step is one line of kSteps.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/state.h"
#include "common/text.h"
#include "driver/driver.h"
#include "harness.h"
#include "log/settings_log.h"
#include "payload/copy.h"
#include "payload/payload_table.h"
#include "platform/shell.h"
#include "platform/simulated/machine.h"
#include "platform/simulated/shell_state.h"
#include "resources/resource_ids.h"
#include "shortcuts/shortcuts.h"

namespace setup {
namespace {

using namespace simulated;

const std::string kRoot = "C:\\Corvane\\Widelens\\";
using testing::kCommonPrograms;
using testing::kQuickLaunch;

// What a file logged by the step must hold, by path; files not listed here
// need only exist.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> expected_bytes;
int step_result = 0;

std::vector<std::uint8_t> Text(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

// A machine with a short payload resource (only the first member has bytes,
// so that the sweep stays small), a FULLDATA tree, the Programs and Quick
// Launch folders.
void PrepareMachine() {
  ResetMachine();
  ResetSetup();
  Machine& m = TheMachine();
  std::vector<std::uint8_t> first = testing::MemberBytes(0);
  m.payload.assign(first.begin(), first.begin() + 1300);
  AddFile("D:\\SETUP\\FULLDATA\\Docs\\A.TXT", std::string(700, 'a'));
  AddFile("D:\\SETUP\\FULLDATA\\B.TXT", "b");
  AddDirectory(kCommonPrograms);
  AddDirectory(kQuickLaunch);
  testing::SetRegistryValue(platform::RegistryRoot::CurrentUser, testing::kMapGroups,
                            "Quick Launch", kQuickLaunch);
  expected_bytes.clear();
  for (int i = 0; i < PayloadTable.count; ++i) {
    std::vector<std::uint8_t> bytes;
    if (i == 0) bytes.assign(m.payload.begin(), m.payload.end());
    expected_bytes.emplace_back(kRoot + PayloadTable.members[i].name, bytes);
  }
  expected_bytes.emplace_back(kRoot + "Docs\\A.TXT", Text(std::string(700, 'a')));
  expected_bytes.emplace_back(kRoot + "B.TXT", Text("b"));
  step_result = 0;
}

// The state the driver has made by the time of the copy and of the group.
void PrepareInstallState() {
  PrepareMachine();
  SetupState& s = TheSetup;
  CopyText(s.destination, sizeof s.destination, "C:\\Corvane\\Widelens");
  CopyText(s.InstallRoot, sizeof s.InstallRoot, kRoot.c_str());
  CopyText(s.SetupDirectory, sizeof s.SetupDirectory, "D:\\SETUP\\");
  CopyText(s.extra_files_directory, sizeof s.extra_files_directory, "D:\\SETUP\\FULLDATA\\");
  s.IsNtPlatform = 1;
  std::size_t size = 0;
  s.payload = platform::FindNamedTypeResource(IDR_PAYLOAD, kPayloadResourceType, &size);
  s.payload_size = size;
}

bool MessageShown(const char* caption) {
  for (const MessageRecord& m : TheMachine().messages)
    if (m.caption == caption) return true;
  return false;
}

bool Failed(const char* kind) { return TheMachine().failed_call == kind; }

// --- The steps ---------------------------------------------------------------

void PrepareWriteTest() {
  PrepareMachine();
  AddDirectory("C:\\Dest");
  CopyText(TheSetup.destination, sizeof TheSetup.destination, "C:\\Dest");
}
void RunWriteTest() { step_result = DestinationWritable(); }
void CheckWriteTest() {
  // Any failure reads as a directory that cannot be written; no probe stays.
  EXPECT_EQ(step_result, TheMachine().failed_call.empty() ? 1 : 0);
  EXPECT_TRUE(FilesBelow("C:\\Dest").empty());
}

void PrepareDirectories() { PrepareMachine(); }
void RunDirectories() { ForceDirectories("C:\\Corvane\\Widelens\\"); }
void CheckDirectories() {
  if (TheMachine().failed_call.empty()) {
    EXPECT_TRUE(IsDirectory(kRoot));
  }
}

void RunCopy() {
  BeginCopy(CopyDisplay{0x99, nullptr, nullptr});
  for (int steps = 0; !CopyTick(); ++steps) ASSERT_LT(steps, 10000) << "the copy never ends";
  EndCopy();
}
void CheckCopy() {
  // A file that could not be made or written is reported; a FULLDATA list
  // that could not grow keeps what it has.
  if (Failed("file creation") || Failed("write") || Failed("directory creation")) {
    EXPECT_TRUE(MessageShown("Can NOT Write"));
  }
  if (TheMachine().failed_call.empty()) {
    EXPECT_EQ(testing::LoggedFiles().size(), 16u);
  }
}

void RunGroup() { BuildProgramGroup(); }
void CheckGroup() {
  if (TheMachine().failed_call.empty()) {
    EXPECT_EQ(testing::LoggedFiles().size(), 3u);
    EXPECT_EQ(testing::LoggedDirectories().size(), 1u);
  }
  expected_bytes.emplace_back(
      kCommonPrograms + "\\Corvane Widelens\\Welcome to www.corvane.example.com.URL",
      Text("[InternetShortcut]\r\nURL=http://www.corvane.example.com/\r\n"));
}

void PrepareQuickLaunch() {
  PrepareInstallState();
  testing::SetProfileValue("INSTALL", "INSTALLPATH", kRoot);
}
void RunQuickLaunch() { CreateQuickLaunchLink(); }
void CheckQuickLaunch() {
  std::string link = testing::ProfileValue("UNINSTALL", "FASTLINK");
  if (TheMachine().failed_call.empty()) {
    EXPECT_NE(link, "<missing>");
  }
  if (link != "<missing>") {
    EXPECT_TRUE(LinkAt(link).valid) << link;
  }
}

void PrepareWholeRun() {
  PrepareMachine();
  testing::AcceptStart();
}
void RunWholeRun() { step_result = testing::RunInstaller(); }
void CheckWholeRun() {
  EXPECT_EQ(step_result, 1);
  if (TheMachine().failed_call.empty()) {
    EXPECT_EQ(testing::LoggedFiles().size(), 20u);
  }
}

struct SweepStep {
  const char* name;
  void (*prepare)();
  void (*run)();
  void (*check)();  // the step's documented message or fallback
};

const SweepStep kSteps[] = {
    {"write test", PrepareWriteTest, RunWriteTest, CheckWriteTest},
    {"destination directories", PrepareDirectories, RunDirectories, CheckDirectories},
    {"copy", PrepareInstallState, RunCopy, CheckCopy},
    {"program group", PrepareInstallState, RunGroup, CheckGroup},
    {"quick launch link", PrepareQuickLaunch, RunQuickLaunch, CheckQuickLaunch},
    {"whole run", PrepareWholeRun, RunWholeRun, CheckWholeRun},
};

// --- The invariants of every run ------------------------------------------------

std::vector<std::string> LogEntries(const char* count_key, const char* prefix) {
  std::vector<std::string> entries;
  std::string count = testing::ProfileValue("UNINSTALL", count_key);
  int n = count == "<missing>" ? 0 : std::stoi(count);
  for (int i = 1; i <= n; ++i) {
    std::string entry = testing::ProfileValue("UNINSTALL", prefix + std::to_string(i));
    if (entry != "<missing>") entries.push_back(entry);
  }
  return entries;
}

void CheckInvariants() {
  EXPECT_EQ(OpenHandleCount(), 0) << "handles left open";
  EXPECT_EQ(TheShell().live_link_objects, 0) << "link objects left alive";
  EXPECT_TRUE(TheMachine().live_blocks.empty()) << "memory left allocated";
  for (const std::string& file : LogEntries("FILENUM", "FILE")) {
    if (file.find('*') != std::string::npos) continue;  // a pattern: the viewer's cache
    EXPECT_TRUE(Exists(file) && !IsDirectory(file)) << "logged, not on disk: " << file;
    for (const auto& [path, bytes] : expected_bytes)
      if (Canonical(path) == Canonical(file)) {
        EXPECT_EQ(Bytes(file), bytes) << "half written: " << file;
      }
    if (file.size() > 4 && file.compare(file.size() - 4, 4, ".lnk") == 0) {
      EXPECT_TRUE(LinkAt(file).valid) << "logged link not saved: " << file;
    }
  }
  for (const std::string& directory : LogEntries("PATHNUM", "DIR"))
    EXPECT_TRUE(IsDirectory(directory)) << "logged, not on disk: " << directory;
}

class Sweep : public ::testing::TestWithParam<SweepStep> {};

TEST_P(Sweep, EveryFallibleCallFailsInTurnWithoutHarm) {
  const SweepStep& step = GetParam();
  step.prepare();
  TheMachine().fallible_calls = 0;
  step.run();
  const long count = TheMachine().fallible_calls;
  {
    SCOPED_TRACE("no failure");
    step.check();
    CheckInvariants();
  }
  ASSERT_GT(count, 0) << "the step makes no fallible call";
  for (long k = 1; k <= count; ++k) {
    step.prepare();
    TheMachine().fallible_calls = 0;
    TheMachine().fail_call = k;
    step.run();
    SCOPED_TRACE(std::string(step.name) + ": call " + std::to_string(k) + " of " +
                 std::to_string(count) + " failed (" + TheMachine().failed_call + ")");
    ASSERT_FALSE(TheMachine().failed_call.empty()) << "the run made fewer calls";
    step.check();
    CheckInvariants();
    if (::testing::Test::HasFailure()) break;  // the first faulty call is enough
  }
}

INSTANTIATE_TEST_SUITE_P(InstallerSteps, Sweep, ::testing::ValuesIn(kSteps),
                         [](const ::testing::TestParamInfo<SweepStep>& step) {
                           std::string name = step.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace setup
