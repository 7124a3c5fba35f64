// C runtime streams on Win32 (msvcrt): mode flags, locks and descriptor calls.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "platform/platform.h"

extern "C" {
// Exported by msvcrt.dll; its headers do not declare them.
__declspec(dllimport) void __cdecl _lock_file(FILE* stream);
__declspec(dllimport) void __cdecl _unlock_file(FILE* stream);
}

namespace pixbase::platform {

bool StreamOpenForReading(FILE* stream) { return (stream->_flag & (_IOREAD | _IORW)) != 0; }
bool StreamOpenForWriting(FILE* stream) { return (stream->_flag & (_IOWRT | _IORW)) != 0; }
void LockStream(FILE* stream) { _lock_file(stream); }
void UnlockStream(FILE* stream) { _unlock_file(stream); }
int StreamDescriptor(FILE* stream) { return _fileno(stream); }
FILE* OpenDescriptorStream(int descriptor, const char* mode) { return _fdopen(descriptor, mode); }
long DescriptorLength(int descriptor) { return _filelength(descriptor); }
int StatDescriptor(int descriptor, PixbaseStatus* status) { return _fstat(descriptor, status); }
int StatPath(const char* path, PixbaseStatus* status) { return _stat(path, status); }
int CheckPathAccess(const char* path, int mode) { return _access(path, mode); }
int SetDescriptorMode(int descriptor, int mode) { return _setmode(descriptor, mode); }

}  // namespace pixbase::platform
