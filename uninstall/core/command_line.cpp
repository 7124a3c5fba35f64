// Parsing the command line (see command_line.h).
#include "core/command_line.h"

#include <cstring>

#include "common/text.h"
#include "core/handoff.h"

namespace uninstall {

namespace {

// The next word of `*text` into `word`, cut to its size; false at the end.
bool NextWord(const char** text, char* word, std::size_t size) {
  const char* p = *text;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p == '\0') return false;
  std::size_t length = 0;
  bool quoted = false;
  for (; *p != '\0'; ++p) {
    if (*p == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && (*p == ' ' || *p == '\t')) break;
    if (length + 1 < size)
      word[length++] = *p;
    else
      length = size - 1;  // stays full: too long
  }
  word[length] = '\0';
  *text = p;
  return true;
}

}  // namespace

void ParseCommandLine(const char* text, CommandLine* line) {
  std::memset(line, 0, sizeof *line);
  if (text == nullptr) return;
  char word[sizeof line->cleanup_file];
  while (NextWord(&text, word, sizeof word)) {
    if (setup::SameTextIgnoringCase(word, "/S") || setup::SameTextIgnoringCase(word, "-S")) {
      line->silent = true;
    } else if (setup::SameTextIgnoringCase(word, kCleanupOption)) {
      line->cleanup = true;
      line->silent = true;
      if (NextWord(&text, word, sizeof word))
        setup::CopyText(line->cleanup_file, sizeof line->cleanup_file, word);
      if (NextWord(&text, word, sizeof word))
        setup::CopyText(line->cleanup_folder, sizeof line->cleanup_folder, word);
    }
  }
}

}  // namespace uninstall
