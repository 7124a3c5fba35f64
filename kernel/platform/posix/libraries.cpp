// Shared libraries on POSIX: dlopen, dlsym and dlclose; dladdr names the
// object that holds an address, and dlopen without loading turns that name
// into the handle of the object, which is compared with the given one.
#include "platform/libraries.h"

#include <dlfcn.h>

namespace pixbase::platform {

bool IsPathSeparator(char c) { return c == '/'; }

bool IsAbsolutePath(const char* name) { return name[0] == '/'; }

void* LoadSharedLibrary(const char* name) { return dlopen(name, RTLD_NOW | RTLD_LOCAL); }

bool ReleaseSharedLibrary(void* handle) { return dlclose(handle) == 0; }

void* FindSharedLibrarySymbol(void* handle, const char* symbol) { return dlsym(handle, symbol); }

bool LibraryHoldsAddress(void* handle, const void* address) {
  Dl_info info;
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr || info.dli_fname[0] == '\0')
    return false;
  void* owner = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  if (owner == nullptr) return false;
  dlclose(owner);  // only the reference just taken
  return owner == handle;
}

}  // namespace pixbase::platform
