// What a program leaves inside the prefix, read from inside it (with the
// same view of files and registry as a 32-bit program has): files and
// folders, profile (INI) values, registry values, short and long paths.
// Paths and texts are UTF-8.
#ifndef LUMAVIEW_E2E_FILES_H
#define LUMAVIEW_E2E_FILES_H

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
// The whole file; false when it cannot be read.
bool ReadBytes(const std::string& path, std::string* bytes);
bool WriteBytes(const std::string& path, const std::string& bytes);
// Creates PATH and every missing parent.
bool MakeDirectories(const std::string& path);
bool CopyOneFile(const std::string& from, const std::string& to);
// Copies the folder FROM with everything below it into TO (made as needed).
bool CopyTree(const std::string& from, const std::string& to);
// Names in a folder (no "." and ".."), sorted.
std::vector<std::string> ListFolder(const std::string& folder);

// The Windows folder, without a trailing backslash.
std::string WindowsFolder();
std::string ShortPath(const std::string& path);
std::string LongPath(const std::string& path);
// PATH with one trailing backslash.
std::string WithBackslash(const std::string& path);

// A value of a profile file; FILE without a folder is looked for in the
// Windows folder. Missing values read as kMissing.
extern const char kMissing[];
std::string ProfileText(const std::string& file, const std::string& section,
                        const std::string& key);

// A text value of the registry; kMissing when the key or value is missing
// or not a text.
std::string RegistryText(HKEY root, const std::string& key, const std::string& value);
bool RegistryKeyExists(HKEY root, const std::string& key);
bool SetRegistryText(HKEY root, const std::string& key, const std::string& value,
                     const std::string& text);

}  // namespace e2e

#endif
