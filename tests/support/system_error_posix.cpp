#include <cerrno>

#include "system_error.h"

namespace lumaview::testing {
void SetLastSystemErrorWithoutText() { errno = 0; }
void SetLastSystemErrorFileNotFound() { errno = ENOENT; }
}  // namespace lumaview::testing

namespace lumaview::testing {
int ExitStatusFor(int code) { return code & 0xFF; }
}  // namespace lumaview::testing
