// A Windows machine kept in memory, behind the installer's platform seam.
//
// Tests set the machine up (drives, files, code page, profile entries,
// registry keys, windows of other programs), script the user (what to press
// in which dialog, how to answer message boxes), run installer code, and then
// read the machine back: files and their bytes, the profile files, the
// registry and the journal, an ordered record of everything observable that
// the installer did (profile writes, dialogs, message boxes, messages sent,
// registry writes, deletions).
//
// Paths are case-blind and may be given with or without a trailing
// backslash; relative paths are taken from the current directory. Drive
// roots exist while their drive letter is present.
#ifndef LUMAVIEW_SETUP_SIMULATED_MACHINE_H
#define LUMAVIEW_SETUP_SIMULATED_MACHINE_H

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace setup::simulated {

using platform::Graphic;
using platform::Window;

struct Node {
  std::string path;  // as created (case kept)
  bool directory = false;
  std::vector<std::uint8_t> data;
  bool locked = false;                 // a file: cannot be created, truncated or opened;
                                       // a directory: takes no new entries
  long write_limit = -1;               // >= 0: the file never grows beyond this many bytes
  bool read_error = false;             // reads fail with -1
  std::uint32_t extra_attributes = 0;  // added to what a search reports (e.g. 0x400)
};

struct Section {
  std::string name;
  std::vector<std::pair<std::string, std::string>> keys;
};
using Profile = std::vector<Section>;

struct MessageRecord {
  Window owner;
  std::string caption;
  std::string text;
  platform::Buttons buttons;
};

struct SentMessage {
  Window window;
  unsigned message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
};

struct Timer {
  unsigned period;
  std::uint32_t due;
};

struct Dialog {
  Window handle = 0;
  int template_id = 0;
  platform::DialogProcedure procedure = nullptr;
  Window owner = 0;
  bool ended = false;
  int result = 0;
  std::map<int, std::string> texts;
  std::map<int, bool> checked;
  std::map<int, bool> hidden;
  std::deque<int> posted;
  std::vector<Graphic> icons_drawn;
  std::vector<std::pair<unsigned, unsigned>> bar_fills;  // numerator, denominator
  int bitmaps_drawn = 0;
  // What setup drew into an item that is on the screen now ("bar 64/128",
  // "bitmap"), and the items it marked as painted. When the dialog is
  // painted, every item then repaints itself unless it was marked, wiping
  // what was drawn into it.
  std::map<int, std::string> drawn;
  std::set<int> painted;
};

// What the simulated user does once a dialog has opened; the dialog then
// runs its timers and posted commands until it ends.
using DialogScript = std::function<void(Window dialog)>;
using MessageAnswer = std::function<int(const MessageRecord& message)>;

struct Machine {
  // System.
  unsigned code_page = 1252;
  bool nt_family = true;
  std::string module_path = "D:\\SETUP\\SETUP.EXE";
  std::string windows_directory = "C:\\WINDOWS";
  std::set<std::string> events;  // upper-cased names of existing events
  int com_starts = 0;
  int com_stops = 0;
  std::uint32_t clock = 5000;
  std::uint32_t ms_per_write = 0;  // the clock advances by this on every file write
  long allocations_left = -1;      // >= 0: allocations fail once this reaches 0
  // Fault injection for the sweep: every fallible call (file creation, file
  // write, directory creation, profile write, allocation) is counted, and
  // the one whose number is fail_call (1 for the first) fails.
  long fallible_calls = 0;
  long fail_call = 0;
  std::string failed_call;  // what the failed call was, e.g. "write"
  std::set<void*> live_blocks;

  // File system.
  std::set<char> drives{'C', 'D'};  // upper-case letters present
  std::set<char> read_only_drives;
  // False: volumes without 8.3 names, whose short form of a path is the path.
  bool short_names = true;
  std::map<char, std::uint64_t> free_bytes;
  std::map<std::string, Node> nodes;  // key: canonical form
  std::string current_directory = "C:\\";
  std::map<std::string, Profile> profiles;  // key: canonical path of the file
  bool profiles_read_only = false;
  long new_file_write_limit = -1;  // >= 0: files created from now on (a full disk)

  // Registry: canonical key path ("hklm\software\...") to values, each its
  // name as given and its data bytes as stored (a REG_SZ value's text with
  // its terminating zero, when the writer gave it).
  std::map<std::string, std::map<std::string, std::pair<std::string, std::string>>> registry;
  std::set<std::string> read_only_keys;

  // Program resources. The string tables by ANSI code page, generated from
  // the program's resource scripts; a code page without a table of its own
  // gets the English one (1252), as Windows falls back to it.
  std::map<unsigned, std::map<int, std::string>> string_tables;
  std::vector<std::uint8_t> payload;
  bool payload_present = true;
  std::vector<int> icons_loaded;
  std::set<Graphic> live_icons;
  std::set<Graphic> live_graphics;  // bitmaps and brushes

  // Windows and dialogs.
  std::set<Window> windows;                       // existing windows, the installer's and others'
  std::map<Window, platform::Rect> window_rects;  // others have window_size
  std::vector<SentMessage> sent;
  // Windows of other programs that answer a message only after this many
  // milliseconds (hung ones: removal_state.h).
  std::map<Window, std::uint32_t> reply_delays;
  std::map<std::pair<Window, unsigned>, Timer> timers;
  std::map<Window, Dialog> dialogs;  // open dialogs
  std::vector<Window> dialog_stack;
  std::vector<int> dialogs_run;  // template ids in the order they opened
  std::map<int, std::deque<DialogScript>> scripts;
  MessageAnswer answer;
  std::vector<MessageRecord> messages;
  platform::Rect screen{0, 0, 1024, 768};
  platform::Rect window_size{0, 0, 400, 300};  // windows not in window_rects
  std::map<Window, std::pair<long, long>> moved_to;
  bool background_class_registered = false;
  Window background = 0;
  platform::WindowHook background_refresh = nullptr;
  int background_refreshes = 0;

  std::vector<std::string> journal;
  platform::Handle next_handle = 0x100;
};

// The one machine that the simulated side of the platform works on.
Machine& TheMachine();
// A fresh machine: drives C and D, the Windows directory, the Uninstall key,
// the string tables, an empty payload resource, and fresh shell and removal
// sides (shell_state.h, removal_state.h).
void ResetMachine();
// The string table that LoadText answers from under the current code page.
std::map<int, std::string>& Strings();

// The canonical (case-folded, absolute, no trailing backslash) form of a
// path, or empty when it names no drive.
std::string Canonical(const std::string& path);

// --- Setting up -------------------------------------------------------------
void AddDirectory(const std::string& path);  // with its missing ancestors
void AddFile(const std::string& path, const std::vector<std::uint8_t>& data);
void AddFile(const std::string& path, const std::string& text);
// A key of a profile file (a bare name, kept in the Windows directory).
void SetProfileValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value);
void AddRegistryKey(const std::string& path);  // e.g. "HKLM\SOFTWARE\X"
// Queues a script for the next opening of a dialog template.
void OnDialog(int template_id, DialogScript script);

