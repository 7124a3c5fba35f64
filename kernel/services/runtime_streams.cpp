// Runtime stream services: the C runtime's stream and file-system calls,
// exported so that clients and the library share one runtime. Each forwards
// its arguments unchanged; the formatted read and write act only on a usable
// stream.
#include <cstdarg>
#include <cstdio>

#include "pixbase/streams.h"
#include "platform/platform.h"

namespace {

enum class Direction { Read, Write };

// A stream is usable when it exists, has a descriptor and was opened for the
// direction asked (update counts as both).
bool Usable(FILE* stream, Direction direction) {
  if (stream == nullptr) return false;
  if (pixbase::platform::StreamDescriptor(stream) == -1) return false;
  return direction == Direction::Read ? pixbase::platform::StreamOpenForReading(stream)
                                      : pixbase::platform::StreamOpenForWriting(stream);
}

}  // namespace

extern "C" {

FILE* OpenFileStream(const char* path, const char* mode) { return std::fopen(path, mode); }
int SeekFileStream(FILE* stream, int32_t offset, int origin) {
  return std::fseek(stream, offset, origin);
}
long TellFileStream(FILE* stream) { return std::ftell(stream); }
int ReadStreamChar(FILE* stream) { return std::fgetc(stream); }
int GetStreamChar(FILE* stream) { return std::getc(stream); }
int StreamHasError(FILE* stream) { return std::ferror(stream); }
int GetStreamDescriptor(FILE* stream) { return pixbase::platform::StreamDescriptor(stream); }
int CloseFileStream(FILE* stream) { return std::fclose(stream); }
int FlushFileStream(FILE* stream) { return std::fflush(stream); }
size_t WriteStreamItems(const void* buffer, size_t size, size_t count, FILE* stream) {
  return std::fwrite(buffer, size, count, stream);
}
size_t ReadStreamItems(void* buffer, size_t size, size_t count, FILE* stream) {
  return std::fread(buffer, size, count, stream);
}
int UnreadStreamChar(int character, FILE* stream) { return std::ungetc(character, stream); }
int PutStreamChar(int character, FILE* stream) { return std::putc(character, stream); }
char* ReadStreamLine(char* buffer, int size, FILE* stream) {
  return std::fgets(buffer, size, stream);
}
int WriteStreamString(const char* text, FILE* stream) { return std::fputs(text, stream); }
FILE* OpenDescriptorStream(int descriptor, const char* mode) {
  return pixbase::platform::OpenDescriptorStream(descriptor, mode);
}
long GetDescriptorLength(int descriptor) { return pixbase::platform::DescriptorLength(descriptor); }

int ScanFileStream(FILE* stream, const char* format, ...) {
  if (stream == nullptr) return 0;
  pixbase::platform::LockStream(stream);
  int result = 0;
  if (Usable(stream, Direction::Read)) {
    va_list arguments;
    va_start(arguments, format);
    result = std::vfscanf(stream, format, arguments);
    va_end(arguments);
  }
  pixbase::platform::UnlockStream(stream);
  return result;
}

int PrintFileStream(FILE* stream, const char* format, ...) {
  if (stream == nullptr) return 0;
  pixbase::platform::LockStream(stream);
  int result = 0;
  if (Usable(stream, Direction::Write)) {
    va_list arguments;
    va_start(arguments, format);
    result = std::vfprintf(stream, format, arguments);
    va_end(arguments);
  }
  pixbase::platform::UnlockStream(stream);
  return result;
}

int StreamAtEnd(FILE* stream) { return std::feof(stream); }
int StatDescriptor(int descriptor, PixbaseStatus* status) {
  return pixbase::platform::StatDescriptor(descriptor, status);
}
int StatPath(const char* path, PixbaseStatus* status) {
  return pixbase::platform::StatPath(path, status);
}
int CheckPathAccess(const char* path, int mode) {
  return pixbase::platform::CheckPathAccess(path, mode);
}
int WriteStreamChar(int character, FILE* stream) { return std::fputc(character, stream); }
int SetDescriptorMode(int descriptor, int mode) {
  return pixbase::platform::SetDescriptorMode(descriptor, mode);
}

}  // extern "C"
