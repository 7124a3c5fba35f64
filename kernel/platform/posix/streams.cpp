// C runtime streams on POSIX (glibc). The stream's own mode is read with
// __freadable/__fwritable; descriptors have no text mode, so setting a mode
// only checks the descriptor and reports the binary mode it always has.
#include <fcntl.h>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"

namespace pixbase::platform {

namespace {
// The value _setmode reports for a binary descriptor on Win32 (_O_BINARY).
constexpr int kBinaryMode = 0x8000;
}  // namespace

bool StreamOpenForReading(FILE* stream) { return __freadable(stream) != 0; }
bool StreamOpenForWriting(FILE* stream) { return __fwritable(stream) != 0; }
void LockStream(FILE* stream) { flockfile(stream); }
void UnlockStream(FILE* stream) { funlockfile(stream); }
int StreamDescriptor(FILE* stream) { return fileno(stream); }
FILE* OpenDescriptorStream(int descriptor, const char* mode) { return fdopen(descriptor, mode); }

long DescriptorLength(int descriptor) {
  struct stat status;
  if (fstat(descriptor, &status) != 0) return -1;
  return static_cast<long>(status.st_size);
}

int StatDescriptor(int descriptor, PixbaseStatus* status) { return fstat(descriptor, status); }
int StatPath(const char* path, PixbaseStatus* status) { return stat(path, status); }
int CheckPathAccess(const char* path, int mode) { return access(path, mode); }

int SetDescriptorMode(int descriptor, int /*mode*/) {
  return fcntl(descriptor, F_GETFD) == -1 ? -1 : kBinaryMode;
}

}  // namespace pixbase::platform
