// Directory search on POSIX: readdir over the pattern's directory, keeping
// the entries whose names match the pattern's last component with fnmatch,
// letter case ignored as the Win32 search does.
#include "platform/directory_search.h"

#include <dirent.h>
#include <fnmatch.h>

#include <cstring>

namespace pixbase::platform {

namespace {

// The last component of the pattern.
const char* NamePattern(const char* pattern) {
  const char* slash = std::strrchr(pattern, '/');
  return slash == nullptr ? pattern : slash + 1;
}

bool NextMatch(DIR* directory, const char* pattern, char* name, size_t size) {
  const char* wanted = NamePattern(pattern);
  while (dirent* entry = readdir(directory)) {
    if (fnmatch(wanted, entry->d_name, FNM_CASEFOLD) != 0) continue;
    if (size == 0) return true;
    size_t length = std::strlen(entry->d_name);
    if (length >= size) length = size - 1;
    std::memcpy(name, entry->d_name, length);
    name[length] = '\0';
    return true;
  }
  return false;
}

}  // namespace

void* BeginFileSearch(const char* pattern, char* name, size_t size) {
  const char* wanted = NamePattern(pattern);
  char directory[4096] = ".";
  size_t length = static_cast<size_t>(wanted - pattern);
  if (length >= sizeof directory) return nullptr;
  if (length != 0) {
    std::memcpy(directory, pattern, length);
    directory[length] = '\0';
  }
  DIR* search = opendir(directory);
  if (search == nullptr) return nullptr;
  if (!NextMatch(search, pattern, name, size)) {
    closedir(search);
    return nullptr;
  }
  return search;
}

bool ContinueFileSearch(void* search, const char* pattern, char* name, size_t size) {
  return NextMatch(static_cast<DIR*>(search), pattern, name, size);
}

void EndFileSearch(void* search) { closedir(static_cast<DIR*>(search)); }

}  // namespace pixbase::platform
