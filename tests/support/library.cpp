// The portable half of the client-side loader: the one loaded library that
// every client test shares, and the ordinal table as the build generated it.
#include "library.h"

#include <string>

namespace lumaview::testing {

const Library& Pixbase() {
  static Library library(BuiltLibraryPath());
  return library;
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

}  // namespace lumaview::testing
