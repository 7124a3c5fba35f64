// Library loading on POSIX: dlopen, and dlsym by the ordinal's table name.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "library.h"

namespace lumaview::testing {

Library::Library(const std::string& path) { handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

Library::~Library() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* Library::Export(int ordinal) const {
  std::string name = ExportName(ordinal);
  if (name.empty()) return nullptr;
  return dlsym(handle_, name.c_str());
}

std::string BuiltLibraryPath() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  std::string self(path, length > 0 ? static_cast<size_t>(length) : 0);
  return self.substr(0, self.find_last_of('/') + 1) + "libpixbase.so";
}

}  // namespace lumaview::testing
