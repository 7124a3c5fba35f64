// The run's report and its summary text (see report.h).
#include "core/report.h"

#include "common/text.h"
#include "core/state.h"
#include "resources/uninstall_ids.h"

namespace uninstall {

void Report::Add(const char* path, ItemState state, int reason) {
  items_.push_back(ReportItem{path, state, reason});
}

void Report::Restate(ItemState from, ItemState to) {
  for (ReportItem& item : items_) {
    if (item.state == from) item.state = to;
  }
}

void Report::Note(int note, const char* subject) {
  if (notes_.size() >= kNoteLimit) {
    ++notes_dropped_;
    return;
  }
  char text[1024];
  setup::FormatWithText(text, sizeof text, UiText(note).c_str(), subject);
  notes_.push_back(text);
}

const ReportItem* Report::Find(const std::string& path) const {
  for (const ReportItem& item : items_) {
    if (item.path == path) return &item;
  }
  return nullptr;
}

int Report::ExitCode() const {
  bool restart = false;
  for (const ReportItem& item : items_) {
    if (item.state == ItemState::Left) return kExitLeftSomething;
    if (item.state == ItemState::AtRestart) restart = true;
  }
  return restart ? kExitRestartNeeded : kExitRemoved;
}

int Report::Headline() const {
  switch (ExitCode()) {
    case kExitLeftSomething:
      return IDS_DONE_PARTLY;
    case kExitRestartNeeded:
      return IDS_DONE_RESTART;
    default:
      return IDS_DONE;
  }
}

std::string Report::ListText(std::size_t limit) const {
  std::vector<std::string> lines;
  struct Section {
    int heading;
    ItemState state;
  };
  const Section sections[] = {{IDS_HEAD_LEFT, ItemState::Left},
                              {IDS_HEAD_RESTART, ItemState::AtRestart},
                              {IDS_HEAD_REMOVED, ItemState::Removed}};
  for (const Section& section : sections) {
    bool any = false;
    for (const ReportItem& item : items_) {
      // What goes with the uninstaller is listed with what was removed.
      bool belongs = item.state == section.state || (section.state == ItemState::Removed &&
                                                     item.state == ItemState::WithUninstaller);
      if (!belongs) continue;
      if (!any) {
        if (!lines.empty()) lines.emplace_back();
        lines.push_back(UiText(section.heading));
        any = true;
      }
      std::string line = "  " + item.path;
      if (item.state == ItemState::Left) line += ": " + UiText(item.reason);
      if (item.state == ItemState::WithUninstaller) line += ": " + UiText(IDS_WHY_WITH_UNINSTALLER);
      lines.push_back(line);
    }
  }
  if (!notes_.empty() || not_found_ > 0) {  // notes_dropped_ implies notes
    if (!lines.empty()) lines.emplace_back();
    lines.push_back(UiText(IDS_HEAD_NOTES));
    for (const std::string& note : notes_) lines.push_back("  " + note);
    if (notes_dropped_ > 0) {
      char text[512];
      setup::FormatWithText(text, sizeof text, UiText(IDS_NOTE_MORE).c_str(),
                            std::to_string(notes_dropped_).c_str());
      lines.push_back(std::string("  ") + text);
    }
    if (not_found_ > 0) {
      char text[512];
      setup::FormatWithText(text, sizeof text, UiText(IDS_NOTE_NOT_FOUND).c_str(),
                            std::to_string(not_found_).c_str());
      lines.push_back(std::string("  ") + text);
    }
  }
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string more;
    if (i + 1 < lines.size()) {
      char buffer[256];
      setup::FormatWithText(buffer, sizeof buffer, UiText(IDS_NOTE_MORE).c_str(),
                            std::to_string(lines.size() - i).c_str());
      more = buffer;
    }
    if (text.size() + lines[i].size() + 2 + more.size() + 2 > limit) {
      text += more + "\r\n";
      break;
    }
    text += lines[i] + "\r\n";
  }
  return text;
}

}  // namespace uninstall
