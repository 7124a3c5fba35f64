// The coder module loader: finds module files "VELO<tag>.dll" in the module
// directories, loads them, calls their "Register<tag>Image" entry point and
// keeps a list of what is loaded; unloading calls "Unregister<tag>Image" and
// releases the library.
#include "pixbase/modules.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "image/registry.h"
#include "image/wildcard.h"
#include "pixbase/allocator.h"
#include "pixbase/exceptions.h"
#include "pixbase/streams.h"
#include "pixbase/text.h"
#include "platform/directory_search.h"
#include "platform/libraries.h"
#include "services/raise.h"

struct ModuleScan {
  void* search;        // the platform's search
  int32_t first;       // 1 until the first name has been handed out
  char pattern[1536];  // directory, separator and "Velo*.DLL"
  char found[260];     // the name of the current match
};

namespace {

constexpr char kScanPattern[] = "Velo*.DLL";
constexpr char kNameFilter[] = "VELO*.dll";
constexpr char kRegisterPattern[] = "Register%sImage";
constexpr char kUnregisterPattern[] = "Unregister%sImage";
constexpr uint32_t kFirstTagCapacity = 255;

ModuleEntry* g_modules = nullptr;
char* g_search_path = nullptr;
char g_scan_name[2048];

using EntryPoint = void(PIXBASE_CALL*)(void);

// Joins a directory and a name into `path` (`size` bytes) with one
// separator between them. False, with nothing usable in `path`, when the
// directory is empty or the result does not fit.
bool JoinPath(char* path, size_t size, const char* directory, size_t directory_length,
              const char* name) {
  if (directory_length == 0) return false;
  bool separator = !pixbase::platform::IsPathSeparator(directory[directory_length - 1]);
  size_t name_length = std::strlen(name);
  size_t total = directory_length + (separator ? 1 : 0) + name_length;
  if (total >= size) return false;
  std::memcpy(path, directory, directory_length);
  size_t at = directory_length;
  if (separator) path[at++] = pixbase::platform::kPathSeparator;
  std::memcpy(path + at, name, name_length + 1);
  return true;
}

// The entry point of `tag` printed from `pattern` and looked up in the
// library; null when the name does not fit the buffer or is not exported.
EntryPoint FindEntryPoint(void* handle, const char* pattern, const char* tag) {
  char symbol[PIXBASE_TEXT_EXTENT];
  int length = std::snprintf(symbol, sizeof symbol, pattern, tag);
  if (length < 0 || static_cast<size_t>(length) >= sizeof symbol) return nullptr;
  return reinterpret_cast<EntryPoint>(FindLibrarySymbol(handle, symbol));
}

void WarnWithSystemText(ExceptionSeverity severity, const char* reason) {
  char* description = ModuleErrorText();
  RaiseWarning(severity, reason, description);
  ReleaseMemory(&description);
}

void ReleaseEntry(ModuleEntry* entry) {
  ReleaseMemory(&entry->name);
  ReleaseMemory(&entry);
}

void Unlink(ModuleEntry* entry) {
  if (entry->previous != nullptr)
    entry->previous->next = entry->next;
  else if (g_modules == entry)
    g_modules = entry->next;
  if (entry->next != nullptr) entry->next->previous = entry->previous;
  entry->previous = entry->next = nullptr;
}

bool Listed(const ModuleEntry* entry) {
  for (const ModuleEntry* walk = g_modules; walk != nullptr; walk = walk->next)
    if (walk == entry) return true;
  return false;
}

void LinkAfter(ModuleEntry* anchor, ModuleEntry* entry) {
  entry->signature = PIXBASE_MODULE_SIGNATURE;
  entry->previous = anchor;
  entry->next = anchor->next;
  if (anchor->next != nullptr) anchor->next->previous = entry;
  anchor->next = entry;
}

// Unloads the listed `entry`; `tag` names the unregister entry point.
void UnloadEntry(ModuleEntry* entry, const char* tag) {
  void* handle = entry->handle;
  EntryPoint unregister = FindEntryPoint(handle, kUnregisterPattern, tag);
  if (unregister != nullptr)
    unregister();
  else
    WarnWithSystemText(ExternalWarning, "failed to find symbol");
  // Formats whose tests live in the library go with it, whatever its
  // unregister entry point did or did not remove.
  pixbase::RemoveFormatsOfLibrary(handle);
  ReleaseLibrary(handle);
  if (Listed(entry)) {
    Unlink(entry);
    ReleaseEntry(entry);
  }
}

// The file name matched against a pattern of '*' and plain characters, the
// letters A to Z folded to lower case.
int Fold(char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : static_cast<unsigned char>(c); }

void ReleaseTags(char** tags) {
  for (char** tag = tags; *tag != nullptr; ++tag) ReleaseMemory(tag);
  ReleaseMemory(&tags);
}

// Starts the search of `directory`; null when nothing matches, and then
// `no_record` tells whether the search record could not be allocated.
ModuleScan* StartScan(const char* directory, bool* no_record) {
  *no_record = false;
  if (directory == nullptr) return nullptr;
  char pattern[sizeof ModuleScan::pattern];
  if (!JoinPath(pattern, sizeof pattern, directory, std::strlen(directory), kScanPattern))
    return nullptr;
  auto* scan = static_cast<ModuleScan*>(AllocateMemory(sizeof(ModuleScan)));
  if (scan == nullptr) {
    *no_record = true;
    return nullptr;
  }
  std::memcpy(scan->pattern, pattern, sizeof pattern);
  scan->first = 1;
  scan->search = pixbase::platform::BeginFileSearch(scan->pattern, scan->found, sizeof scan->found);
  if (scan->search == nullptr) {
    ReleaseMemory(&scan);
    return nullptr;
  }
  return scan;
}

}  // namespace

