// The ordinal table as the build generated it, for tests that walk it.
#include <string>

#include "library.h"

namespace lumaview::testing {

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
