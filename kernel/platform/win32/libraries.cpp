// Shared libraries on Win32: LoadLibraryA, GetProcAddress, FreeLibrary, and
// GetModuleHandleExA to find the module that holds an address.
#include "platform/libraries.h"

#include <windows.h>

namespace pixbase::platform {

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAbsolutePath(const char* name) {
  if (IsPathSeparator(name[0]) && IsPathSeparator(name[1])) return true;  // \\server\share
  char drive = name[0];
  bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
  return letter && name[1] == ':' && IsPathSeparator(name[2]);
}

void* LoadSharedLibrary(const char* name) { return LoadLibraryA(name); }

bool ReleaseSharedLibrary(void* handle) { return FreeLibrary(static_cast<HMODULE>(handle)) != 0; }

void* FindSharedLibrarySymbol(void* handle, const char* symbol) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), symbol));
}

bool LibraryHoldsAddress(void* handle, const void* address) {
  HMODULE owner = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &owner))
    return false;
  return owner == static_cast<HMODULE>(handle);
}

}  // namespace pixbase::platform
