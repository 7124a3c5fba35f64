// The simulated machine: the platform seam over plain containers.
#include "platform/simulated/machine.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/simulated/removal_state.h"
#include "platform/simulated/shell_state.h"
#include "platform/simulated/string_tables.h"
#include "resources/resource_ids.h"

namespace setup::simulated {
namespace {

Machine* the_machine = nullptr;

// Under code page 936 a byte 0x81 to 0xFE starts a two-byte character
// whose second byte may be a backslash or an ASCII letter: paths split and
// fold by characters, as the system's own path handling does.
bool Lead(unsigned char c) {
  return the_machine != nullptr && the_machine->code_page == 936 && c >= 0x81 && c <= 0xFE;
}

// ASCII letters of single-byte characters fold; nothing else does.
std::string Fold(std::string text, bool upper) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (Lead(c) && i + 1 < text.size()) {
      ++i;
    } else if (upper && c >= 'a' && c <= 'z') {
      text[i] = static_cast<char>(c - 'a' + 'A');
    } else if (!upper && c >= 'A' && c <= 'Z') {
      text[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

std::string Lower(std::string text) { return Fold(std::move(text), false); }
std::string Upper(std::string text) { return Fold(std::move(text), true); }

bool SameNoCase(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

// The first backslash at or after `from` (a character boundary) that is a
// character of its own, or npos.
std::size_t NextSeparator(const std::string& path, std::size_t from = 0) {
  for (std::size_t i = from; i < path.size(); ++i) {
    if (Lead(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
      ++i;
    else if (path[i] == '\\')
      return i;
  }
  return std::string::npos;
}

std::size_t LastSeparator(const std::string& path) {
  std::size_t last = std::string::npos;
  for (std::size_t i = NextSeparator(path); i != std::string::npos; i = NextSeparator(path, i + 1))
    last = i;
  return last;
}

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && LastSeparator(path) == path.size() - 1;
}

bool IsRoot(const std::string& canonical) { return canonical.size() == 2; }

std::string ParentOf(const std::string& canonical) {
  std::size_t cut = LastSeparator(canonical);
  return cut == std::string::npos ? std::string() : canonical.substr(0, cut);
}

std::string NameOf(const std::string& path) {
  std::size_t cut = LastSeparator(path);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ShortComponent(const std::string& name) {
  std::size_t dot = name.rfind('.');
  std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  bool fits = base.size() <= 8 && extension.size() <= 3 && name.find(' ') == std::string::npos &&
              std::count(name.begin(), name.end(), '.') <= 1;
  if (fits) return name;
  std::string short_base;
  for (char c : base) {
    if (std::isalnum(static_cast<unsigned char>(c)) && short_base.size() < 6) short_base += c;
  }
  std::string short_name = Upper(short_base) + "~1";
  if (!extension.empty()) short_name += "." + Upper(extension.substr(0, 3));
  return short_name;
}

// A value's data read as text: up to its terminating zero.
std::string TextOf(const std::string& data) { return data.substr(0, data.find('\0')); }

std::size_t CopyOut(const std::string& text, char* buffer, std::size_t size) {
  if (size == 0) return 0;
  std::size_t length = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

std::string ProfilePath(const char* file) {
  return Canonical(TheMachine().windows_directory + "\\" + file);
}

struct OpenFile {
  std::string key;
  std::size_t position = 0;
  bool writing = false;
};
std::map<platform::File, OpenFile> open_files;

struct SearchState {
  std::vector<platform::FoundEntry> entries;
  std::size_t next = 0;
};
std::map<platform::Search, SearchState> searches;
std::map<platform::RegistryKey, std::string> open_keys;
std::map<platform::Event, std::string> event_names;  // events this process made

platform::Handle NewHandle() { return TheMachine().next_handle++; }

bool DirectoryExists(const std::string& canonical) {
  Machine& m = TheMachine();
  if (canonical.empty()) return false;
  if (IsRoot(canonical)) return m.drives.count(static_cast<char>(std::toupper(canonical[0]))) > 0;
  auto it = m.nodes.find(canonical);
  return it != m.nodes.end() && it->second.directory;
}

bool DriveReadOnly(const std::string& canonical) {
  return !canonical.empty() &&
         TheMachine().read_only_drives.count(static_cast<char>(std::toupper(canonical[0]))) > 0;
}

// A directory locked against new entries.
bool TakesNoEntries(const std::string& canonical) {
  auto it = TheMachine().nodes.find(canonical);
  return it != TheMachine().nodes.end() && it->second.directory && it->second.locked;
}

// Counts a fallible call; true when it is the one that is to fail.
bool InjectedFailure(const char* what) {
  Machine& m = TheMachine();
  if (++m.fallible_calls != m.fail_call) return false;
  m.failed_call = what;
  return true;
}

void Note(const std::string& line) { TheMachine().journal.push_back(line); }

platform::FoundEntry EntryFor(const std::string& name, const Node* node) {
  platform::FoundEntry entry{};
  CopyOut(name, entry.name, sizeof entry.name);
  entry.attributes = node == nullptr || node->directory ? platform::kDirectoryAttribute : 0x20;
  entry.size_low = node == nullptr ? 0 : static_cast<std::uint32_t>(node->data.size());
  if (node != nullptr) entry.attributes |= node->extra_attributes;
  return entry;
}

void Dispatch(Window handle, platform::DialogEvent event, int value) {
  Machine& m = TheMachine();
  auto it = m.dialogs.find(handle);
  if (it == m.dialogs.end() || it->second.ended) return;
  it->second.procedure(handle, event, value);
}

// The dialog's paint event, then each item's own repaint, which wipes what
// setup drew into an item it did not mark as painted.
void PaintDialog(Window handle) {
  Machine& m = TheMachine();
  Dispatch(handle, platform::DialogEvent::Paint, 0);
  auto it = m.dialogs.find(handle);
  if (it == m.dialogs.end()) return;
  Dialog& dialog = it->second;
  for (auto drawn = dialog.drawn.begin(); drawn != dialog.drawn.end();) {
    drawn = dialog.painted.count(drawn->first) > 0 ? std::next(drawn) : dialog.drawn.erase(drawn);
  }
}

void RunUntilEnded(Window handle) {
  Machine& m = TheMachine();
  for (long round = 0;; ++round) {
    Dialog& dialog = m.dialogs.at(handle);
    if (dialog.ended) return;
    if (round > 50000000) throw std::runtime_error("simulated dialog never ends");
    if (!dialog.posted.empty()) {
      int command = dialog.posted.front();
      dialog.posted.pop_front();
      Dispatch(handle, platform::DialogEvent::Command, command);
      continue;
    }
    bool has_timer = false;
    for (auto& entry : m.timers) has_timer = has_timer || entry.first.first == handle;
    if (!has_timer) {
      // Nobody will ever press anything: the test forgot a script.
      Note("stuck dialog " + std::to_string(dialog.template_id));
      dialog.ended = true;
      dialog.result = -2;
      return;
    }
    DeliverTicks(handle, 1);
  }
}

// The background window's refresh timer, delivered at each moment it falls
// due up to `until` (the clock follows), as the modal loop of a dialog
// delivers it.
void DeliverBackgroundTimers(std::uint32_t until) {
  Machine& m = TheMachine();
  if (m.background == 0) return;
  auto timer = m.timers.find({m.background, IDT_BACKGROUND_REFRESH});
  while (timer != m.timers.end() && static_cast<std::int32_t>(timer->second.due - until) <= 0) {
    if (static_cast<std::int32_t>(timer->second.due - m.clock) > 0) m.clock = timer->second.due;
    timer->second.due += timer->second.period == 0 ? 1 : timer->second.period;
    if (m.background_refresh != nullptr) {
      ++m.background_refreshes;
      m.background_refresh(m.background);
    }
    timer = m.timers.find({m.background, IDT_BACKGROUND_REFRESH});
  }
}

}  // namespace

Machine& TheMachine() {
  if (the_machine == nullptr) ResetMachine();
  return *the_machine;
}

void ResetMachine() {
  delete the_machine;
  the_machine = new Machine();
  open_files.clear();
  searches.clear();
  open_keys.clear();
  event_names.clear();
  AddDirectory("C:\\WINDOWS");
  AddDirectory("D:\\SETUP");
  AddRegistryKey("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
  the_machine->free_bytes = {{'C', 1ull << 32}, {'D', 0}};
  the_machine->string_tables = GeneratedStringTables();
  ResetShell();
  ResetRemoval();
}

std::map<int, std::string>& Strings() {
  Machine& m = TheMachine();
  auto it = m.string_tables.find(m.code_page);
  return it != m.string_tables.end() ? it->second : m.string_tables[1252];
}

std::string Canonical(const std::string& path) {
  Machine& m = TheMachine();
  std::string full = path;
  if (full.size() >= 2 && full[1] == ':') {
    if (full.size() == 2) full += "\\";
  } else if (!full.empty() && full[0] == '\\') {
    full = m.current_directory.substr(0, 2) + full;
  } else {
    std::string base = m.current_directory;
    if (!EndsWithSeparator(base)) base += '\\';
    full = base + full;
  }
  if (full.size() < 3 || full[1] != ':' || full[2] != '\\') return std::string();
  char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(full[0])));
  if (m.drives.count(drive) == 0) return std::string();
  std::string result = Lower(full.substr(0, 2));
  std::size_t start = 3;
  while (start <= full.size()) {
    std::size_t end = NextSeparator(full, start);
    if (end == std::string::npos) end = full.size();
    std::string part = full.substr(start, end - start);
    if (part == "..") {
      if (!IsRoot(result)) result = ParentOf(result);
    } else if (!part.empty() && part != ".") {
      std::string next = result + "\\" + Lower(part);
      if (part.find('~') != std::string::npos && m.nodes.count(next) == 0) {
        // A short (8.3) name names the entry it was made for.
        for (auto& [key, node] : m.nodes) {
          if (ParentOf(key) == result && Lower(ShortComponent(NameOf(node.path))) == Lower(part)) {
            next = key;
            break;
          }
        }
      }
      result = next;
    }
    start = end + 1;
  }
  return result;
}

void AddDirectory(const std::string& path) {
  std::string key = Canonical(path);
  if (key.empty() || IsRoot(key)) return;
  std::string shown = EndsWithSeparator(path) ? path.substr(0, path.size() - 1) : path;
  std::size_t cut = LastSeparator(shown);
  AddDirectory(shown.substr(0, cut == std::string::npos ? 0 : cut));
  Machine& m = TheMachine();
  if (m.nodes.count(key) == 0) {
    Node node;
    node.path = shown;
    node.directory = true;
    m.nodes[key] = node;
  }
}

void AddFile(const std::string& path, const std::vector<std::uint8_t>& data) {
  std::string key = Canonical(path);
  std::size_t cut = LastSeparator(path);
  AddDirectory(path.substr(0, cut == std::string::npos ? 0 : cut));
  Node node;
  node.path = path;
  node.data = data;
  TheMachine().nodes[key] = node;
}

void AddFile(const std::string& path, const std::string& text) {
  AddFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void SetProfileValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  platform::WriteProfileText(file.c_str(), section.c_str(), key.c_str(), value.c_str());
  TheMachine().journal.pop_back();  // set up by the test, not done by setup
}

void AddRegistryKey(const std::string& path) {
  std::string key = Lower(path);
  Machine& m = TheMachine();
  for (std::size_t cut = key.find('\\'); cut != std::string::npos; cut = key.find('\\', cut + 1))
    m.registry[key.substr(0, cut)];
  m.registry[key];
}

void OnDialog(int template_id, DialogScript script) {
  TheMachine().scripts[template_id].push_back(std::move(script));
}

void Press(Window dialog, int command) {
  Dispatch(dialog, platform::DialogEvent::Command, command);
}

void PressCloseBox(Window dialog) { Dispatch(dialog, platform::DialogEvent::Close, 0); }

void TypeInto(Window dialog, int item, const std::string& text) {
  DialogOf(dialog).texts[item] = text;
}

void DeliverTicks(Window dialog, int count) {
  Machine& m = TheMachine();
  for (int i = 0; i < count; ++i) {
    auto earliest = m.timers.end();
    for (auto it = m.timers.begin(); it != m.timers.end(); ++it) {
      if (it->first.first != dialog) continue;
      if (earliest == m.timers.end() ||
          static_cast<std::int32_t>(it->second.due - earliest->second.due) < 0)
        earliest = it;
    }
    if (earliest == m.timers.end()) return;
    unsigned id = earliest->first.second;
    std::uint32_t due = earliest->second.due;
    DeliverBackgroundTimers(static_cast<std::int32_t>(due - m.clock) > 0 ? due : m.clock);
    if (static_cast<std::int32_t>(due - m.clock) > 0) m.clock = due;
    earliest->second.due = m.clock + earliest->second.period;
    Dispatch(dialog, platform::DialogEvent::Timer, static_cast<int>(id));
  }
}

void Uncover(Window dialog) {
  DialogOf(dialog).painted.clear();
  PaintDialog(dialog);
}

void DeliverTimer(Window dialog, unsigned id) {
  Dispatch(dialog, platform::DialogEvent::Timer, static_cast<int>(id));
}

Dialog& DialogOf(Window dialog) { return TheMachine().dialogs.at(dialog); }

Window OpenDialog(int template_id) {
  Machine& m = TheMachine();
  for (auto it = m.dialog_stack.rbegin(); it != m.dialog_stack.rend(); ++it) {
    if (m.dialogs.at(*it).template_id == template_id) return *it;
  }
  return 0;
}

bool Exists(const std::string& path) {
  std::string key = Canonical(path);
  if (key.empty()) return false;
  if (DirectoryExists(key)) return true;
  return TheMachine().nodes.count(key) > 0 || TheMachine().profiles.count(key) > 0;
}

bool IsDirectory(const std::string& path) { return DirectoryExists(Canonical(path)); }

std::vector<std::uint8_t> Bytes(const std::string& path) {
  auto it = TheMachine().nodes.find(Canonical(path));
  if (it == TheMachine().nodes.end()) return {};
  return it->second.data;
}

std::vector<std::string> FilesBelow(const std::string& path) {
  std::string base = Canonical(path);
  std::vector<std::string> result;
  for (auto& [key, node] : TheMachine().nodes) {
    if (node.directory || key.size() <= base.size() + 1) continue;
    if (key.compare(0, base.size() + 1, base + "\\") != 0) continue;
    std::string relative = node.path;
    // The case as created, relative to the base.
    std::string created = Canonical(node.path);
    relative = node.path.substr(node.path.size() - (created.size() - base.size() - 1));
    result.push_back(relative);
  }
  std::sort(result.begin(), result.end());
  return result;
}

bool ProfileFileExists(const std::string& file) {
  return TheMachine().profiles.count(ProfilePath(file.c_str())) > 0;
}

std::string ProfileValue(const std::string& file, const std::string& section,
                         const std::string& key) {
  char buffer[1024];
  platform::ReadProfileText(file.c_str(), section.c_str(), key.c_str(), "<missing>", buffer,
                            sizeof buffer);
  return buffer;
}

std::string RegistryData(const std::string& key, const std::string& name) {
  auto& registry = TheMachine().registry;
  auto it = registry.find(Lower(key));
  if (it == registry.end()) return "<missing>";
  auto value = it->second.find(Lower(name));
  return value == it->second.end() ? "<missing>" : value->second.second;
}

std::string RegistryValue(const std::string& key, const std::string& name) {
  return TextOf(RegistryData(key, name));
}

bool RegistryKeyExists(const std::string& key) {
  return TheMachine().registry.count(Lower(key)) > 0;
}

int OpenHandleCount() {
  return static_cast<int>(open_files.size() + searches.size() + open_keys.size() +
                          event_names.size());
}

std::vector<std::string> JournalLines(const std::string& prefix) {
  std::vector<std::string> lines;
  for (const std::string& line : TheMachine().journal) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

std::string OpenKeyPath(platform::RegistryKey key) {
  auto it = open_keys.find(key);
  return it == open_keys.end() ? std::string() : it->second;
}

}  // namespace setup::simulated

// ---------------------------------------------------------------------------
// The platform seam, simulated.
namespace setup::platform {
using simulated::Dialog;
using simulated::Machine;
using simulated::TheMachine;

bool NamedEventExists(const char* name) {
  return TheMachine().events.count(simulated::Upper(name)) > 0;
}

Event CreateNamedEvent(const char* name) {
  Machine& m = TheMachine();
  m.events.insert(simulated::Upper(name));
  simulated::Note(std::string("create event ") + name);
  Event event = simulated::NewHandle();
  simulated::event_names[event] = simulated::Upper(name);
  return event;
}

void CloseNamedEvent(Event event) {
  if (event == 0) return;
  simulated::Note("close event");
  // The last handle is gone: so is the event.
  auto it = simulated::event_names.find(event);
  if (it != simulated::event_names.end()) {
    TheMachine().events.erase(it->second);
    simulated::event_names.erase(it);
  }
}

bool NtFamily() { return TheMachine().nt_family; }
unsigned AnsiCodePage() { return TheMachine().code_page; }

void StartCom() {
  ++TheMachine().com_starts;
  simulated::Note("com start");
}

void StopCom() {
  ++TheMachine().com_stops;
  simulated::Note("com stop");
}

std::size_t ModuleFileName(char* buffer, std::size_t size) {
  const std::string& path = TheMachine().module_path;
  if (path.size() + 1 > size) return 0;
  return simulated::CopyOut(path, buffer, size);
}

std::size_t WindowsDirectory(char* buffer, std::size_t size) {
  const std::string& path = TheMachine().windows_directory;
  if (path.size() + 1 > size) return 0;
  return simulated::CopyOut(path, buffer, size);
}

void* AllocateZeroed(std::size_t size) {
  Machine& m = TheMachine();
  if (simulated::InjectedFailure("allocation")) return nullptr;
  if (m.allocations_left == 0) return nullptr;
  if (m.allocations_left > 0) --m.allocations_left;
  void* block = std::calloc(size == 0 ? 1 : size, 1);
  if (block != nullptr) m.live_blocks.insert(block);
  return block;
}

void ReleaseBlock(void* block) {
  TheMachine().live_blocks.erase(block);
  std::free(block);
}

std::uint32_t Milliseconds() { return TheMachine().clock; }

// --- Text in the ANSI code page --------------------------------------------------
// Code page 936 (GBK): lead bytes 0x81 to 0xFE; every other code page the
// machine takes is single-byte.
bool IsLeadByte(unsigned char byte) {
  return TheMachine().code_page == 936 && byte >= 0x81 && byte <= 0xFE;
}

const char* NextCharacter(const char* text) {
  if (*text == '\0') return text;
  if (IsLeadByte(static_cast<unsigned char>(*text)) && text[1] != '\0') return text + 2;
  return text + 1;
}

const char* PreviousCharacter(const char* start, const char* current) {
  if (current <= start) return start;
  const char* previous = start;
  for (const char* p = start; p < current && *p != '\0'; p = NextCharacter(p)) previous = p;
  return previous;
}

// --- Profiles ----------------------------------------------------------------
namespace {
simulated::Section* FindSection(simulated::Profile& profile, const char* section) {
  for (auto& s : profile) {
    if (simulated::SameNoCase(s.name, section)) return &s;
  }
  return nullptr;
}
}  // namespace

std::size_t ReadProfileText(const char* file, const char* section, const char* key,
                            const char* fallback, char* buffer, std::size_t size) {
  Machine& m = TheMachine();
  auto profile = m.profiles.find(simulated::ProfilePath(file));
  if (profile != m.profiles.end()) {
    if (simulated::Section* s = FindSection(profile->second, section)) {
      for (auto& [name, value] : s->keys) {
        if (simulated::SameNoCase(name, key)) return simulated::CopyOut(value, buffer, size);
      }
    }
  }
  return simulated::CopyOut(fallback, buffer, size);
}

int ReadProfileInteger(const char* file, const char* section, const char* key, int fallback) {
  char buffer[64];
  if (ReadProfileText(file, section, key, "", buffer, sizeof buffer) == 0) return fallback;
  return static_cast<int>(std::strtol(buffer, nullptr, 10));
}

bool WriteProfileText(const char* file, const char* section, const char* key, const char* value) {
  Machine& m = TheMachine();
  m.journal.push_back(std::string("profile [") + section + "] " + key + "=" + value);
  if (simulated::InjectedFailure("profile write") || m.profiles_read_only) return false;
  simulated::Profile& profile = m.profiles[simulated::ProfilePath(file)];
  simulated::Section* s = FindSection(profile, section);
  if (s == nullptr) {
    profile.push_back(simulated::Section{section, {}});
    s = &profile.back();
  }
  for (auto& entry : s->keys) {
    if (simulated::SameNoCase(entry.first, key)) {
      entry.second = value;
      return true;
    }
  }
  s->keys.emplace_back(key, value);
  return true;
}

// --- Files and directories ------------------------------------------------------
bool EnterDirectory(const char* path) {
  std::string key = simulated::Canonical(path);
  if (!simulated::DirectoryExists(key)) return false;
  Machine& m = TheMachine();
  m.current_directory = simulated::IsRoot(key) ? simulated::Upper(key) + "\\" : m.nodes[key].path;
  return true;
}

bool MakeDirectory(const char* path) {
  Machine& m = TheMachine();
  if (simulated::InjectedFailure("directory creation")) return false;
  std::string key = simulated::Canonical(path);
  if (key.empty() || simulated::IsRoot(key) || simulated::Exists(path)) return false;
  if (!simulated::DirectoryExists(simulated::ParentOf(key)) || simulated::DriveReadOnly(key) ||
      simulated::TakesNoEntries(simulated::ParentOf(key)))
    return false;
  simulated::Node node;
  std::string shown = path;
  while (simulated::EndsWithSeparator(shown)) shown.pop_back();
  node.path = shown;
  node.directory = true;
  m.nodes[key] = node;
  return true;
}

std::size_t CurrentDirectory(char* buffer, std::size_t size) {
  const std::string& path = TheMachine().current_directory;
  if (path.size() + 1 > size) return 0;
  return simulated::CopyOut(path, buffer, size);
}

namespace {
File CreateOrTruncate(const char* path);
}  // namespace

File CreateFileForWriting(const char* path) {
  if (simulated::InjectedFailure("file creation")) return 0;
  return CreateOrTruncate(path);
}

namespace {
File CreateOrTruncate(const char* path) {
  Machine& m = TheMachine();
  std::string key = simulated::Canonical(path);
  if (key.empty() || !simulated::DirectoryExists(simulated::ParentOf(key)) ||
      simulated::DriveReadOnly(key) || simulated::DirectoryExists(key) ||
      simulated::TakesNoEntries(simulated::ParentOf(key)))
    return 0;
  auto it = m.nodes.find(key);
  if (it != m.nodes.end()) {
    if (it->second.locked) return 0;
    it->second.data.clear();
  } else {
    simulated::Node node;
    node.path = path;
    node.write_limit = m.new_file_write_limit;
    m.nodes[key] = node;
  }
  File file = simulated::NewHandle();
  simulated::open_files[file] = simulated::OpenFile{key, 0, true};
  return file;
}

}  // namespace

File CreateNewFile(const char* path) {
  if (simulated::InjectedFailure("file creation") || simulated::Exists(path)) return 0;
  return CreateOrTruncate(path);
}

File OpenFileForReading(const char* path) {
  Machine& m = TheMachine();
  auto it = m.nodes.find(simulated::Canonical(path));
  if (it == m.nodes.end() || it->second.directory || it->second.locked) return 0;
  File file = simulated::NewHandle();
  simulated::open_files[file] = simulated::OpenFile{it->first, 0, false};
  return file;
}

long ReadFromFile(File file, void* buffer, std::size_t count) {
  auto it = simulated::open_files.find(file);
  if (it == simulated::open_files.end()) return -1;
  simulated::Node& node = TheMachine().nodes.at(it->second.key);
  if (node.read_error) return -1;
  std::size_t left = node.data.size() - std::min(node.data.size(), it->second.position);
  std::size_t n = std::min(left, count);
  if (n > 0) std::memcpy(buffer, node.data.data() + it->second.position, n);
  it->second.position += n;
  return static_cast<long>(n);
}

long WriteToFile(File file, const void* buffer, std::size_t count) {
  Machine& m = TheMachine();
  if (simulated::InjectedFailure("write")) return -1;
  auto it = simulated::open_files.find(file);
  if (it == simulated::open_files.end() || !it->second.writing) return -1;
  m.clock += m.ms_per_write;
  simulated::Node& node = m.nodes.at(it->second.key);
  std::size_t n = count;
  if (node.write_limit >= 0) {
    std::size_t room = static_cast<std::size_t>(node.write_limit) -
                       std::min(node.data.size(), static_cast<std::size_t>(node.write_limit));
    n = std::min(n, room);
  }
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  node.data.insert(node.data.end(), bytes, bytes + n);
  it->second.position += n;
  return static_cast<long>(n);
}

void CloseFile(File file) { simulated::open_files.erase(file); }

bool DeleteFileAt(const char* path) {
  Machine& m = TheMachine();
  std::string key = simulated::Canonical(path);
  simulated::Note(std::string("delete ") + path);
  if (m.profiles.erase(key) > 0) return true;
  auto it = m.nodes.find(key);
  if (it == m.nodes.end() || it->second.directory || it->second.locked) return false;
  m.nodes.erase(it);
  return true;
}

std::size_t ShortPathName(const char* path, char* buffer, std::size_t size) {
  Machine& m = TheMachine();
  std::string key = simulated::Canonical(path);
  if (key.empty() || !simulated::Exists(path)) return 0;
  if (!m.short_names) {
    std::string given = path;
    if (given.size() + 1 > size) return 0;
    return simulated::CopyOut(given, buffer, size);
  }
  std::string result = simulated::Upper(key.substr(0, 2));
  std::string walk = key.substr(0, 2);
  std::size_t start = 3;
  while (start < key.size() + 1 && start <= key.size()) {
    std::size_t end = simulated::NextSeparator(key, start);
    if (end == std::string::npos) end = key.size();
    walk += "\\" + key.substr(start, end - start);
    auto node = m.nodes.find(walk);
    std::string name = node != m.nodes.end() ? simulated::NameOf(node->second.path)
                                             : key.substr(start, end - start);
    result += "\\" + simulated::ShortComponent(name);
    start = end + 1;
  }
  std::string given = path;
  if (simulated::IsRoot(key) || simulated::EndsWithSeparator(given)) result += "\\";
  if (result.size() + 1 > size) return 0;
  return simulated::CopyOut(result, buffer, size);
}

bool FreeBytesOnVolume(const char* root, std::uint64_t* bytes) {
  Machine& m = TheMachine();
  std::string key = simulated::Canonical(root);
  if (key.empty()) return false;
  std::string given = root;
  if (given.size() != 3 || given[1] != ':' || given[2] != '\\') return false;
  auto it = m.free_bytes.find(static_cast<char>(std::toupper(key[0])));
  *bytes = it == m.free_bytes.end() ? 0 : it->second;
  return true;
}

Search FindFirstEntry(const char* pattern, FoundEntry* entry) {
  Machine& m = TheMachine();
  std::string text = pattern;
  std::size_t cut = simulated::LastSeparator(text);
  std::string last = cut == std::string::npos ? text : text.substr(cut + 1);
  simulated::SearchState state;
  if (last == "*.*" || last == "*") {
    std::string directory =
        simulated::Canonical(text.substr(0, cut == std::string::npos ? 0 : cut));
    if (!simulated::DirectoryExists(directory)) return 0;
    if (!simulated::IsRoot(directory)) {
      state.entries.push_back(simulated::EntryFor(".", nullptr));
      state.entries.push_back(simulated::EntryFor("..", nullptr));
    }
    for (auto& [key, node] : m.nodes) {
      if (simulated::ParentOf(key) == directory)
        state.entries.push_back(simulated::EntryFor(simulated::NameOf(node.path), &node));
    }
    for (auto& [key, profile] : m.profiles) {
      if (simulated::ParentOf(key) == directory)
        state.entries.push_back(simulated::EntryFor(simulated::NameOf(key), nullptr));
    }
  } else {
    auto it = m.nodes.find(simulated::Canonical(text));
    if (it == m.nodes.end()) return 0;
    state.entries.push_back(simulated::EntryFor(simulated::NameOf(it->second.path), &it->second));
  }
  if (state.entries.empty()) return 0;
  *entry = state.entries[0];
  state.next = 1;
  Search search = simulated::NewHandle();
  simulated::searches[search] = state;
  return search;
}

bool FindNextEntry(Search search, FoundEntry* entry) {
  auto it = simulated::searches.find(search);
  if (it == simulated::searches.end() || it->second.next >= it->second.entries.size()) return false;
  *entry = it->second.entries[it->second.next++];
  return true;
}

void EndSearch(Search search) { simulated::searches.erase(search); }

// --- Registry -----------------------------------------------------------------
RegistryKey OpenRegistryKey(RegistryRoot root, const char* path) {
  Machine& m = TheMachine();
  std::string key = simulated::Lower(
      std::string(root == RegistryRoot::LocalMachine ? "HKLM\\" : "HKCU\\") + path);
  if (m.registry.count(key) == 0 || m.read_only_keys.count(key) > 0) return 0;
  RegistryKey handle = simulated::NewHandle();
  simulated::open_keys[handle] = key;
  return handle;
}

RegistryKey CreateRegistrySubkey(RegistryKey parent, const char* name) {
  auto it = simulated::open_keys.find(parent);
  if (it == simulated::open_keys.end()) return 0;
  std::string key = it->second + "\\" + simulated::Lower(name);
  TheMachine().registry[key];
  simulated::Note("registry key " + key);
  RegistryKey handle = simulated::NewHandle();
  simulated::open_keys[handle] = key;
  return handle;
}

bool SetRegistryText(RegistryKey key, const char* name, const char* text, std::size_t length) {
  auto it = simulated::open_keys.find(key);
  if (it == simulated::open_keys.end()) return false;
  std::string data(text, length);
  TheMachine().registry[it->second][simulated::Lower(name)] = {name, data};
  simulated::Note("registry " + it->second + " " + name + "=" + simulated::TextOf(data));
  return true;
}

std::size_t ReadRegistryText(RegistryKey key, const char* name, char* buffer, std::size_t size) {
  auto it = simulated::open_keys.find(key);
  if (it == simulated::open_keys.end()) return 0;
  auto& values = TheMachine().registry[it->second];
  auto value = values.find(simulated::Lower(name));
  if (value == values.end()) return 0;
  std::string text = simulated::TextOf(value->second.second);
  if (text.size() + 1 > size) return 0;
  return simulated::CopyOut(text, buffer, size);
}

void CloseRegistryKey(RegistryKey key) { simulated::open_keys.erase(key); }

// --- Resources -------------------------------------------------------------------
std::size_t LoadText(int id, char* buffer, std::size_t size) {
  auto& strings = simulated::Strings();
  auto it = strings.find(id);
  return simulated::CopyOut(it == strings.end() ? std::string() : it->second, buffer, size);
}

Graphic LoadIconGraphic(int id) {
  Machine& m = TheMachine();
  Graphic icon = simulated::NewHandle();
  m.icons_loaded.push_back(id);
  m.live_icons.insert(icon);
  return icon;
}

void DestroyIconGraphic(Graphic icon) { TheMachine().live_icons.erase(icon); }

Graphic LoadBitmapGraphic(int id) {
  Graphic bitmap = simulated::NewHandle();
  TheMachine().live_graphics.insert(bitmap);
  simulated::Note("bitmap " + std::to_string(id));
  return bitmap;
}

Graphic CreateSolidBrushGraphic(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  Graphic brush = simulated::NewHandle();
  TheMachine().live_graphics.insert(brush);
  simulated::Note("brush " + std::to_string(red) + "," + std::to_string(green) + "," +
                  std::to_string(blue));
  return brush;
}

void DeleteGraphic(Graphic graphic) { TheMachine().live_graphics.erase(graphic); }

const std::uint8_t* FindNamedTypeResource(int id, const char* type, std::size_t* size) {
  Machine& m = TheMachine();
  if (id != IDR_PAYLOAD || std::strcmp(type, IDR_PAYLOAD_TYPE) != 0 || !m.payload_present)
    return nullptr;
  *size = m.payload.size();
  static const std::uint8_t empty = 0;
  return m.payload.empty() ? &empty : m.payload.data();
}

// --- Windows -------------------------------------------------------------------------
Rect DesktopRectangle() { return TheMachine().screen; }

Rect WindowRectangle(Window window) {
  auto& rects = TheMachine().window_rects;
  auto it = rects.find(window);
  return it == rects.end() ? TheMachine().window_size : it->second;
}

void MoveWindowTo(Window window, long x, long y) {
  TheMachine().moved_to[window] = {x, y};
  simulated::Note("move " + std::to_string(window) + " " + std::to_string(x) + "," +
                  std::to_string(y));
}

bool RegisterBackgroundClass(int icon_id) {
  (void)icon_id;
  TheMachine().background_class_registered = true;
  return true;
}

Window CreateBackgroundWindow(const Rect& area, WindowHook paint, WindowHook refresh) {
  (void)area;
  Machine& m = TheMachine();
  Window window = simulated::NewHandle();
  m.windows.insert(window);
  m.background = window;
  m.background_refresh = refresh;
  simulated::Note("background window");
  if (paint != nullptr) paint(window);
  return window;
}

bool WindowExists(Window window) { return TheMachine().windows.count(window) > 0; }

void StartTimer(Window window, unsigned id, unsigned period_ms) {
  Machine& m = TheMachine();
  m.timers[{window, id}] = simulated::Timer{period_ms, m.clock + period_ms};
  simulated::Note("timer " + std::to_string(id) + " " + std::to_string(period_ms));
}

void StopTimer(Window window, unsigned id) {
  if (TheMachine().timers.erase({window, id}) > 0)
    simulated::Note("kill timer " + std::to_string(id));
}

void PostQuit() { simulated::Note("quit"); }

int ShowMessage(Window owner, const char* text, const char* caption, Buttons buttons) {
  Machine& m = TheMachine();
  simulated::MessageRecord record{owner, caption, text, buttons};
  m.messages.push_back(record);
  simulated::Note(std::string("message ") + caption + ": " + text);
  if (m.answer) return m.answer(record);
  // Unscripted: the answer that goes on (Retry would ask again for ever).
  if (buttons == Buttons::RetryCancel) return kAnswerCancel;
  return buttons == Buttons::YesNo ? kAnswerYes : kAnswerOk;
}

// --- Dialogs ------------------------------------------------------------------------------
int RunDialog(int template_id, DialogProcedure procedure, Window owner) {
  Machine& m = TheMachine();
  Window handle = simulated::NewHandle();
  Dialog dialog;
  dialog.handle = handle;
  dialog.template_id = template_id;
  dialog.procedure = procedure;
  dialog.owner = owner;
  m.dialogs[handle] = dialog;
  m.dialog_stack.push_back(handle);
  m.windows.insert(handle);
  m.dialogs_run.push_back(template_id);
  simulated::Note("dialog " + std::to_string(template_id));
  simulated::Dispatch(handle, DialogEvent::Opened, 0);
  simulated::PaintDialog(handle);
  auto scripts = m.scripts.find(template_id);
  if (scripts != m.scripts.end() && !scripts->second.empty()) {
    simulated::DialogScript script = std::move(scripts->second.front());
    scripts->second.pop_front();
    script(handle);
  }
  simulated::RunUntilEnded(handle);
  int result = m.dialogs.at(handle).result;
  for (auto it = m.timers.begin(); it != m.timers.end();) {
    it = it->first.first == handle ? m.timers.erase(it) : std::next(it);
  }
  m.dialog_stack.pop_back();
  m.dialogs.erase(handle);
  m.windows.erase(handle);
  simulated::Note("dialog " + std::to_string(template_id) + " ended " + std::to_string(result));
  return result;
}

void EndDialogWith(Window dialog, int result) {
  Dialog& d = simulated::DialogOf(dialog);
  d.ended = true;
  d.result = result;
}

void PostCommand(Window dialog, int command) {
  auto& dialogs = TheMachine().dialogs;
  auto it = dialogs.find(dialog);
  if (it != dialogs.end()) it->second.posted.push_back(command);
}

void SetItemText(Window dialog, int item, const char* text) {
  simulated::DialogOf(dialog).texts[item] = text;
}

std::size_t GetItemText(Window dialog, int item, char* buffer, std::size_t size) {
  return simulated::CopyOut(simulated::DialogOf(dialog).texts[item], buffer, size);
}

bool ItemChecked(Window dialog, int item) { return simulated::DialogOf(dialog).checked[item]; }

void CheckItem(Window dialog, int item, bool checked) {
  simulated::DialogOf(dialog).checked[item] = checked;
}

void ShowItem(Window dialog, int item, bool visible) {
  simulated::DialogOf(dialog).hidden[item] = !visible;
}

void DrawIconInItem(Window dialog, int item, Graphic icon) {
  (void)item;
  simulated::DialogOf(dialog).icons_drawn.push_back(icon);
}

void FillItemFromLeft(Window dialog, int item, Graphic brush, unsigned numerator,
                      unsigned denominator) {
  (void)brush;
  Dialog& d = simulated::DialogOf(dialog);
  d.bar_fills.emplace_back(numerator, denominator);
  d.drawn[item] = "bar " + std::to_string(numerator) + "/" + std::to_string(denominator);
  d.painted.insert(item);
}

void DrawBitmapInItem(Window dialog, int item, Graphic bitmap) {
  (void)bitmap;
  Dialog& d = simulated::DialogOf(dialog);
  ++d.bitmaps_drawn;
  d.drawn[item] = "bitmap";
  d.painted.insert(item);
}

}  // namespace setup::platform
