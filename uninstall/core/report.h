// What a run removed, what it left and why, notes about the log, and the
// exit code that sums it up ("/S" returns it to scripts).
#ifndef LUMAVIEW_UNINSTALL_REPORT_H
#define LUMAVIEW_UNINSTALL_REPORT_H

#include <string>
#include <vector>

namespace uninstall {

// Exit codes of the uninstaller (documented in the README).
enum ExitCode {
  kExitRemoved = 0,           // everything the log lists is gone
  kExitLeftSomething = 1,     // something was left (the summary says why)
  kExitNothingInstalled = 2,  // no uninstall log, or one naming no usable install folder
  kExitNotStarted = 3,        // nothing removed: declined, the viewer stayed open, or
                              // setup or another uninstaller is running
  kExitRestartNeeded = 4,     // everything else is gone; files in use go at the next restart
};

enum class ItemState {
  Removed,
  WithUninstaller,  // goes when the uninstaller ends (its own file and folders)
  AtRestart,        // in use: scheduled for removal at the next restart
  Left,             // stays; `reason` says why
};

struct ReportItem {
  std::string path;
  ItemState state;
  int reason;  // string id (resource_ids.h); 0 for removed items
};

// At most this many notes are kept; the rest are counted.
constexpr std::size_t kNoteLimit = 40;

class Report {
 public:
  void Removed(const char* path) { Add(path, ItemState::Removed, 0); }
  void WithUninstaller(const char* path) { Add(path, ItemState::WithUninstaller, 0); }
  void AtRestart(const char* path) { Add(path, ItemState::AtRestart, 0); }
  void Left(const char* path, int reason) { Add(path, ItemState::Left, reason); }
  // A note about the log: string `note` with "%s" replaced by `subject`.
  void Note(int note, const char* subject);
  void NotFound() { ++not_found_; }
  // Moves every item of one state to another (the uninstaller's own file
  // goes at the next restart when its copy cannot take it away).
  void Restate(ItemState from, ItemState to);

  int ExitCode() const;
  // Headline string id for the summary.
  int Headline() const;
  // The summary's list: sections of removed, left and scheduled items and
  // notes, one item a line (CR LF), localized; at most `limit` bytes, the
  // rest counted in a last line.
  std::string ListText(std::size_t limit) const;

  const std::vector<ReportItem>& items() const { return items_; }
  const std::vector<std::string>& notes() const { return notes_; }
  int not_found() const { return not_found_; }
  // The state of an item by path (exact text), or nullptr.
  const ReportItem* Find(const std::string& path) const;

 private:
  void Add(const char* path, ItemState state, int reason);
  std::vector<ReportItem> items_;
  std::vector<std::string> notes_;
  int not_found_ = 0;
  int notes_dropped_ = 0;
};

}  // namespace uninstall

#endif
