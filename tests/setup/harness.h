// Shared set-up for the installer tests: a fresh simulated machine, a
// payload whose members have distinct bytes, and the usual user actions.
#ifndef LUMAVIEW_TESTS_SETUP_HARNESS_H
#define LUMAVIEW_TESTS_SETUP_HARNESS_H

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/simulated/machine.h"

namespace setup::testing {

// The Start menu's Programs folders (all users on the NT family, the user's
// own) and the Quick Launch folder of the tests' machines, and the registry
// keys that name them (HKLM and HKCU ...\Shell Folders, HKCU ...\MapGroups).
inline const std::string kCommonPrograms = "C:\\WINDOWS\\Profiles\\All Users\\Start Menu\\Programs";
inline const std::string kUserPrograms = "C:\\WINDOWS\\Start Menu\\Programs";
inline const std::string kQuickLaunch = "C:\\WINDOWS\\Application Data\\Quick Launch";
inline constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr char kMapGroups[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";

// A fresh machine and a fresh SetupState; the payload resource holds the
// members of PayloadTable, each with its own byte pattern.
void FreshMachine();
std::vector<std::uint8_t> MemberBytes(int index);

// The start dialog (English) answered with OK, optionally after typing a
// destination (and the finish dialog with Finish); Cancel.
void AcceptStart(const std::string& destination = "");
void CancelStart();

// The settings file "Lumaview.INI": whether it exists, a key's value (or
// "<missing>"), and a value set up by a test.
bool SettingsFileExists();
std::string ProfileValue(const std::string& section, const std::string& key);
void SetProfileValue(const std::string& section, const std::string& key, const std::string& value);

// Sets the text value `name` of `key` (made when missing) under `root`
// through the platform seam, as the system's shell would have set it.
void SetRegistryValue(platform::RegistryRoot root, const std::string& key, const char* name,
                      const std::string& value);

// After any run: no handle of any kind left open (files, searches, registry
// keys, events, shell link objects) and no memory block left allocated.
void ExpectNothingLeftOpen();

// Runs setup as Windows starts it.
int RunInstaller();

// Keys FILE1..FILEn (or DIR1..DIRn) of the uninstall log in order, up to the
// count key's value.
std::vector<std::string> LoggedFiles();
std::vector<std::string> LoggedDirectories();
// The FILE entries that lie below a directory (given with its backslash).
std::vector<std::string> LoggedFilesBelow(const std::string& directory);

}  // namespace setup::testing

#endif
