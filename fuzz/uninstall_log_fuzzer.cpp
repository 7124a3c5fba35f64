// The uninstaller, silent, on any uninstall log (on the simulated machine):
// it ends with one of its exit codes, and a file outside the install folder
// and the program group that the log names is never removed, whatever the
// log says. Input lines: UNINSTALLPATH, FILENUM, PATHNUM, GROUP, FASTLINK,
// then FILE1, DIR1, FILE2, DIR2, ...; a first byte of 0x80 or above runs
// under code page 936.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/distribution.h"
#include "core/report.h"
#include "core/uninstaller.h"
#include "fuzz_input.h"
#include "platform/simulated/machine.h"
#include "platform/simulated/removal_state.h"

namespace {

using namespace setup::simulated;

// Files every log may name but none may remove unless they lie in the
// product's places.
const char* const kSentinels[] = {
    "C:\\WINDOWS\\WIN.INI",
    "C:\\WINDOWS\\SYSTEM\\KERNEL.DLL",
    "C:\\Keep.txt",
    "D:\\Other\\Keep.txt",
    "C:\\Corvane\\Beside.txt",
    "C:\\Corvane\\Widelens\\Lumaview.exe",
    "C:\\WINDOWS\\Start Menu\\Programs\\Other\\Other.lnk",
    "C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Programs\\Corvane Widelens\\Remove Widelens.lnk",
};
const char* const kProgramsFolders[] = {"C:\\WINDOWS\\Start Menu\\Programs",
                                        "C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Programs"};

bool Below(const std::string& path, const std::string& folder) {
  std::string inner = Canonical(path);
  std::string outer = Canonical(folder);
  return !outer.empty() && inner.size() > outer.size() + 1 &&
         inner.compare(0, outer.size() + 1, outer + "\\") == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetMachine();
  ResetRemoval();
  Machine& m = TheMachine();
  std::string text(reinterpret_cast<const char*>(data), size);
  if (!text.empty() && static_cast<unsigned char>(text[0]) >= 0x80) m.code_page = 936;
  std::vector<std::string> lines;
  for (std::size_t start = 0; start <= text.size() && lines.size() < 64;) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    // A profile value is a C text: whatever follows a zero byte is not part
    // of it, for the uninstaller nor for the judgement below.
    std::string line = text.substr(start, end - start);
    lines.push_back(line.substr(0, line.find('\0')));
    start = end + 1;
  }
  lines.resize(std::max<std::size_t>(lines.size(), 5));
  for (const char* sentinel : kSentinels) AddFile(sentinel, "keep");
  AddFile("C:\\WINDOWS\\TEMP\\x", "");
  const char* keys[] = {setup::kUninstallPathKey, setup::kFileCountKey, setup::kDirectoryCountKey,
                        nullptr, setup::kFastLinkKey};
  for (int i = 0; i < 5; ++i) {
    if (keys[i] != nullptr)
      SetProfileValue(setup::kSettingsFile, setup::kUninstallSection, keys[i], lines[i]);
  }
  SetProfileValue(setup::kSettingsFile, setup::kInstallSection, setup::kGroupKey, lines[3]);
  for (std::size_t i = 5; i < lines.size(); ++i) {
    char key[16];
    std::snprintf(key, sizeof key,
                  (i - 5) % 2 == 0 ? setup::kFileKeyPattern : setup::kDirectoryKeyPattern,
                  static_cast<int>((i - 5) / 2 + 1));
    SetProfileValue(setup::kSettingsFile, setup::kUninstallSection, key, lines[i]);
  }
  m.module_path = "C:\\Corvane\\Widelens\\UNINST32.EXE";
  AddFile(m.module_path, "me");

  int code = uninstall::RunUninstaller("/S");
  FUZZ_CHECK(code >= uninstall::kExitRemoved && code <= uninstall::kExitRestartNeeded);

  // What went lay in the install folder or a group named by the log.
  const std::string& install = lines[0];
  for (const char* sentinel : kSentinels) {
    if (Exists(sentinel)) continue;
    bool allowed = !install.empty() && Below(sentinel, install);
    for (const char* programs : kProgramsFolders)
      allowed = allowed ||
                (!lines[3].empty() && Below(sentinel, std::string(programs) + "\\" + lines[3]));
    FUZZ_CHECK(allowed);
  }
  FUZZ_CHECK(IsDirectory("C:\\WINDOWS") && IsDirectory("C:\\WINDOWS\\TEMP"));
  return 0;
}
