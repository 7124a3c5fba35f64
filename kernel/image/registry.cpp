// The format registry: a doubly linked list of FormatEntry records under the
// registry lock, the content tests that decide a file's format, and the
// module directory list that the coder module loader searches.
#include "image/registry.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "pixbase/allocator.h"
#include "pixbase/constant_texts.h"
#include "pixbase/exceptions.h"
#include "pixbase/formats.h"
#include "pixbase/semaphore.h"
#include "pixbase/streams.h"
#include "pixbase/text.h"
#include "platform/libraries.h"
#include "services/raise.h"
#ifdef PIXBASE_TEST_HOOKS
#include "services/test_hooks.h"
#endif

namespace {

FormatEntry* g_first = nullptr;
char* g_module_directories[pixbase::kModuleDirectoryCount + 1] = {};

// The two locks, made on first use and kept for the life of the process:
// never deleted, not even when the library is unloaded or the process ends,
// since another thread may still be inside a registry operation then.
std::atomic<SemaphoreRecord*> g_registry_lock{nullptr};
std::atomic<SemaphoreRecord*> g_detection_lock{nullptr};
std::atomic<bool> g_release_at_exit{false};

// The lock in `slot`, made on first use. Two threads that arrive first at the
// same moment may both make one; only the first stored survives and the other
// is deleted again, so every user takes the same lock.
SemaphoreRecord* LockIn(std::atomic<SemaphoreRecord*>& slot) {
  SemaphoreRecord* lock = slot.load(std::memory_order_acquire);
  if (lock != nullptr) return lock;
  SemaphoreRecord* made = NewSemaphore();
  if (made == nullptr) return nullptr;  // proceed unguarded; the next use tries again
  if (slot.compare_exchange_strong(lock, made, std::memory_order_acq_rel)) return made;
  DeleteSemaphore(made);
  return lock;
}

class Held {
 public:
  explicit Held(std::atomic<SemaphoreRecord*>& slot) : lock_(LockIn(slot)) {
    if (lock_ != nullptr) LockSemaphore(lock_);
  }
  ~Held() {
    if (lock_ != nullptr) UnlockSemaphore(lock_);
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

 private:
  SemaphoreRecord* lock_;
};

void ReleaseEntry(FormatEntry* entry) {
  ReleaseMemory(&entry->name);
  ReleaseMemory(&entry->ownedText1);
  ReleaseMemory(&entry->ownedText2);
  ReleaseMemory(&entry);
}

// Takes the entry out of the list; the registry lock is held.
void Unlink(FormatEntry* entry) {
  if (entry->previous != nullptr)
    entry->previous->next = entry->next;
  else if (g_first == entry)
    g_first = entry->next;
  if (entry->next != nullptr) entry->next->previous = entry->previous;
  entry->previous = entry->next = nullptr;
}

// The first entry whose test accepts the header; the registry lock is held.
FormatEntry* MatchLocked(const char* path, const char* extension, const unsigned char* header) {
  for (FormatEntry* entry = g_first; entry != nullptr; entry = entry->next) {
    if (entry->probeWithName != nullptr) {
      if (entry->probeWithName(path, extension, header, PIXBASE_HEADER_PROBE_LENGTH) != 0)
        return entry;
    } else if (entry->probeHeader != nullptr) {
      if (entry->probeHeader(header, PIXBASE_HEADER_PROBE_LENGTH) != 0) return entry;
    }
  }
  return nullptr;
}

// Copies a name into a destination of PIXBASE_TEXT_EXTENT bytes, cut to fit.
void CopyName(char* destination, const char* name) {
  size_t length = name == nullptr ? 0 : strnlen(name, PIXBASE_TEXT_EXTENT - 1);
  if (length != 0) std::memcpy(destination, name, length);
  destination[length] = '\0';
}

// Everything the registry keeps goes at exit, the module directories too.
void PIXBASE_CALL ReleaseRegistryAtExit() {
  DestroyFormatRegistry();
  pixbase::ClearModuleDirectories();
}

}  // namespace

namespace pixbase {

char* const* ModuleDirectories() { return g_module_directories; }

// The list is changed under the registry lock, so that lookups that find the
// registry empty at the same moment never release a text twice.
void ClearModuleDirectories() {
  char* released[kModuleDirectoryCount + 1];
  {
    Held held(g_registry_lock);
    std::memcpy(released, g_module_directories, sizeof released);
    std::memset(g_module_directories, 0, sizeof g_module_directories);
  }
  for (char*& directory : released) ReleaseMemory(&directory);
}

void RemoveFormatsOfLibrary(void* handle) {
  if (handle == nullptr) return;
  Held held(g_registry_lock);
  FormatEntry* entry = g_first;
  while (entry != nullptr) {
    FormatEntry* next = entry->next;
    bool inside =
        (entry->probeWithName != nullptr &&
         platform::LibraryHoldsAddress(handle, reinterpret_cast<void*>(entry->probeWithName))) ||
        (entry->probeHeader != nullptr &&
         platform::LibraryHoldsAddress(handle, reinterpret_cast<void*>(entry->probeHeader)));
    if (inside) {
      Unlink(entry);
      ReleaseEntry(entry);
    }
    entry = next;
  }
}

}  // namespace pixbase

extern "C" {

FormatEntry* AllocateFormatEntry(const char* name) {
  auto* entry = static_cast<FormatEntry*>(AllocateMemory(sizeof(FormatEntry)));
  if (entry == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to allocate image");
    return nullptr;
  }
  entry->name = DuplicateString(name);
  if (name != nullptr && entry->name == nullptr) {  // the copy raised its own error
    ReleaseMemory(&entry);
    return nullptr;
  }
  entry->reserved3[0] = entry->reserved3[1] = 1;
  return entry;
}

FormatEntry* RegisterFormatEntry(FormatEntry* entry) {
  if (entry == nullptr) return nullptr;
  Held held(g_registry_lock);
  FormatEntry* last = nullptr;
  FormatEntry* walk = g_first;
  while (walk != nullptr) {
    FormatEntry* next = walk->next;
    if (walk == entry) {
      Unlink(walk);  // registered again: it moves to the end
    } else if (CompareNoCase(walk->name, entry->name) == 0) {
      Unlink(walk);
      ReleaseEntry(walk);
    } else {
      last = walk;
    }
    walk = next;
  }
  entry->next = nullptr;
  entry->previous = last;
  if (last == nullptr)
    g_first = entry;
  else
    last->next = entry;
  return entry;
}

int32_t UnregisterFormatEntry(const char* name) {
  Held held(g_registry_lock);
  for (FormatEntry* entry = g_first; entry != nullptr; entry = entry->next) {
    if (CompareNoCase(entry->name, name) != 0) continue;
    Unlink(entry);
    ReleaseEntry(entry);
    return 1;
  }
  return 0;
}

FormatEntry* FindFormatEntry(const char* name) {
  bool empty;
  {
    Held held(g_registry_lock);
    empty = g_first == nullptr;
  }
  if (empty) {
    // The clean-up at exit is registered once per process, however often
    // the registry is found empty.
    if (!g_release_at_exit.exchange(true)) {
      std::atexit(ReleaseRegistryAtExit);
#ifdef PIXBASE_TEST_HOOKS
      pixbase::testing::NoteExitReleaseArranged();
#endif
    }
    InitializeModuleDirectories();
  }
  if (name == nullptr || *name == '\0') return g_first;
  Held held(g_registry_lock);
  for (FormatEntry* entry = g_first; entry != nullptr; entry = entry->next)
    if (CompareNoCase(entry->name, name) == 0) return entry;
  return nullptr;
}

FormatEntry* FirstFormatEntry(void) { return g_first; }

void DestroyFormatRegistry(void) {
  Held held(g_registry_lock);
  FormatEntry* entry = g_first;
  g_first = nullptr;
  while (entry != nullptr) {
    FormatEntry* next = entry->next;
    ReleaseEntry(entry);
    entry = next;
  }
}

const char* MatchFormatByContent(const char* path, const char* extension,
                                 const unsigned char* header) {
  Held held(g_registry_lock);
  FormatEntry* entry = MatchLocked(path, extension, header);
  return entry == nullptr ? nullptr : entry->name;
}

int32_t IdentifyFormatByContent(const char* path, const char* extension,
                                const unsigned char* header, uint32_t /*length*/,
                                char* destination) {
  if (header == nullptr || destination == nullptr) return 0;
  // The name is copied while the lock still keeps its entry registered.
  Held held(g_registry_lock);
  FormatEntry* entry = MatchLocked(path, extension, header);
  if (entry == nullptr) return 0;
  CopyName(destination, entry->name);
  return 1;
}

int32_t DetectImageFormat(const char* path, char* destination) {
  if (path == nullptr || destination == nullptr) return 0;
  // The extension: the text after the last dot, but a dot that opens the
  // path does not count (unless the path is that one dot).
  char extension[PIXBASE_TEXT_EXTENT] = {};
  size_t path_length = std::strlen(path);
  for (size_t at = path_length; at-- > (path_length > 1 ? 1 : 0);) {
    if (path[at] != '.') continue;
    if (path_length - at < PIXBASE_TEXT_EXTENT) {
      std::memcpy(extension, path + at + 1, path_length - at - 1);
      UpperCaseText(extension);
    }
    break;
  }

  // The header: at most PIXBASE_HEADER_PROBE_LENGTH leading bytes, the rest
  // zero. The file is closed before any test runs.
  unsigned char header[PIXBASE_HEADER_PROBE_LENGTH] = {};
  FILE* stream = OpenFileStream(path, ReadModeText);
  if (stream == nullptr) return 0;
  long file_length = GetDescriptorLength(GetStreamDescriptor(stream));
  size_t wanted = PIXBASE_HEADER_PROBE_LENGTH;
  if (file_length >= 0 && file_length < PIXBASE_HEADER_PROBE_LENGTH)
    wanted = static_cast<size_t>(file_length);
  size_t got = wanted == 0 ? 0 : ReadStreamItems(header, 1, wanted, stream);
  CloseFileStream(stream);
  // When the length is unknown, whatever the file holds up to the limit.
  if (file_length >= 0 && got < wanted) return 0;

  bool without_header_test = false;
  if (extension[0] != '\0') {
    FormatEntry* entry = FindFormatEntry(extension);
    if (entry != nullptr) {
      std::strcpy(destination, extension);
      Held held(g_detection_lock);
      if (entry->probeWithName != nullptr &&
          entry->probeWithName(path, extension, header, PIXBASE_HEADER_PROBE_LENGTH) != 0)
        return 1;
      if (entry->probeHeader != nullptr) {
        if (entry->probeHeader(header, PIXBASE_HEADER_PROBE_LENGTH) != 0) return 1;
      } else {
        without_header_test = true;
      }
    }
  }

  extension[0] = '\0';
  if (IdentifyFormatByContent(path, extension, header, PIXBASE_HEADER_PROBE_LENGTH, extension)) {
    std::strcpy(destination, extension);
    return 1;
  }
  return without_header_test ? 1 : 0;
}

const char* InitializeModuleDirectories(void) {
  char* directory = DuplicateString(UpdateConfigurePath(nullptr));
  char* released[pixbase::kModuleDirectoryCount + 1];
  {
    Held held(g_registry_lock);
    std::memcpy(released, g_module_directories, sizeof released);
    std::memset(g_module_directories, 0, sizeof g_module_directories);
    g_module_directories[0] = directory;
  }
  for (char*& text : released) ReleaseMemory(&text);
  return directory;
}

}  // extern "C"
