// Shared libraries at run time: loading by path or name, finding an exported
// symbol, releasing, and telling which library holds a code address.
#ifndef PIXBASE_PLATFORM_LIBRARIES_H
#define PIXBASE_PLATFORM_LIBRARIES_H

namespace pixbase::platform {

// The separator put between a directory and a file name.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif
// True for a character that separates path components ('\' and '/' on Win32).
bool IsPathSeparator(char c);
// True for a name that does not depend on a current directory: "C:\..." or
// "\\server\..." on Win32, "/..." natively.
bool IsAbsolutePath(const char* name);

// Null when the library cannot be loaded; the reason is the last error.
void* LoadSharedLibrary(const char* name);
// True when the platform released the library.
bool ReleaseSharedLibrary(void* handle);
void* FindSharedLibrarySymbol(void* handle, const char* symbol);
// True when `address` lies in the code or data of the library `handle`.
bool LibraryHoldsAddress(void* handle, const void* address);

}  // namespace pixbase::platform

#endif
