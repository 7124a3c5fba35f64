#include <windows.h>

#include "system_error.h"

namespace lumaview::testing {
// Bit 29 marks an application-defined code, which the system cannot describe.
void SetLastSystemErrorWithoutText() { SetLastError(0x20001234); }
void SetLastSystemErrorFileNotFound() { SetLastError(ERROR_FILE_NOT_FOUND); }
}  // namespace lumaview::testing

namespace lumaview::testing {
int ExitStatusFor(int code) { return code; }
}  // namespace lumaview::testing
