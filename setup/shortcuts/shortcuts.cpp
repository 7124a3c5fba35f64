// Program group, links, internet shortcut and Quick Launch link (see
// shortcuts.h). Divisions: item sets, parsing, folders, links,
// the group, removal of the old group, Quick Launch.
#include "shortcuts/shortcuts.h"

#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/state.h"
#include "common/text.h"
#include "log/settings_log.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "resources/resource_ids.h"

namespace setup {

namespace {
constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kMapGroupsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";
constexpr char kHelpFile[] = "Widelens.CHM";
constexpr std::size_t kFolderSize = 512;
}  // namespace

// --- Item sets -----------------------------------------------------------------
// The Chinese texts are in the ANSI code page 936 (GBK), the code page the
// Chinese set is used under: "宽镜", "卸载宽镜", "宽镜帮助文档".

const ItemFormat kEnglishItems[kItemsWithHelp] = {
    {"%sLumaview.EXE", "", "Corvane Widelens", "%sLumaview.EXE", 0},
    {"%sUNINST32.EXE", "", "Remove Widelens", "%sUNINST32.EXE", 0},
    {"HH.EXE", "%sWidelens.CHM", "Help Documentation", "HH.EXE", 0},
};

const ItemFormat kChineseItems[kItemsWithHelp] = {
    {"%sLumaview.EXE", "", "\xBF\xED\xBE\xB5", "%sLumaview.EXE", 0},
    {"%sUNINST32.EXE", "", "\xD0\xB6\xD4\xD8\xBF\xED\xBE\xB5", "%sUNINST32.EXE", 0},
    {"HH.EXE", "%sWidelens.CHM", "\xBF\xED\xBE\xB5\xB0\xEF\xD6\xFA\xCE\xC4\xB5\xB5", "HH.EXE", 0},
};

const char kMakerWebAddress[] = "http://www.corvane.example.com/";
const char kInternetShortcutNameEnglish[] = "Welcome to www.corvane.example.com.URL";
// "欢迎访问" followed by the host name.
const char kInternetShortcutNameChinese[] =
    "\xBB\xB6\xD3\xAD\xB7\xC3\xCE\xCA"
    "www.corvane.example.com.URL";

// --- Parsing -------------------------------------------------------------------

namespace {

// Copies the text up to `stop` (or its end) into `field`, cut to its size;
// returns where the rest starts (after the stop character, or at the end).
const char* TakeField(const char* text, char stop, char* field, std::size_t size) {
  std::size_t length = 0;
  while (*text != '\0' && *text != stop) {
    if (length + 1 < size) field[length++] = *text;
    ++text;
  }
  field[length] = '\0';
  return *text == stop ? text + 1 : text;
}

}  // namespace

void SplitItemSpec(const char* item_spec, GroupItem* item) {
  char command[kItemFieldSize];
  char index[kItemFieldSize];
  const char* rest = TakeField(item_spec, ',', command, sizeof command);
  rest = TakeField(rest, ',', item->description, sizeof item->description);
  rest = TakeField(rest, ',', item->icon_file, sizeof item->icon_file);
  TakeField(rest, ',', index, sizeof index);
  const char* arguments = TakeField(command, ' ', item->target, sizeof item->target);
  CopyText(item->arguments, sizeof item->arguments, arguments);
  item->icon_index = ParseInteger(index);
}

// --- Folders ---------------------------------------------------------

namespace {

void ReadProgramsFolder(platform::RegistryRoot root, const char* value, const char* fallback,
                        char* buffer, std::size_t size) {
  if (size == 0) return;
  buffer[0] = '\0';
  platform::RegistryKey key = platform::OpenRegistryKey(root, kShellFoldersKey);
  if (key != 0) {
    std::size_t length = platform::ReadRegistryText(key, value, buffer, size);
    platform::CloseRegistryKey(key);
    if (length > 0) return;
  }
  buffer[0] = '\0';
  if (platform::WindowsDirectory(buffer, size) == 0) {
    buffer[0] = '\0';
    return;
  }
  // A root such as "C:\" keeps its backslash; the fallback starts with one.
  if (EndsWithBackslash(buffer)) CutAtLastBackslash(buffer, false);
  AppendText(buffer, size, fallback);
}

}  // namespace

void GetProgramsFolder(char* buffer, std::size_t size) {
  ReadProgramsFolder(platform::RegistryRoot::CurrentUser, "Programs", "\\Start Menu\\Programs",
                     buffer, size);
}

void GetCommonProgramsFolder(char* buffer, std::size_t size) {
  ReadProgramsFolder(platform::RegistryRoot::LocalMachine, "Common Programs",
                     "\\Profiles\\All Users\\Start Menu\\Programs", buffer, size);
}

// --- Links -----------------------------------------------------------------------

bool CreateShellLink(const char* target, const char* arguments, const char* icon_file,
                     int icon_index, const char* link_path, const char* description) {
  platform::ShellLink link = platform::CreateShellLinkObject();
  if (link == 0) return false;
  platform::SetShellLinkPath(link, target);
  platform::SetShellLinkArguments(link, arguments);
  platform::SetShellLinkIcon(link, icon_file, icon_index);
  platform::SetShellLinkDescription(link, description);
  bool saved = platform::SaveShellLink(link, link_path);
  platform::ReleaseShellLinkObject(link);
  // A save that failed half way leaves no broken link behind.
  if (!saved) platform::DeleteFileAt(link_path);
  return saved;
}

void CreateGroupLink(const char* group_folder, const GroupItem& item) {
  char link_path[platform::kPathLimit];
  CopyText(link_path, sizeof link_path, group_folder);
  AppendText(link_path, sizeof link_path, item.description);
  std::size_t wanted = std::strlen(group_folder) + std::strlen(item.description) + 4;
  // A link path the system cannot hold is refused rather than cut into
  // another name.
  if (AppendText(link_path, sizeof link_path, ".lnk") != wanted) return;
  // Logged once it is on disk: the uninstall log names nothing that is not.
  if (CreateShellLink(item.target, item.arguments, item.icon_file, item.icon_index, link_path,
                      item.description))
    LogInstalledFile(link_path);
}

void CreateGroupItem(const char* group_folder, const char* item_spec) {
  GroupItem item;
  SplitItemSpec(item_spec, &item);
  CreateGroupLink(group_folder, item);
}

namespace {

// One field formatted with the root; false when it does not fit.
bool FormatField(char* field, std::size_t size, const char* format, const char* root) {
  char text[2 * kFolderSize];
  FormatWithText(text, sizeof text, format, root);
  std::size_t length = std::strlen(text);
  if (length + 1 >= sizeof text || length + 1 > size) return false;
  CopyText(field, size, text);
  return true;
}

}  // namespace

bool FormatGroupItem(const ItemFormat& format, const char* root, GroupItem* item) {
  char arguments[kArgumentsSize];
  if (!FormatField(item->target, sizeof item->target, format.target, root) ||
      !FormatField(arguments, sizeof arguments, format.arguments, root) ||
      !FormatField(item->description, sizeof item->description, format.description, root) ||
      !FormatField(item->icon_file, sizeof item->icon_file, format.icon_file, root))
    return false;
  item->arguments[0] = '\0';
  if (std::strchr(arguments, ' ') != nullptr) {
    // One argument: the program sees the whole path, spaces and all.
    if (std::strlen(arguments) + 3 > sizeof item->arguments) return false;
    AppendText(item->arguments, sizeof item->arguments, "\"");
    AppendText(item->arguments, sizeof item->arguments, arguments);
    AppendText(item->arguments, sizeof item->arguments, "\"");
  } else {
    CopyText(item->arguments, sizeof item->arguments, arguments);
  }
  item->icon_index = format.icon_index;
  return true;
}

// --- The group -------------------------------------------------------------------

void CreateProgramGroup(const char* group_folder, int item_count, const ItemFormat* chinese_items,
                        const ItemFormat* english_items) {
  SetupState& state = TheSetup;
  platform::MakeDirectory(group_folder);
  if (DirectoryExists(group_folder)) LogInstalledDirectory(group_folder);
  char folder[kFolderSize];
  CopyText(folder, sizeof folder, group_folder);
  AppendText(folder, sizeof folder, "\\");
  const ItemFormat* items = state.ChineseUi ? chinese_items : english_items;
  for (int i = 0; i < item_count; ++i) {
    char short_root[kFolderSize];
    if (platform::ShortPathName(state.InstallRoot, short_root, sizeof short_root) == 0)
      CopyText(short_root, sizeof short_root, state.InstallRoot);
    EnsureTrailingBackslash(short_root, sizeof short_root);
    GroupItem item;
    if (FormatGroupItem(items[i], short_root, &item)) CreateGroupLink(folder, item);
  }
}

void WriteInternetShortcut(const char* group_folder) {
  char path[platform::kPathLimit];
  CopyText(path, sizeof path, group_folder);
  AppendText(path, sizeof path, "\\");
  const char* name =
      TheSetup.ChineseUi ? kInternetShortcutNameChinese : kInternetShortcutNameEnglish;
  if (AppendText(path, sizeof path, name) != std::strlen(group_folder) + 1 + std::strlen(name))
    return;
  platform::File file = platform::CreateFileForWriting(path);
  if (file == 0) return;
  char content[128];
  CopyText(content, sizeof content, "[InternetShortcut]\r\nURL=");
  AppendText(content, sizeof content, kMakerWebAddress);
  AppendText(content, sizeof content, "\r\n");
  long written = platform::WriteToFile(file, content, std::strlen(content));
  platform::CloseFile(file);
  // A shortcut written only in part is removed, not logged.
  if (written != static_cast<long>(std::strlen(content))) {
    platform::DeleteFileAt(path);
    return;
  }
  LogInstalledFile(path);
}

void BuildProgramGroup() {
  SetupState& state = TheSetup;
  char group_name[128];
  platform::LoadText(ByLanguage(IDS_GROUP_NAME_EN, IDS_GROUP_NAME_ZH), group_name,
                     sizeof group_name);
  platform::WriteProfileText(kSettingsFile, kInstallSection, "GROUP", group_name);
  char folder[kFolderSize];
  if (state.IsNtPlatform)
    GetCommonProgramsFolder(folder, sizeof folder);
  else
    GetProgramsFolder(folder, sizeof folder);
  if (folder[0] == '\0') return;
  EnsureTrailingBackslash(folder, sizeof folder);
  AppendText(folder, sizeof folder, group_name);
  char help[kFolderSize];
  CopyText(help, sizeof help, state.InstallRoot);
  AppendText(help, sizeof help, kHelpFile);
  int item_count = PathExists(help) ? kItemsWithHelp : kItemsWithoutHelp;
  CreateProgramGroup(folder, item_count, kChineseItems, kEnglishItems);
  WriteInternetShortcut(folder);
}

// --- Removal of the old group -------------------------------------------------

int GroupNameIsSafe(const char* name) {
  if (name[0] == '\0' || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return 0;
  // Character by character: under a double-byte code page a second byte may
  // be 0x5C or '|', which separate or match nothing there.
  const char* last = name;
  for (const char* p = name; *p != '\0'; p = platform::NextCharacter(p)) {
    last = p;
    if (platform::NextCharacter(p) != p + 1) continue;
    // A separator names another place; the system takes '*' and '?' as
    // wildcards and refuses the others in names.
    if (std::strchr("\\/:*?\"<>|", *p) != nullptr) return 0;
    if (static_cast<unsigned char>(*p) < 0x20) return 0;
  }
  // The system drops trailing dots and spaces from a name ("..." would name
  // the Programs folder itself): such a name does not name the entry it
  // spells.
  bool single = platform::NextCharacter(last) == last + 1;
  return single && (*last == '.' || *last == ' ') ? 0 : 1;
}

void RemoveOldGroup() {
  char group_name[80];
  platform::ReadProfileText(kSettingsFile, kInstallSection, "GROUP", "", group_name,
                            sizeof group_name);
  // The settings file is not trusted to name what may be deleted: only a
  // direct child of the Programs folder is.
  if (!GroupNameIsSafe(group_name)) return;
  // As large as the one the group was made in: a Programs folder that would
  // not fit would otherwise be looked for in the fallback folder.
  char folder[kFolderSize];
  if (TheSetup.IsNtPlatform)
    GetCommonProgramsFolder(folder, sizeof folder);
  else
    GetProgramsFolder(folder, sizeof folder);
  if (folder[0] == '\0') return;
  EnsureTrailingBackslash(folder, sizeof folder);
  char path[kFolderSize];
  CopyText(path, sizeof path, folder);
  if (AppendText(path, sizeof path, group_name) != std::strlen(folder) + std::strlen(group_name))
    return;
  DeleteTree(path);
}

// --- Quick Launch ---------------------------------------------------------------

std::size_t GetQuickLaunchFolder(char* buffer, std::size_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  platform::RegistryKey key =
      platform::OpenRegistryKey(platform::RegistryRoot::CurrentUser, kMapGroupsKey);
  if (key == 0) return 0;
  std::size_t length = platform::ReadRegistryText(key, "Quick Launch", buffer, size);
  platform::CloseRegistryKey(key);
  if (length == 0) buffer[0] = '\0';
  return length;
}

void CreateQuickLaunchLink() {
  char link_path[256];
  if (GetQuickLaunchFolder(link_path, sizeof link_path) == 0) return;
  EnsureTrailingBackslash(link_path, sizeof link_path);
  char link_name[64];
  platform::LoadText(ByLanguage(IDS_QUICK_LAUNCH_LINK_EN, IDS_QUICK_LAUNCH_LINK_ZH), link_name,
                     sizeof link_name);
  std::size_t folder_length = std::strlen(link_path);
  if (AppendText(link_path, sizeof link_path, link_name) != folder_length + std::strlen(link_name))
    return;

  char target[256];
  platform::ReadProfileText(kSettingsFile, kInstallSection, "INSTALLPATH", "", target,
                            sizeof target);
  EnsureTrailingBackslash(target, sizeof target);
  std::size_t root_length = std::strlen(target);
  if (AppendText(target, sizeof target, "LUMAVIEW.EXE") != root_length + 12) return;
  // The only record of the link, made once the link is on disk.
  if (!CreateShellLink(target, "", target, 0, link_path, "LUMAVIEW")) return;
  char short_link[128];
  if (platform::ShortPathName(link_path, short_link, sizeof short_link) == 0)
    CopyText(short_link, sizeof short_link, link_path);
  platform::WriteProfileText(kSettingsFile, kUninstallSection, "FASTLINK", short_link);
}

}  // namespace setup