namespace pixbase {

int MatchWildcard(const char* name, const char* pattern) {
  const char* star = nullptr;    // the last '*' seen in the pattern
  const char* resume = nullptr;  // where the name continues after it
  while (*name != '\0') {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern != '\0' && Fold(*pattern) == Fold(*name)) {
      ++pattern;
      ++name;
    } else if (star != nullptr) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return 0;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0' ? 1 : 0;
}

}  // namespace pixbase

extern "C" {

char** ListCoderModules(void) {
  uint32_t capacity = kFirstTagCapacity;
  auto** tags = static_cast<char**>(AllocateMemory((capacity + 1) * sizeof(char*)));
  if (tags == nullptr) return nullptr;
  uint32_t count = 0;
  for (char* const* directory = pixbase::ModuleDirectories(); *directory != nullptr; ++directory) {
    bool no_record = false;
    ModuleScan* scan = StartScan(*directory, &no_record);
    if (no_record) {
      // A directory that could not be searched would go missing from the
      // list unnoticed: no list, as when the array cannot grow.
      ReleaseTags(tags);
      return nullptr;
    }
    if (scan == nullptr) continue;
    while (const char* name = NextModuleScanName(scan)) {
      if (!pixbase::MatchWildcard(name, kNameFilter)) continue;
      if (count == capacity) {
        // A new array, so that the tags are still at hand when there is none.
        uint32_t grown = capacity * 2;
        auto** larger = static_cast<char**>(AllocateMemory((grown + 1) * sizeof(char*)));
        if (larger == nullptr || grown < capacity) {
          CloseModuleScan(scan);
          ReleaseMemory(&larger);
          ReleaseTags(tags);
          return nullptr;
        }
        std::memcpy(larger, tags, count * sizeof(char*));
        ReleaseMemory(&tags);
        tags = larger;
        capacity = grown;
      }
      char* tag = ExtractBaseName(name);
      if (tag == nullptr) {
        CloseModuleScan(scan);
        ReleaseTags(tags);
        return nullptr;
      }
      UpperCaseText(tag);
      if (CompareNoCaseCount(tag, "VELO", 4) == 0)
        std::memmove(tag, tag + 4, std::strlen(tag + 4) + 1);
      tags[count++] = tag;
      tags[count] = nullptr;
    }
    CloseModuleScan(scan);
  }
  return tags;
}

int32_t LoadCoderModule(const char* tag) {
  if (tag == nullptr) return 0;
  char* file_name = ModuleFileName(tag);
  if (file_name == nullptr) return 0;
  void* handle = nullptr;
  char path[PIXBASE_TEXT_EXTENT];
  for (char* const* directory = pixbase::ModuleDirectories(); *directory != nullptr; ++directory) {
    // A path that does not fit is not there.
    if (!JoinPath(path, sizeof path, *directory, std::strlen(*directory), file_name)) continue;
    if (CheckPathAccess(path, 0) != 0) continue;
    handle = LoadLibraryOnPath(path);
    if (handle == nullptr) {
      char reason[PIXBASE_TEXT_EXTENT];
      std::snprintf(reason, sizeof reason, "failed to load module \"%.2100s\"", path);
      WarnWithSystemText(ModuleWarning, reason);
      ReleaseMemory(&file_name);
      return 0;
    }
    break;
  }
  ReleaseMemory(&file_name);
  if (handle == nullptr) return 0;

  ModuleEntry* entry = AllocateModuleEntry(tag);
  if (entry == nullptr) {
    ReleaseLibrary(handle);
    return 0;
  }
  entry->handle = handle;
  entry->loadTime = static_cast<int32_t>(std::time(nullptr));
  InsertModuleEntry(entry);

  EntryPoint register_formats = FindEntryPoint(handle, kRegisterPattern, tag);
  if (register_formats == nullptr) {
    WarnWithSystemText(ModuleWarning, "failed to find symbol");
    return 0;  // the module stays loaded and listed
  }
  register_formats();
  return 1;
}

int32_t LoadAllCoderModules(void) {
  char** tags = ListCoderModules();
  if (tags == nullptr) return 0;
  int32_t count = 0;
  for (char** tag = tags; *tag != nullptr; ++tag, ++count) LoadCoderModule(*tag);
  ReleaseTags(tags);
  return count;
}

int32_t UnloadCoderModule(const char* tag) {
  if (tag == nullptr) return 0;
  ModuleEntry* entry = FindModuleEntry(tag);
  if (entry == nullptr) return 0;
  UnloadEntry(entry, tag);
  return 1;
}

void UnloadAllCoderModules(void) {
  if (g_modules == nullptr) return;
  while (g_modules != nullptr) UnloadEntry(g_modules, g_modules->name);
  pixbase::ClearModuleDirectories();
}

ModuleEntry* AllocateModuleEntry(const char* tag) {
  auto* entry = static_cast<ModuleEntry*>(AllocateMemory(sizeof(ModuleEntry)));
  if (entry == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to allocate module info");
    return nullptr;
  }
  entry->name = DuplicateString(tag);
  if (tag != nullptr && entry->name == nullptr) {  // the copy raised its own error
    ReleaseMemory(&entry);
    return nullptr;
  }
  return entry;
}

ModuleEntry* InsertModuleEntry(ModuleEntry* entry) {
  if (entry == nullptr) return nullptr;
  if (Listed(entry)) Unlink(entry);
  entry->previous = entry->next = nullptr;
  if (g_modules == nullptr) {
    entry->signature = 0;
    g_modules = entry;
    return entry;
  }
  // Stop at the first entry whose name is not less than the new one.
  ModuleEntry* last = nullptr;
  ModuleEntry* at = g_modules;
  while (at != nullptr && CompareNoCase(at->name, entry->name) < 0) {
    last = at;
    at = at->next;
  }
  if (at == nullptr) {
    LinkAfter(last, entry);
    return entry;
  }
  // One entry per name: an equal name further on goes too (its library
  // stays loaded), not only the one the walk stopped at.
  for (ModuleEntry* walk = at->next; walk != nullptr;) {
    ModuleEntry* next = walk->next;
    if (CompareNoCase(walk->name, entry->name) == 0) {
      Unlink(walk);
      ReleaseEntry(walk);
    }
    walk = next;
  }
  if (CompareNoCase(at->name, entry->name) != 0) {
    LinkAfter(at, entry);
    return entry;
  }
  // The older entry of the same name is replaced in its place.
  ModuleEntry* before = at->previous;
  Unlink(at);
  ReleaseEntry(at);
  if (before == nullptr) {
    entry->signature = 0;
    entry->next = g_modules;
    if (g_modules != nullptr) g_modules->previous = entry;
    g_modules = entry;
  } else {
    LinkAfter(before, entry);
  }
  return entry;
}

ModuleEntry* FindModuleEntry(const char* tag) {
  if (tag == nullptr) return g_modules;
  for (ModuleEntry* entry = g_modules; entry != nullptr; entry = entry->next)
    if (CompareNoCase(entry->name, tag) == 0) return entry;
  return nullptr;
}

int32_t RemoveModuleEntry(const char* tag) {
  for (ModuleEntry* entry = g_modules; entry != nullptr; entry = entry->next) {
    if (CompareNoCase(entry->name, tag) != 0) continue;
    Unlink(entry);
    ReleaseEntry(entry);
    return 1;
  }
  return 0;
}

void FreeModuleList(void) {
  ModuleEntry* entry = g_modules;
  g_modules = nullptr;
  while (entry != nullptr) {
    ModuleEntry* next = entry->next;
    ReleaseEntry(entry);
    entry = next;
  }
}

char* ModuleFileName(const char* tag) {
  auto* name = static_cast<char*>(AllocateMemory(PIXBASE_TEXT_EXTENT));
  if (name == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to get module name");
    return nullptr;
  }
  if (tag == nullptr) tag = "";
  // Cut to the buffer: no file of a longer name can be found anyway.
  if (CompareNoCaseCount(tag, "VELO", 4) == 0)
    std::snprintf(name, PIXBASE_TEXT_EXTENT, "%s", tag);
  else
    std::snprintf(name, PIXBASE_TEXT_EXTENT, "VELO%s.dll", tag);
  return name;
}

int32_t FormatModuleSymbol(const char* tag, const char* pattern, char* destination) {
  return PrintToBuffer(destination, pattern, tag);
}

void SetLibrarySearchPath(const char* path) {
  ReleaseMemory(&g_search_path);
  if (path != nullptr) g_search_path = DuplicateString(path);
}

void* LoadLibraryOnPath(const char* name) {
  if (name == nullptr) return nullptr;
  // Only an absolute name is loaded as it is; a relative one, even with
  // separators in it, is looked for in each element of the search path.
  if (g_search_path == nullptr || pixbase::platform::IsAbsolutePath(name))
    return pixbase::platform::LoadSharedLibrary(name);
  char path[PIXBASE_TEXT_EXTENT];
  const char* element = g_search_path;
  while (true) {
    const char* end = std::strchr(element, ';');
    size_t length = end == nullptr ? std::strlen(element) : static_cast<size_t>(end - element);
    if (JoinPath(path, sizeof path, element, length, name)) {
      if (void* handle = pixbase::platform::LoadSharedLibrary(path)) return handle;
    }
    if (end == nullptr) return nullptr;
    element = end + 1;
  }
}

int32_t ReleaseLibrary(void* handle) {
  if (handle == nullptr) return 0;
  return pixbase::platform::ReleaseSharedLibrary(handle) ? 1 : 0;
}

void* FindLibrarySymbol(void* handle, const char* symbol) {
  if (handle == nullptr || symbol == nullptr) return nullptr;
  return pixbase::platform::FindSharedLibrarySymbol(handle, symbol);
}

char* ModuleErrorText(void) { return GetSystemErrorText(); }

int32_t ReturnZero(void) { return 0; }

ModuleScan* OpenModuleScan(const char* directory) {
  bool no_record = false;
  return StartScan(directory, &no_record);
}

const char* NextModuleScanName(ModuleScan* scan) {
  if (scan == nullptr) return nullptr;
  if (scan->first == 0 && !pixbase::platform::ContinueFileSearch(scan->search, scan->pattern,
                                                                 scan->found, sizeof scan->found))
    return nullptr;
  scan->first = 0;
  std::snprintf(g_scan_name, sizeof g_scan_name, "%s", scan->found);
  return g_scan_name;
}

void CloseModuleScan(ModuleScan* scan) {
  if (scan == nullptr) return;
  pixbase::platform::EndFileSearch(scan->search);
  ReleaseMemory(&scan);
}

}  // extern "C"
