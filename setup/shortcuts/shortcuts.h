// The program group, its links and internet shortcut, and the Quick Launch
// link.
//
// After the copy the driver removes the group an earlier installation left
// (RemoveOldGroup); the group creation wait dialog builds the new one
// (BuildProgramGroup); after the finish dialog the driver puts a viewer link
// into the Quick Launch folder (CreateQuickLaunchLink). Every link of the
// group and the internet shortcut enter the uninstall log; the Quick Launch
// link is recorded only as [UNINSTALL] FASTLINK.
//
// Divisions of shortcuts.cpp: item sets, folders and paths, links, the
// group, removal of the old group, Quick Launch.
#ifndef LUMAVIEW_SETUP_SHORTCUTS_H
#define LUMAVIEW_SETUP_SHORTCUTS_H

#include <cstddef>

namespace setup {

// One group item as its fields, each a format text whose "%s" receives the
// short form of InstallRoot (with its trailing backslash). The fields stay
// apart: on a volume without short names that form is the long path, and a
// path may hold spaces and commas, which a joined "command,description,..."
// text could not carry.
struct ItemFormat {
  const char* target;
  const char* arguments;  // a path, quoted when it holds a space
  const char* description;
  const char* icon_file;
  int icon_index;
};
constexpr int kItemsWithHelp = 3;
constexpr int kItemsWithoutHelp = 2;  // the first two items of a set
extern const ItemFormat kEnglishItems[kItemsWithHelp];
extern const ItemFormat kChineseItems[kItemsWithHelp];

// The maker's web site, the content of the internet shortcut.
extern const char kMakerWebAddress[];
// File names of the internet shortcut in the group folder (ANSI code page
// 936 for the Chinese one). A file name cannot hold the address's scheme and
// slashes, so the names carry the site's host name.
extern const char kInternetShortcutNameEnglish[];
extern const char kInternetShortcutNameChinese[];

// Each field of an ItemSpec holds at most 255 characters, the arguments at
// most 127.
constexpr std::size_t kItemFieldSize = 256;
constexpr std::size_t kArgumentsSize = 128;

// An ItemSpec taken apart.
struct GroupItem {
  char target[kItemFieldSize];
  char arguments[kArgumentsSize];
  char description[kItemFieldSize];
  char icon_file[kItemFieldSize];
  int icon_index;
};
// Splits "command,description,icon file,icon index"; the command is split
// at its first space into target and arguments. Overlong fields are cut.
void SplitItemSpec(const char* item_spec, GroupItem* item);

// The per-user and the all-users Programs folders from the registry, or
// their places under the Windows directory when the key or value is missing
// (or the key cannot be opened for writing).
void GetProgramsFolder(char* buffer, std::size_t size);
void GetCommonProgramsFolder(char* buffer, std::size_t size);
// The Quick Launch folder the registry names (MapGroups "Quick Launch");
// its length, 0 (and an empty buffer) when there is none or it does not fit.
std::size_t GetQuickLaunchFolder(char* buffer, std::size_t size);

// Writes one shell link file; false (and no file) when the link object
// cannot be made or saved.
bool CreateShellLink(const char* target, const char* arguments, const char* icon_file,
                     int icon_index, const char* link_path, const char* description);
// Creates one link of the group and, once it is saved, logs it.
// `group_folder` ends with a backslash.
void CreateGroupLink(const char* group_folder, const GroupItem& item);
// The same for an ItemSpec, split with SplitItemSpec.
void CreateGroupItem(const char* group_folder, const char* item_spec);
// The fields of an item with `root` in place of "%s"; false when one would
// not fit its field (the item is then left out rather than cut into
// another name).
bool FormatGroupItem(const ItemFormat& format, const char* root, GroupItem* item);
// Creates the group folder and the first `item_count` items of the set that
// ChineseUi chooses.
void CreateProgramGroup(const char* group_folder, int item_count, const ItemFormat* chinese_items,
                        const ItemFormat* english_items);
void WriteInternetShortcut(const char* group_folder);
// Records the group's name, then makes the group with its links and the
// internet shortcut in the Programs folder.
void BuildProgramGroup();

// 1 when a recorded group name names a direct child of the Programs folder:
// not empty, not "." or "..", without '\', '/' or ':', and spelling the
// entry it names (no wildcard, no character the system refuses in names, no
// trailing dot or space, which the system would drop).
int GroupNameIsSafe(const char* name);
// Deletes the group recorded as [INSTALL] GROUP by an earlier installation.
void RemoveOldGroup();

// Puts a viewer link into the Quick Launch folder that the registry names
// and, once it is saved, records it as [UNINSTALL] FASTLINK.
void CreateQuickLaunchLink();

}  // namespace setup

#endif