// --- Acting as the user ------------------------------------------------------
void Press(Window dialog, int command);
void PressCloseBox(Window dialog);
void TypeInto(Window dialog, int item, const std::string& text);
// Delivers the dialog's earliest timer `count` times, advancing the clock.
// The background window's timers that fall due on the way are delivered
// first, as the system's modal loop does.
void DeliverTicks(Window dialog, int count);
// The dialog uncovered: every item loses its painted mark, the dialog gets
// its paint event, then the items repaint themselves.
void Uncover(Window dialog);
// Delivers one timer event regardless of its due time.
void DeliverTimer(Window dialog, unsigned id);
Dialog& DialogOf(Window dialog);
// The innermost open dialog of the template, or 0.
Window OpenDialog(int template_id);

// --- Reading back -----------------------------------------------------------
bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
std::vector<std::uint8_t> Bytes(const std::string& path);
// Every file below a directory, as paths relative to it, sorted.
std::vector<std::string> FilesBelow(const std::string& path);
// Whether a profile file (a bare name, kept in the Windows directory) exists,
// and the value of one of its keys, or "<missing>".
bool ProfileFileExists(const std::string& file);
std::string ProfileValue(const std::string& file, const std::string& section,
                         const std::string& key);
// A registry value read as text (up to its terminating zero), or "<missing>".
std::string RegistryValue(const std::string& key, const std::string& name);
// The value's data bytes as stored.
std::string RegistryData(const std::string& key, const std::string& name);
bool RegistryKeyExists(const std::string& key);
// Handles the installer holds open now: files, directory searches, registry
// keys and events (shell link objects are counted by the shell state).
int OpenHandleCount();
// The journal lines that start with `prefix`, in order.
std::vector<std::string> JournalLines(const std::string& prefix);

// --- For the machine's other sides ------------------------------------------
// The canonical path of an open registry key ("hklm\software\..."), or empty.
std::string OpenKeyPath(platform::RegistryKey key);

}  // namespace setup::simulated

#endif
