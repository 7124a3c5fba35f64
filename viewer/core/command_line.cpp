// The command line's picture, split by the kernel.
#include "core/command_line.h"

#include <cstring>

#include "pixbase/pixbase.h"

namespace viewer {

namespace {

// The whole line without surrounding blanks and quotes.
std::string WholeLine(const char* line) {
  std::string text(line);
  std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  std::size_t last = text.find_last_not_of(" \t\r\n");
  text = text.substr(first, last - first + 1);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    text = text.substr(1, text.size() - 2);
  return text;
}

}  // namespace

std::string CommandLinePicture(const char* line,
                               const std::function<bool(const std::string&)>& exists) {
  if (line == nullptr) return std::string();
  int count = 0;
  char** arguments = SplitCommandLine(line, &count);
  if (arguments == nullptr) return std::string();
  // Entry 0 is the kernel's own program name.
  std::string first = count > 1 && arguments[1] != nullptr ? arguments[1] : "";
  for (int i = 0; i < count; ++i) ReleaseMemory(&arguments[i]);
  ReleaseMemory(&arguments);
  if (count > 2) {
    std::string whole = WholeLine(line);
    if (!whole.empty() && exists(whole)) return whole;
  }
  return first;
}

}  // namespace viewer
