// Path helpers (see paths.h). Divisions: walking a path by characters,
// directories, numbers.
#include "common/paths.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "common/text.h"
#include "platform/shell.h"

namespace setup {

namespace {
// Room for a directory and a name below it, with the search pattern.
constexpr std::size_t kPatternSize = 2 * platform::kPathLimit;
// The paths DeleteTree and PathExists build; longer ones are refused.
constexpr std::size_t kTreePathSize = 512;
// Names the write test tries before it gives up.
constexpr unsigned kProbeNames = 100;

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

// --- Walking a path by characters -------------------------------------------

const char* FindNextBackslash(const char* from) {
  for (const char* p = from; *p != '\0'; p = platform::NextCharacter(p)) {
    if (*p == '\\') return p;
  }
  return nullptr;
}

char* FindNextBackslash(char* from) {
  return const_cast<char*>(FindNextBackslash(static_cast<const char*>(from)));
}

const char* FindLastBackslash(const char* path) {
  const char* last = nullptr;
  for (const char* p = FindNextBackslash(path); p != nullptr; p = FindNextBackslash(p + 1))
    last = p;
  return last;
}

char* FindLastBackslash(char* path) {
  return const_cast<char*>(FindLastBackslash(static_cast<const char*>(path)));
}

bool CutAtLastBackslash(char* path, bool keep_backslash) {
  char* cut = FindLastBackslash(path);
  if (cut == nullptr) return false;
  cut[keep_backslash ? 1 : 0] = '\0';
  return true;
}

bool EndsWithBackslash(const char* path) {
  const char* last = FindLastBackslash(path);
  return last != nullptr && last[1] == '\0';
}

void EnsureTrailingBackslash(char* path, std::size_t size) {
  if (path[0] != '\0' && !EndsWithBackslash(path)) AppendText(path, size, "\\");
}

bool SamePath(const char* a, const char* b) {
  while (*a != '\0' && *b != '\0') {
    const char* next_a = platform::NextCharacter(a);
    const char* next_b = platform::NextCharacter(b);
    std::size_t length = static_cast<std::size_t>(next_a - a);
    if (length != static_cast<std::size_t>(next_b - b)) return false;
    if (length == 1) {
      if (FoldAscii(*a) != FoldAscii(*b)) return false;
    } else if (std::memcmp(a, b, length) != 0) {
      return false;
    }
    a = next_a;
    b = next_b;
  }
  return *a == *b;
}

// --- Directories -----------------------------------------------------------------

bool IsDriveOnly(const char* prefix) { return std::strlen(prefix) == 2 && prefix[1] == ':'; }

bool ForEachEntry(const char* directory,
                  const std::function<void(const platform::FoundEntry& entry)>& visit) {
  char pattern[kPatternSize];
  CopyText(pattern, sizeof pattern, directory);
  EnsureTrailingBackslash(pattern, sizeof pattern);
  if (AppendText(pattern, sizeof pattern, "*.*") + 1 >= sizeof pattern) return false;
  platform::FoundEntry entry;
  platform::Search search = platform::FindFirstEntry(pattern, &entry);
  if (search == 0) return false;
  do {
    if (entry.name[0] != '.') visit(entry);
  } while (platform::FindNextEntry(search, &entry));
  platform::EndSearch(search);
  return true;
}

int PathExists(const char* path) {
  platform::FoundEntry entry;
  platform::Search search = platform::FindFirstEntry(path, &entry);
  if (search == 0 && EndsWithBackslash(path)) {
    char pattern[kTreePathSize];
    CopyText(pattern, sizeof pattern, path);
    if (AppendText(pattern, sizeof pattern, "*.*") == std::strlen(path) + 3)
      search = platform::FindFirstEntry(pattern, &entry);
  }
  if (search == 0) return 0;
  platform::EndSearch(search);
  return 1;
}

bool DirectoryExists(const char* path) {
  char plain[kTreePathSize];
  CopyText(plain, sizeof plain, path);
  if (EndsWithBackslash(plain)) CutAtLastBackslash(plain, false);
  if (plain[0] == '\0' || std::strlen(plain) + 1 >= sizeof plain) return false;
  platform::FoundEntry entry;
  platform::Search search = platform::FindFirstEntry(plain, &entry);
  if (search == 0) return false;
  platform::EndSearch(search);
  return (entry.attributes & platform::kDirectoryAttribute) != 0;
}

void DeleteTree(const char* path) {
  if (std::strlen(path) + 4 >= kTreePathSize) return;
  ForEachEntry(path, [path](const platform::FoundEntry& entry) {
    char child[kTreePathSize];
    CopyText(child, sizeof child, path);
    AppendText(child, sizeof child, "\\");
    // A name that does not fit would name another entry: leave it.
    if (AppendText(child, sizeof child, entry.name) !=
        std::strlen(path) + 1 + std::strlen(entry.name))
      return;
    if (entry.attributes & platform::kReparsePointAttribute) {
      // A junction or symbolic link: removed as a link, never followed,
      // so that nothing outside the tree is deleted through it.
      platform::SetNormalAttributes(child);
      if (entry.attributes & platform::kDirectoryAttribute)
        platform::RemoveDirectoryAt(child);
      else
        platform::DeleteFileAt(child);
    } else if (entry.attributes & platform::kDirectoryAttribute) {
      DeleteTree(child);
    } else {
      platform::SetNormalAttributes(child);
      platform::DeleteFileAt(child);
    }
  });
  platform::SetNormalAttributes(path);
  platform::RemoveDirectoryAt(path);
}

int DirectoryWritable(const char* directory) {
  char path[platform::kPathLimit];
  std::size_t stem = CopyText(path, sizeof path, directory);
  if (!EndsWithBackslash(path)) stem = AppendText(path, sizeof path, "\\");
  // "Test.txt", or when a file of that name is the user's, the first of
  // "Test1.txt", "Test2.txt"... that does not exist: setup deletes only
  // what it made itself.
  for (unsigned attempt = 0; attempt < kProbeNames; ++attempt) {
    char name[16];
    if (attempt == 0)
      std::snprintf(name, sizeof name, "Test.txt");
    else
      std::snprintf(name, sizeof name, "Test%u.txt", attempt);
    path[stem < sizeof path ? stem : sizeof path - 1] = '\0';
    // A name cut at the path limit would be another file: no test then.
    if (AppendText(path, sizeof path, name) != stem + std::strlen(name)) return 0;
    platform::File file = platform::CreateNewFile(path);
    if (file == 0) {
      // Taken: try the next name; otherwise the directory refuses files.
      if (PathExists(path)) continue;
      return 0;
    }
    // 128 bytes of the path buffer, whatever they hold.
    long written = platform::WriteToFile(file, path, 128);
    platform::CloseFile(file);
    platform::DeleteFileAt(path);
    return written == 128 ? 1 : 0;
  }
  return 0;
}

// --- Numbers ------------------------------------------------------------------------

int ParseInteger(const char* text) {
  while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' ||
         *text == '\f')
    ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  long long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace setup
