// The few system services the viewer's window needs beyond its own window:
// the settings file, the files of a folder, the program's folder, the ANSI
// code page's lead bytes and the language's strings.
#ifndef LUMAVIEW_VIEWER_SYSTEM_WIN32_H
#define LUMAVIEW_VIEWER_SYSTEM_WIN32_H

#include <windows.h>

#include <string>
#include <vector>

#include "core/settings_record.h"

namespace viewer::win32 {

// "Lumaview.INI" in the Windows directory, through the profile functions.
class ProfileStore : public SettingsStore {
 public:
  std::uint32_t ReadNumber(const char* section, const char* key, std::uint32_t fallback) override;
  bool WriteText(const char* section, const char* key, const char* value) override;
};

// The names of the files (not folders) in `folder` (ending in a separator,
// or empty for the current folder).
std::vector<std::string> FilesOfFolder(const std::string& folder);

// The folder of the running program, with its trailing backslash.
std::string ProgramFolder();

// The full form of a path; the path itself when it has none.
std::string FullPath(const std::string& path);

bool AnsiLeadByte(unsigned char byte);

// The strings of the language chosen by the code page (936: Chinese).
class Strings {
 public:
  explicit Strings(HINSTANCE instance);
  bool chinese() const { return chinese_; }
  // The id of a language's resource: the English id, or the Chinese one.
  int Id(int english_id) const;
  std::string Text(int english_id) const;

 private:
  HINSTANCE instance_;
  bool chinese_;
};

}  // namespace viewer::win32

#endif
