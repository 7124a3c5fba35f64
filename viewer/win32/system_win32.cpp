// Folder listing (setup's directory walker), program folder and strings on
// Windows.
#include "win32/system_win32.h"

#include "common/paths.h"
#include "core/captions.h"
#include "viewer_ids.h"

namespace viewer::win32 {

std::vector<std::string> FilesOfFolder(const std::string& folder) {
  std::vector<std::string> names;
  setup::ForEachEntry(folder.c_str(), [&names](const setup::platform::FoundEntry& entry) {
    if ((entry.attributes & setup::platform::kDirectoryAttribute) == 0)
      names.emplace_back(entry.name);
  });
  return names;
}

std::string ProgramFolder() {
  char path[setup::platform::kPathLimit];
  std::size_t length = setup::platform::ModuleFileName(path, sizeof path);
  if (length == 0) return std::string();
  return FolderPart(std::string(path, length));
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return path;
  return std::string(full, length);
}

Strings::Strings(HINSTANCE instance) : instance_(instance), chinese_(GetACP() == 936) {}

int Strings::Id(int english_id) const {
  return chinese_ ? english_id + VIEWER_CHINESE_OFFSET : english_id;
}

std::string Strings::Text(int english_id) const {
  char text[1024];
  int length = LoadStringA(instance_, static_cast<UINT>(Id(english_id)), text, sizeof text);
  return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace viewer::win32
