// The few system services the viewer's window needs beyond its own window:
// the files of a folder, the program's folder and the language's strings.
// (The settings file and the code page's characters are setup's platform
// seam's, platform/platform.h.)
#ifndef LUMAVIEW_VIEWER_SYSTEM_WIN32_H
#define LUMAVIEW_VIEWER_SYSTEM_WIN32_H

#include <windows.h>

#include <string>
#include <vector>

namespace viewer::win32 {

// The names of the files (not folders) in `folder` (ending in a backslash,
// or empty for the current folder), as setup's directory walker lists them:
// names starting with a dot are passed over.
std::vector<std::string> FilesOfFolder(const std::string& folder);

// The folder of the running program, with its trailing backslash.
std::string ProgramFolder();

// The full form of a path; the path itself when it has none.
std::string FullPath(const std::string& path);

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
