// Platform services on POSIX, the nearest honest equivalents of the Windows
// calls: no drive letters, mmap, the process's processor time, the command
// run through the shell, and temporary files made as GetTempFileNameA makes
// them.
#include "platform/system_services.h"

#include <fcntl.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

extern char** environ;

namespace pixbase::platform {
namespace {

// Seconds from 1 January 1601 to 1 January 1970.
constexpr uint64_t kEpochDifference = 11644473600ull;

uint64_t TicksOf(const timespec& time) {
  return static_cast<uint64_t>(time.tv_sec) * 10000000ull +
         static_cast<uint64_t>(time.tv_nsec) / 100u;
}

// munmap needs the length of a view, which Windows keeps for its views: the
// views mapped here are remembered until they are unmapped.
struct View {
  void* address;
  size_t length;
  View* next;
};
pthread_mutex_t g_views_mutex = PTHREAD_MUTEX_INITIALIZER;  // a plain mutex: cannot throw
View* g_views = nullptr;

}  // namespace

uint32_t LogicalDriveMask() { return 0; }

uint64_t SystemTimeTicks() {
  timespec now = {};
  clock_gettime(CLOCK_REALTIME, &now);
  return TicksOf(now) + kEpochDifference * 10000000ull;
}

bool ProcessTimesKept() { return true; }

bool ProcessCpuTicks(uint64_t* ticks) {
  timespec used = {};
  if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used) != 0) return false;
  *ticks = TicksOf(used);
  return true;
}

void* MapDescriptor(int descriptor, size_t length, int protection) {
  if (length == 0) {  // the whole file, as a mapping of size 0 on Windows
    struct stat status = {};
    if (fstat(descriptor, &status) != 0 || status.st_size <= 0) return nullptr;
    length = static_cast<size_t>(status.st_size);
  }
  auto* view = new (std::nothrow) View{nullptr, length, nullptr};
  if (view == nullptr) return nullptr;
  int access = protection == 2 || protection == 3 ? PROT_READ | PROT_WRITE : PROT_READ;
  void* address = mmap(nullptr, length, access, MAP_SHARED, descriptor, 0);
  if (address == MAP_FAILED) {
    delete view;
    return nullptr;
  }
  view->address = address;
  pthread_mutex_lock(&g_views_mutex);
  view->next = g_views;
  g_views = view;
  pthread_mutex_unlock(&g_views_mutex);
  return address;
}

bool UnmapView(void* address) {
  View* view = nullptr;
  pthread_mutex_lock(&g_views_mutex);
  for (View** link = &g_views; *link != nullptr; link = &(*link)->next) {
    if ((*link)->address == address) {
      view = *link;
      *link = view->next;
      break;
    }
  }
  pthread_mutex_unlock(&g_views_mutex);
  if (view == nullptr) return false;
  bool unmapped = munmap(view->address, view->length) == 0;
  delete view;
  return unmapped;
}

int RunCommandLine(char* command, bool background, bool /*minimised: no windows here*/) {
  char shell[] = "/bin/sh";
  char run[] = "-c";
  char detach[] = "eval \"$1\" &";  // the shell leaves the command running on its own
  char name[] = "tessel";
  char* foreground_arguments[] = {shell, run, command, nullptr};
  char* background_arguments[] = {shell, run, detach, name, command, nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, shell, nullptr, nullptr,
                  background ? background_arguments : foreground_arguments, environ) != 0)
    return -1;
  int status = 0;
  while (waitpid(child, &status, 0) == -1) {
    if (errno != EINTR) return -1;
  }
  if (background) return 0;
  if (WIFEXITED(status)) {
    int code = WEXITSTATUS(status);
    return code == 127 ? -1 : code;  // 127: the shell could not find the program
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

bool TemporaryDirectory(char* directory, size_t size) {
  const char* base = std::getenv("TMPDIR");
  if (base == nullptr || base[0] != '/') base = "/tmp";
  size_t length = std::strlen(base);
  bool slash = base[length - 1] == '/';
  if (length + (slash ? 0 : 1) >= size) return false;
  std::memcpy(directory, base, length);
  if (!slash) directory[length++] = '/';
  directory[length] = '\0';
  return true;
}

// As GetTempFileNameA with unique number 0: numbers are tried from a
// time-dependent start until a file of that name can be created.
uint32_t CreateUniqueTempFile(const char* directory, const char* prefix, char* path) {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint32_t start = static_cast<uint32_t>(now.tv_nsec / 1000) ^ static_cast<uint32_t>(getpid());
  for (uint32_t i = 0; i < 0x10000; ++i) {
    uint32_t number = (start + i) & 0xFFFF;
    if (number == 0) continue;
    char name[kMaxPath];
    int length = std::snprintf(name, sizeof(name), "%s%.3s%X.tmp", directory, prefix, number);
    if (length < 0 || static_cast<size_t>(length) >= sizeof(name)) return 0;
    int file = open(name, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (file == -1) {
      if (errno == EEXIST) continue;
      return 0;
    }
    close(file);
    std::memcpy(path, name, static_cast<size_t>(length) + 1);
    return number;
  }
  return 0;
}

}  // namespace pixbase::platform
