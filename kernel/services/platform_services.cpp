// The exported platform services: the rules around the platform's calls.
#include "pixbase/platform_services.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "pixbase/exceptions.h"
#include "pixbase/text.h"
#include "platform/platform.h"
#include "platform/system_services.h"
#include "services/character_classes.h"

namespace {

namespace platform = pixbase::platform;

// The working buffer of a command line, terminator included.
constexpr size_t kCommandExtent = 2048;
constexpr char kTempPrefix[] = "tessel";

// Ticks of 100 nanoseconds in seconds, rounded to a double. On the x87 unit a
// product may stay in extended precision, so that two equal readings compare
// unequal once one of them has been stored; the store here rounds it.
double Seconds(uint64_t ticks) {
  volatile double seconds = static_cast<double>(ticks) * 1e-7;
  return seconds;
}

}  // namespace

extern "C" {

int IsWindows9xPlatform(void) { return platform::IsWindows9x() ? 1 : 0; }

// The byte, upper-cased, selects bit (byte - 65) modulo 32, so the terminator
// of an empty text selects bit 31.
uint32_t DriveExists(const char* drive) {
  if (drive == nullptr || (drive[0] != '\0' && drive[1] != '\0')) return 0;
  int letter = pixbase::text::ToUpper(static_cast<unsigned char>(drive[0]));
  uint32_t bit = static_cast<uint32_t>(letter - 65) & 31u;
  return platform::LogicalDriveMask() & (1u << bit);
}

// The view always begins at the start of the file; the offset is applied to
// the returned address, so the length must cover it.
void* MapFileView(void* /*hint*/, size_t length, int protection, int /*flags*/, int descriptor,
                  long offset) {
  if (offset < 0 || (length != 0 && static_cast<size_t>(offset) > length))
    return PIXBASE_MAP_FAILED;
  void* view = platform::MapDescriptor(descriptor, length, protection);
  if (view == nullptr) return PIXBASE_MAP_FAILED;
  return static_cast<char*>(view) + offset;
}

int UnmapFileView(void* view) {
  if (view == nullptr || view == PIXBASE_MAP_FAILED) return -1;
  return platform::UnmapView(view) ? 0 : -1;
}

double ReadSystemClock(void) { return Seconds(platform::SystemTimeTicks()); }

double ReadProcessSeconds(void) {
  if (!platform::ProcessTimesKept()) return ReadSystemClock();
  uint64_t ticks = 0;
  if (!platform::ProcessCpuTicks(&ticks)) return 0.0;
  return Seconds(ticks);
}

// A command line that does not fit the working buffer is refused.
int SpawnProcess(const char* command) {
  if (command == nullptr) return -1;
  size_t length = std::strlen(command);
  if (length >= kCommandExtent) return -1;
  char line[kCommandExtent];
  std::memcpy(line, command, length + 1);
  bool background = false;
  bool minimised = false;
  if (length > 0 && line[length - 1] == '&') {
    background = true;
    line[--length] = '\0';
  } else if (length > 0 && line[length - 1] == '|') {
    minimised = true;
    line[--length] = '\0';
  }
  return platform::RunCommandLine(line, background, minimised);
}

int RunCommand(int verbose, const char* command) {
  errno = 0;
  int status = SpawnProcess(command);
  if (verbose != 0)
    RaiseWarning(ExternalWarning, command, status == 0 ? std::strerror(0) : nullptr);
  return status;
}

uint32_t CreateTempName(char* buffer) {
  if (buffer == nullptr) return 0;
  char directory[1024];
  if (!platform::TemporaryDirectory(directory, sizeof(directory))) return 0;
  char path[platform::kMaxPath] = {};
  uint32_t number = platform::CreateUniqueTempFile(directory, kTempPrefix, path);
  if (number == 0) return 0;
  std::memcpy(buffer, path, std::strlen(path) + 1);
  std::remove(buffer);  // only the name is wanted
  size_t length = std::strlen(buffer);
  if (length > 4 && CompareNoCase(buffer + length - 4, ".tmp") == 0) buffer[length - 4] = '\0';
  return number;
}

void MakeTempName(char* buffer) {
  if (buffer == nullptr) return;
  buffer[0] = '\0';
  CreateTempName(buffer);
}

// The temporary path is made aside and only its last component is written
// into the path, so a long directory part cannot push it past the buffer.
void ReplaceWithTempName(char* path) {
  if (path == nullptr) return;
  const void* end = std::memchr(path, '\0', PIXBASE_TEXT_EXTENT);
  size_t length = end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - path)
                                 : PIXBASE_TEXT_EXTENT - 1;
  size_t part = 0;
  for (size_t i = 0; i < length; ++i)
    if (pixbase::text::IsSeparator(path[i])) part = i + 1;
  char temporary[platform::kMaxPath];
  MakeTempName(temporary);
  const char* name = temporary;
  for (const char* p = temporary; *p != '\0'; ++p)
    if (pixbase::text::IsSeparator(*p)) name = p + 1;
  size_t name_length = std::strlen(name);
  size_t room = PIXBASE_TEXT_EXTENT - part;  // part <= length < PIXBASE_TEXT_EXTENT
  if (name_length > room - 1) name_length = room - 1;
  std::memcpy(path + part, name, name_length);
  path[part + name_length] = '\0';
}

}  // extern "C"
