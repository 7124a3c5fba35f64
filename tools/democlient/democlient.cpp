// Shows that PIXBASE.dll works as a client uses it: loaded at run time and
// called by ordinal only.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "pixbase/pixbase.h"

namespace {

HMODULE g_library;

template <typename Function>
Function Ordinal(int ordinal) {
  FARPROC address = GetProcAddress(g_library, MAKEINTRESOURCEA(ordinal));
  if (address == nullptr) {
    std::fprintf(stderr, "ordinal %d is not exported\n", ordinal);
    std::exit(1);
  }
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

const char* Text(int ordinal) {
  return *reinterpret_cast<const char**>(GetProcAddress(g_library, MAKEINTRESOURCEA(ordinal)));
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "PIXBASE.dll";
  g_library = LoadLibraryA(path);
  if (g_library == nullptr) {
    std::fprintf(stderr, "cannot load %s (error %lu)\n", path, GetLastError());
    return 1;
  }
  std::printf("Loaded %s\n", path);

  auto allocate = Ordinal<void* (*)(uint32_t)>(1);
  auto resize = Ordinal<void* (*)(void*, uint32_t)>(94);
  auto release = Ordinal<void (*)(void*)>(57);
  auto* block = static_cast<unsigned char*>(allocate(64));
  block[0] = 1;
  resize(&block, 65536);
  int zeros = 0;
  for (int i = 1; i < 65536; ++i) zeros += block[i] == 0;
  std::printf("AllocateMemory(64) then ResizeMemory(65536): first byte kept=%d, %d bytes zero\n",
              block[0], zeros);
  release(&block);
  std::printf("ReleaseMemory: holder is %s\n", block == nullptr ? "null" : "not null");

  std::printf("Constant texts:\n");
  const int texts[] = {6, 8, 10, 16, 17, 18, 19, 36, 61, 62, 78, 90, 91, 95, 96, 102, 103, 131};
  for (int ordinal : texts) {
    std::printf("  %3d \"", ordinal);
    for (const char* c = Text(ordinal); *c; ++c) std::printf(*c == '\n' ? "\\n" : "%c", *c);
    std::printf("\"\n");
  }

  auto client_name = Ordinal<const char* (*)(const char*)>(106);
  auto raise_warning = Ordinal<void (*)(ExceptionSeverity, const char*, const char*)>(77);
  std::printf("Client name was \"%s\"; a warning through the console handler:\n",
              client_name("democlient"));
  std::fflush(stdout);
  errno = 0;
  raise_warning(320, "Unable to load coder module", "demonstration only");
  FreeLibrary(g_library);
  return 0;
}
