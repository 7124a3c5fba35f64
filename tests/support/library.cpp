// The portable half of the client-side loader: the one loaded library that
// every client test shares, and the ordinal table as the build generated it.
#include "library.h"

#include <string>

namespace lumaview::testing {

// Never unloaded, as a client keeps it: the library keeps its own locks for
// the life of the process, and they must still be reachable at its end.
const Library& Pixbase() {
  static const Library* library = new Library(BuiltLibraryPath());
  return *library;
}

std::string BuiltLibraryFolder() {
  std::string library = BuiltLibraryPath();
  return library.substr(0, library.find_last_of("\\/"));
}

std::string BesideBuiltLibrary(const char* folder) {
  return BuiltLibraryFolder() + kPathSeparator + folder;
}

std::string ExportName(int ordinal) {
  switch (ordinal) {
#define PIXBASE_EXPORT(number, name, kind) \
  case number:                             \
    return #name;
#include "pixbase_exports.inc"
#undef PIXBASE_EXPORT
    default:
      return std::string();
  }
}

bool ExportIsData(int ordinal) {
  switch (ordinal) {
#define PIXBASE_EXPORT(number, name, kind) \
  case number:                             \
    return std::string(#kind) == "data";
#include "pixbase_exports.inc"
#undef PIXBASE_EXPORT
    default:
      return false;
  }
}

}  // namespace lumaview::testing
