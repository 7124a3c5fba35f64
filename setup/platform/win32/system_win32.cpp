// The platform seam on Windows: process, system, text in the ANSI code page,
// profile files, files and directories, registry.
#include <windows.h>

#include <cstring>

#include "platform/platform.h"

namespace setup::platform {
namespace {

// Lengths the system reports: a result that did not fit counts as failure.
std::size_t Fitting(DWORD length, std::size_t size) {
  return length == 0 || length >= size ? 0 : length;
}

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

constexpr DWORD kEventAllAccess = 0x1F0003;
constexpr REGSAM kReadWrite = 0x2001F;  // KEY_READ | KEY_WRITE

}  // namespace

// --- Process and system --------------------------------------------------------
bool NamedEventExists(const char* name) {
  HANDLE event = OpenEventA(kEventAllAccess, FALSE, name);
  if (event == nullptr) return false;
  CloseHandle(event);
  return true;
}

Event CreateNamedEvent(const char* name) {
  return reinterpret_cast<Event>(CreateEventA(nullptr, FALSE, FALSE, name));
}

void CloseNamedEvent(Event event) {
  if (event != 0) CloseHandle(reinterpret_cast<HANDLE>(event));
}

bool NtFamily() { return (GetVersion() & 0x80000000u) == 0; }
unsigned AnsiCodePage() { return GetACP(); }
void StartCom() { CoInitialize(nullptr); }
void StopCom() { CoUninitialize(); }

std::size_t ModuleFileName(char* buffer, std::size_t size) {
  return Fitting(GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size)), size);
}

std::size_t WindowsDirectory(char* buffer, std::size_t size) {
  return Fitting(GetWindowsDirectoryA(buffer, static_cast<UINT>(size)), size);
}

void* AllocateZeroed(std::size_t size) { return LocalAlloc(LPTR, size); }
void ReleaseBlock(void* block) { LocalFree(block); }
std::uint32_t Milliseconds() { return timeGetTime(); }

// --- Text in the ANSI code page --------------------------------------------------
bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE; }

const char* NextCharacter(const char* text) { return CharNextA(text); }

const char* PreviousCharacter(const char* start, const char* current) {
  if (current <= start) return start;
  return CharPrevA(start, current);
}

// --- Profiles --------------------------------------------------------------------
std::size_t ReadProfileText(const char* file, const char* section, const char* key,
                            const char* fallback, char* buffer, std::size_t size) {
  return GetPrivateProfileStringA(section, key, fallback, buffer, static_cast<DWORD>(size), file);
}

int ReadProfileInteger(const char* file, const char* section, const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file));
}

bool WriteProfileText(const char* file, const char* section, const char* key, const char* value) {
  return WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

// --- Files and directories ----------------------------------------------------------
bool EnterDirectory(const char* path) { return SetCurrentDirectoryA(path) != FALSE; }
bool MakeDirectory(const char* path) { return CreateDirectoryA(path, nullptr) != FALSE; }

std::size_t CurrentDirectory(char* buffer, std::size_t size) {
  return Fitting(GetCurrentDirectoryA(static_cast<DWORD>(size), buffer), size);
}

File CreateFileForWriting(const char* path) {
  HFILE file = _lcreat(path, 0);
  return file == HFILE_ERROR ? 0 : static_cast<File>(file);
}

File CreateNewFile(const char* path) {
  // The handle serves the _lwrite/_lclose family like one of _lcreat.
  HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<File>(file);
}

File OpenFileForReading(const char* path) {
  HFILE file = _lopen(path, OF_READ);
  return file == HFILE_ERROR ? 0 : static_cast<File>(file);
}

long ReadFromFile(File file, void* buffer, std::size_t count) {
  UINT read = _lread(static_cast<HFILE>(file), buffer, static_cast<UINT>(count));
  return read == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(read);
}

long WriteToFile(File file, const void* buffer, std::size_t count) {
  UINT written =
      _lwrite(static_cast<HFILE>(file), static_cast<LPCCH>(buffer), static_cast<UINT>(count));
  return written == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(written);
}

void CloseFile(File file) { _lclose(static_cast<HFILE>(file)); }
bool DeleteFileAt(const char* path) { return DeleteFileA(path) != FALSE; }

std::size_t ShortPathName(const char* path, char* buffer, std::size_t size) {
  return Fitting(GetShortPathNameA(path, buffer, static_cast<DWORD>(size)), size);
}

bool FreeBytesOnVolume(const char* root, std::uint64_t* bytes) {
  DWORD sectors_per_cluster, bytes_per_sector, free_clusters, clusters;
  if (!GetDiskFreeSpaceA(root, &sectors_per_cluster, &bytes_per_sector, &free_clusters, &clusters))
    return false;
  *bytes = static_cast<std::uint64_t>(free_clusters) * sectors_per_cluster * bytes_per_sector;
  return true;
}

namespace {
void Convert(const WIN32_FIND_DATAA& data, FoundEntry* entry) {
  std::memset(entry, 0, sizeof *entry);
  std::memcpy(entry->name, data.cFileName, sizeof entry->name - 1);
  entry->attributes = data.dwFileAttributes;
  entry->size_low = data.nFileSizeLow;
}
}  // namespace

Search FindFirstEntry(const char* pattern, FoundEntry* entry) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  Convert(data, entry);
  return reinterpret_cast<Search>(search);
}

bool FindNextEntry(Search search, FoundEntry* entry) {
  WIN32_FIND_DATAA data;
  if (!FindNextFileA(reinterpret_cast<HANDLE>(search), &data)) return false;
  Convert(data, entry);
  return true;
}

void EndSearch(Search search) { FindClose(reinterpret_cast<HANDLE>(search)); }

// --- Registry ---------------------------------------------------------------------
RegistryKey OpenRegistryKey(RegistryRoot root, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(RootKey(root), path, 0, kReadWrite, &key) != ERROR_SUCCESS) return 0;
  return reinterpret_cast<RegistryKey>(key);
}

RegistryKey CreateRegistrySubkey(RegistryKey parent, const char* name) {
  HKEY key;
  if (RegCreateKeyA(reinterpret_cast<HKEY>(parent), name, &key) != ERROR_SUCCESS) return 0;
  return reinterpret_cast<RegistryKey>(key);
}

bool SetRegistryText(RegistryKey key, const char* name, const char* text, std::size_t length) {
  return RegSetValueExA(reinterpret_cast<HKEY>(key), name, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(length)) == ERROR_SUCCESS;
}

std::size_t ReadRegistryText(RegistryKey key, const char* name, char* buffer, std::size_t size) {
  if (size == 0) return 0;
  DWORD type = 0;
  DWORD length = static_cast<DWORD>(size - 1);
  if (RegQueryValueExA(reinterpret_cast<HKEY>(key), name, nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer), &length) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    buffer[0] = '\0';
    return 0;
  }
  buffer[length] = '\0';
  return std::strlen(buffer);
}

void CloseRegistryKey(RegistryKey key) { RegCloseKey(reinterpret_cast<HKEY>(key)); }

}  // namespace setup::platform
