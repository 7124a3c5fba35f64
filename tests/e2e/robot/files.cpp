// Files, folders, profile files and the registry, through the wide calls.
#include "files.h"

#include <algorithm>

#include "text.h"

namespace e2e {

const char kMissing[] = "<missing>";

bool Exists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ReadBytes(const std::string& path, std::string* bytes) {
  bytes->clear();
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[65536];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr) != 0) && read > 0)
    bytes->append(buffer, read);
  CloseHandle(file);
  return ok;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file =
      CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) != 0 &&
                              written == bytes.size());
  CloseHandle(file);
  return ok;
}

bool MakeDirectories(const std::string& path) {
  if (IsDirectory(path)) return true;
  std::string::size_type slash = path.find_last_of('\\');
  if (slash != std::string::npos && slash > 2 && !MakeDirectories(path.substr(0, slash)))
    return false;
  return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0 || IsDirectory(path);
}

bool CopyOneFile(const std::string& from, const std::string& to) {
  return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE) != 0;
}

bool CopyTree(const std::string& from, const std::string& to) {
  if (!IsDirectory(from) || !MakeDirectories(to)) return false;
  bool copied = true;
  for (const std::string& name : ListFolder(from)) {
    const std::string source = from + "\\" + name;
    const std::string target = to + "\\" + name;
    copied =
        (IsDirectory(source) ? CopyTree(source, target) : CopyOneFile(source, target)) && copied;
  }
  return copied;
}

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Utf8(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::string WindowsFolder() {
  wchar_t folder[MAX_PATH] = L"";
  GetWindowsDirectoryW(folder, MAX_PATH);
  return Utf8(folder);
}

std::string ShortPath(const std::string& path) {
  wchar_t result[MAX_PATH] = L"";
  DWORD size = GetShortPathNameW(Wide(path).c_str(), result, MAX_PATH);
  return size > 0 && size < MAX_PATH ? Utf8(result) : std::string();
}

std::string LongPath(const std::string& path) {
  wchar_t result[MAX_PATH] = L"";
  DWORD size = GetLongPathNameW(Wide(path).c_str(), result, MAX_PATH);
  return size > 0 && size < MAX_PATH ? Utf8(result) : std::string();
}

std::string WithBackslash(const std::string& path) {
  std::string result = path;
  while (!result.empty() && result.back() == '\\') result.pop_back();
  return result + "\\";
}

std::string ProfileText(const std::string& file, const std::string& section,
                        const std::string& key) {
  wchar_t value[2048];
  GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(kMissing).c_str(), value,
                           2048, Wide(file).c_str());
  return Utf8(value);
}

std::string RegistryText(HKEY root, const std::string& key, const std::string& value) {
  HKEY handle;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return kMissing;
  wchar_t data[2048] = L"";
  DWORD size = sizeof data - sizeof(wchar_t);
  DWORD type = 0;
  LONG status = RegQueryValueExW(handle, Wide(value).c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return kMissing;
  data[size / sizeof(wchar_t)] = L'\0';
  return Utf8(data);
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

bool SetRegistryText(HKEY root, const std::string& key, const std::string& value,
                     const std::string& text) {
  HKEY handle;
  if (RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    return false;
  std::wstring data = Wide(text);
  LONG status = RegSetValueExW(handle, Wide(value).c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

}  // namespace e2e
