// Library loading on Win32: LoadLibraryA and GetProcAddress by ordinal.
#include <windows.h>

#include "library.h"

namespace lumaview::testing {

Library::Library(const std::string& path) { handle_ = LoadLibraryA(path.c_str()); }

Library::~Library() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* Library::Export(int ordinal) const {
  return reinterpret_cast<void*>(
      GetProcAddress(static_cast<HMODULE>(handle_), MAKEINTRESOURCEA(ordinal)));
}

std::string BuiltLibraryPath() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string self(path, length);
  return self.substr(0, self.find_last_of("\\/") + 1) + "PIXBASE.dll";
}

}  // namespace lumaview::testing
