// The installer's platform seam: everything setup asks of the system.
//
// Each operation is named after what the installer's logic relies on, not
// after the system call behind it. Two sides implement it:
//   win32/      the Windows calls (one file per concept)
//   simulated/  a whole Windows machine kept in memory (drives, case-blind
//               paths, profile files, registry, windows, dialogs, a clock),
//               so that native tests can check exact sequences
// The installer's logic includes no system header; it reaches Windows only
// through this file. New concepts get a new labelled section here and a
// file on each side.
#ifndef LUMAVIEW_SETUP_PLATFORM_H
#define LUMAVIEW_SETUP_PLATFORM_H

#include <cstddef>
#include <cstdint>

namespace setup::platform {

// Handles are opaque numbers; 0 always means "none".
using Handle = std::uintptr_t;
using Window = Handle;       // a window or dialog
using File = Handle;         // an open file
using Graphic = Handle;      // icon, bitmap or brush
using Event = Handle;        // a named event
using Search = Handle;       // a directory search in progress
using RegistryKey = Handle;  // an open registry key

// The longest path the system accepts (MAX_PATH), with its terminating zero.
constexpr std::size_t kPathLimit = 260;

// --- Process and system ------------------------------------------------------
// True when another process holds the named event (it can be opened).
bool NamedEventExists(const char* name);
// Creates the named event (auto-reset, not signalled); 0 on failure.
Event CreateNamedEvent(const char* name);
void CloseNamedEvent(Event event);
// The NT family: the top bit of the system version is clear.
bool NtFamily();
// The ANSI code page (936 for simplified Chinese).
unsigned AnsiCodePage();
// COM for the shell's link object, once per run.
void StartCom();
void StopCom();
// Full path of the running program. Returns its length, or 0 when it does
// not fit into `size` bytes with its terminating zero.
std::size_t ModuleFileName(char* buffer, std::size_t size);
// The Windows directory (without a trailing backslash unless it is a root);
// returns its length, 0 when it does not fit.
std::size_t WindowsDirectory(char* buffer, std::size_t size);
// Zero-filled memory blocks (the local heap); null when exhausted.
void* AllocateZeroed(std::size_t size);
void ReleaseBlock(void* block);
// Milliseconds since some fixed moment; wraps after 49 days.
std::uint32_t Milliseconds();

// --- Text in the ANSI code page -------------------------------------------------
// Under a double-byte code page (936) a lead byte starts a two-byte character
// whose second byte may be '\\' (0x5C) or an ASCII letter; code that looks
// for a backslash or folds case steps over whole characters with these.
// True when the byte starts a two-byte character in the ANSI code page.
bool IsLeadByte(unsigned char byte);
// The character after the one at `text`; `text` itself at the terminating
// zero. A lead byte followed by the zero counts as one character.
const char* NextCharacter(const char* text);
// The start of the character before `current` within the text starting at
// `start`; `start` when `current` is at or before it.
const char* PreviousCharacter(const char* start, const char* current);

// --- Profile (INI) files -------------------------------------------------------
// `file` is a bare name: the system keeps the file in the Windows directory.
// A missing key yields the fallback. Texts are cut to `size` - 1 bytes.
std::size_t ReadProfileText(const char* file, const char* section, const char* key,
                            const char* fallback, char* buffer, std::size_t size);
int ReadProfileInteger(const char* file, const char* section, const char* key, int fallback);
bool WriteProfileText(const char* file, const char* section, const char* key, const char* value);

// --- Files and directories -----------------------------------------------------
// Makes the directory current; true when it exists and could be entered.
bool EnterDirectory(const char* path);
// Creates one directory; true when it was made.
bool MakeDirectory(const char* path);
// The current directory; its length, 0 when it does not fit.
std::size_t CurrentDirectory(char* buffer, std::size_t size);
// Creates the file with normal attributes, truncating an existing one.
File CreateFileForWriting(const char* path);
// Creates a file that does not exist yet (normal attributes); 0 when
// anything exists at the path or it cannot be created. Never truncates.
File CreateNewFile(const char* path);
File OpenFileForReading(const char* path);
// Bytes read (0 at the end), or -1 on an error.
long ReadFromFile(File file, void* buffer, std::size_t count);
// Bytes written, or -1 on an error.
long WriteToFile(File file, const void* buffer, std::size_t count);
void CloseFile(File file);
bool DeleteFileAt(const char* path);
// The 8.3 form of an existing path; its length, 0 on failure or when it does
// not fit.
std::size_t ShortPathName(const char* path, char* buffer, std::size_t size);
// Free bytes of the volume whose root is given (e.g. "C:\"); false when the
// volume cannot be asked.
bool FreeBytesOnVolume(const char* root, std::uint64_t* bytes);

// One entry of a directory search.
struct FoundEntry {
  char name[kPathLimit];
  std::uint32_t attributes;
  std::uint32_t size_low;  // low 32 bits of the file's size
};
constexpr std::uint32_t kDirectoryAttribute = 0x10;
// A search entry that is a link to another place (a junction or symbolic
// link), not a directory or file of its own.
constexpr std::uint32_t kReparsePointAttribute = 0x400;
// Starts a search for a pattern such as "C:\DIR\*.*"; 0 when nothing matches.
Search FindFirstEntry(const char* pattern, FoundEntry* entry);
bool FindNextEntry(Search search, FoundEntry* entry);
void EndSearch(Search search);

// --- Registry --------------------------------------------------------------------
enum class RegistryRoot { LocalMachine, CurrentUser };
// Opens an existing key for reading and writing (KEY_READ | KEY_WRITE); 0 when
// it is missing or cannot be written.
RegistryKey OpenRegistryKey(RegistryRoot root, const char* path);
// Creates or opens a subkey of an open key; 0 on failure.
RegistryKey CreateRegistrySubkey(RegistryKey parent, const char* name);
// Sets a text value (REG_SZ) whose data are the first `length` bytes of
// `text`: the text and its terminating zero.
bool SetRegistryText(RegistryKey key, const char* name, const char* text, std::size_t length);
// Reads a text value; its length, 0 when missing or when it does not fit.
std::size_t ReadRegistryText(RegistryKey key, const char* name, char* buffer, std::size_t size);
void CloseRegistryKey(RegistryKey key);

// --- The program's own resources -----------------------------------------------
// A string-table text in the ANSI code page; its length (0 when missing).
std::size_t LoadText(int id, char* buffer, std::size_t size);
Graphic LoadIconGraphic(int id);
void DestroyIconGraphic(Graphic icon);
Graphic LoadBitmapGraphic(int id);
Graphic CreateSolidBrushGraphic(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
// Bitmaps and brushes.
void DeleteGraphic(Graphic graphic);
// A resource whose type is given by name; a read-only pointer valid until
// exit, or null when missing.
const std::uint8_t* FindNamedTypeResource(int id, const char* type, std::size_t* size);

// --- Windows ------------------------------------------------------------------------
struct Rect {
  long left, top, right, bottom;
};
Rect DesktopRectangle();
Rect WindowRectangle(Window window);
// Moves without resizing or changing the z-order.
void MoveWindowTo(Window window, long x, long y);
// Registers the background window class "SETUP" and creates the window over
// `area`, shown and painted. The window asks `paint` to draw it and calls
// `refresh` whenever its timer IDT_BACKGROUND_REFRESH (resources/
// resource_ids.h) fires, also while a dialog runs modally over it.
using WindowHook = void (*)(Window window);
bool RegisterBackgroundClass(int icon_id);
Window CreateBackgroundWindow(const Rect& area, WindowHook paint, WindowHook refresh);
bool WindowExists(Window window);
// Delivers a message synchronously and waits for its handling, but not at
// all when the system finds the window hung and never longer than
// `timeout_ms`; true when the window handled it.
bool SendToWindowWithin(Window window, unsigned message, std::uintptr_t wparam,
                        std::intptr_t lparam, unsigned timeout_ms);
void StartTimer(Window window, unsigned id, unsigned period_ms);
void StopTimer(Window window, unsigned id);
void PostQuit();

// --- Message boxes --------------------------------------------------------------------
enum class Buttons { Ok, YesNo, RetryCancel };
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerRetry = 4;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
// Modal, owned by `owner`; the answer is the button pressed.
int ShowMessage(Window owner, const char* text, const char* caption, Buttons buttons);

// --- Dialogs ----------------------------------------------------------------------------
// A dialog's behaviour is a portable procedure; each side turns its own
// messages into these events.
enum class DialogEvent {
  Opened,   // the dialog is about to show
  Command,  // a button or a posted command; value: the command id
  Timer,    // value: the timer id
  Paint,    // after the default painting
  Close,    // the close box
};
using DialogProcedure = bool (*)(Window dialog, DialogEvent event, int value);
// Runs a dialog template of the program modally; the value given to
// EndDialogWith, or -1 when the dialog could not be made.
int RunDialog(int template_id, DialogProcedure procedure, Window owner);
void EndDialogWith(Window dialog, int result);
// Queues a command for the dialog, delivered after the current event.
void PostCommand(Window dialog, int command);
void SetItemText(Window dialog, int item, const char* text);
// The item's text cut to `size` - 1 bytes; its length.
std::size_t GetItemText(Window dialog, int item, char* buffer, std::size_t size);
bool ItemChecked(Window dialog, int item);
void CheckItem(Window dialog, int item, bool checked);
void ShowItem(Window dialog, int item, bool visible);
// Draws an icon at the item's top left corner.
void DrawIconInItem(Window dialog, int item, Graphic icon);
// Fills the item from its left edge over `numerator`/`denominator` of its
// client width with the brush; nothing to the right is erased. The item is
// marked as painted, so that its own repaint does not wipe the fill.
void FillItemFromLeft(Window dialog, int item, Graphic brush, unsigned numerator,
                      unsigned denominator);
// Draws a bitmap stretched over the item's client area and marks the item as
// painted.
void DrawBitmapInItem(Window dialog, int item, Graphic bitmap);

}  // namespace setup::platform

#endif
