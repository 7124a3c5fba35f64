// Simulated side of the shell and painting seams (platform/shell.h,
// platform/painting.h) over the simulated machine.
#include "platform/shell.h"

#include <sstream>
#include <string>

#include "platform/painting.h"
#include "platform/simulated/machine.h"
#include "platform/simulated/shell_state.h"

namespace setup::simulated {

namespace {
ShellState the_shell;

struct LinkObject {
  SavedLink link;
};
std::map<platform::ShellLink, LinkObject> link_objects;
platform::ShellLink next_link = 0x7000;

// The value posted with IDABORT for each chooser dialog.
std::map<platform::Window, std::intptr_t> abort_values;
platform::DialogProcedure chooser_hook = nullptr;

void Note(const std::string& line) { TheMachine().journal.push_back(line); }
}  // namespace

ShellState& TheShell() { return the_shell; }

void ResetShell() {
  the_shell = ShellState();
  link_objects.clear();
  abort_values.clear();
  chooser_hook = nullptr;
}

void MakeReadOnly(const std::string& path) {
  std::string key = Canonical(path);
  auto it = TheMachine().nodes.find(key);
  if (it == TheMachine().nodes.end()) return;
  it->second.locked = true;
  the_shell.read_only.insert(key);
}

SavedLink LinkAt(const std::string& path) {
  SavedLink link;
  if (!Exists(path)) return link;
  std::vector<std::uint8_t> bytes = Bytes(path);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  if (!std::getline(in, line) || line != "ShellLink") return link;
  link.valid = true;
  while (std::getline(in, line)) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string key = line.substr(0, equals);
    std::string value = line.substr(equals + 1);
    if (key == "Target") link.target = value;
    if (key == "Arguments") link.arguments = value;
    if (key == "Icon") link.icon_file = value;
    if (key == "IconIndex") link.icon_index = std::stoi(value);
    if (key == "Description") link.description = value;
  }
  return link;
}

}  // namespace setup::simulated

namespace setup::platform {

using simulated::TheShell;

// --- Shell links -------------------------------------------------------------

ShellLink CreateShellLinkObject() {
  if (TheShell().link_objects_fail) return 0;
  ShellLink link = simulated::next_link++;
  simulated::link_objects[link] = simulated::LinkObject{};
  ++TheShell().live_link_objects;
  return link;
}

void SetShellLinkPath(ShellLink link, const char* target) {
  simulated::link_objects.at(link).link.target = target;
}

void SetShellLinkArguments(ShellLink link, const char* arguments) {
  simulated::link_objects.at(link).link.arguments = arguments;
}

void SetShellLinkIcon(ShellLink link, const char* icon_file, int icon_index) {
  simulated::link_objects.at(link).link.icon_file = icon_file;
  simulated::link_objects.at(link).link.icon_index = icon_index;
}

void SetShellLinkDescription(ShellLink link, const char* description) {
  simulated::link_objects.at(link).link.description = description;
}

bool SaveShellLink(ShellLink link, const char* path) {
  if (TheShell().persist_fails) return false;
  // The wide form holds at most 260 characters with its terminating zero.
  if (std::string(path).size() >= kPathLimit) return false;
  const simulated::SavedLink& saved = simulated::link_objects.at(link).link;
  std::string text = "ShellLink\nTarget=" + saved.target + "\nArguments=" + saved.arguments +
                     "\nIcon=" + saved.icon_file +
                     "\nIconIndex=" + std::to_string(saved.icon_index) +
                     "\nDescription=" + saved.description + "\n";
  File file = CreateFileForWriting(path);
  if (file == 0) return false;
  long written = WriteToFile(file, text.data(), text.size());
  CloseFile(file);
  simulated::Note(std::string("link ") + path);
  return written == static_cast<long>(text.size());
}

void ReleaseShellLinkObject(ShellLink link) {
  if (simulated::link_objects.erase(link) > 0) --TheShell().live_link_objects;
}

// --- Removing ------------------------------------------------------------------

bool SetNormalAttributes(const char* path) {
  std::string key = simulated::Canonical(path);
  auto& nodes = simulated::TheMachine().nodes;
  auto it = nodes.find(key);
  if (it == nodes.end()) return false;
  if (TheShell().read_only.erase(key) > 0) it->second.locked = false;
  return true;
}

bool RemoveDirectoryAt(const char* path) {
  std::string key = simulated::Canonical(path);
  auto& nodes = simulated::TheMachine().nodes;
  auto it = nodes.find(key);
  // A locked directory is some process's current folder: it stays.
  if (it == nodes.end() || !it->second.directory || it->second.locked) return false;
  std::string prefix = key + "\\";
  for (const auto& entry : nodes)
    if (entry.first.compare(0, prefix.size(), prefix) == 0) return false;  // not empty
  for (const auto& profile : simulated::TheMachine().profiles)
    if (profile.first.compare(0, prefix.size(), prefix) == 0) return false;
  nodes.erase(it);
  simulated::Note(std::string("remove directory ") + path);
  return true;
}

// --- Directory chooser ------------------------------------------------------------

namespace {

// The classic dialog around the hook: what the hook leaves unhandled gets
// the common dialog's own handling.
bool ChooserDialog(Window dialog, DialogEvent event, int value) {
  bool handled = simulated::chooser_hook(dialog, event, value);
  if (handled) return true;
  if (event == DialogEvent::Command && value == 2) {
    EndDialogWith(dialog, 0);
  } else if (event == DialogEvent::Command && value == 3) {
    auto posted = simulated::abort_values.find(dialog);
    EndDialogWith(dialog,
                  posted == simulated::abort_values.end() ? 0 : static_cast<int>(posted->second));
  } else if (event == DialogEvent::Close) {
    EndDialogWith(dialog, 0);
  }
  return true;
}

}  // namespace

bool RunDirectoryChooser(Window owner, int template_id, const char* title, DialogProcedure hook) {
  TheShell().chooser_titles.push_back(title);
  DialogProcedure previous = simulated::chooser_hook;
  simulated::chooser_hook = hook;
  int result = RunDialog(template_id, ChooserDialog, owner);
  simulated::chooser_hook = previous;
  return result > 0;
}

void PostCommandWithValue(Window dialog, int command, std::intptr_t value) {
  if (command == 3) simulated::abort_values[dialog] = value;
  PostCommand(dialog, command);
}

// --- Painting --------------------------------------------------------------------

Canvas BeginPainting(Window window) {
  ++TheShell().paints_begun;
  return window;
}

void EndPainting(Window, Canvas) { ++TheShell().paints_ended; }

Rect ClientRectangle(Window) { return TheShell().client; }

void FillWithColour(Canvas, const Rect& area, std::uint8_t red, std::uint8_t green,
                    std::uint8_t blue) {
  TheShell().fills.push_back(
      {area, (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue});
}

long BitmapWidth(Graphic bitmap) { return bitmap == 0 ? 0 : TheShell().bitmap_width; }

void PaintBitmapInk(Canvas, Graphic bitmap, long x, long y, std::uint8_t red, std::uint8_t green,
                    std::uint8_t blue) {
  TheShell().inks.push_back(
      {bitmap, x, y, (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue});
}

void StretchBitmapOverWindow(Window, Graphic bitmap) { TheShell().slides_drawn.push_back(bitmap); }

}  // namespace setup::platform
