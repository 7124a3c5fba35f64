// The library's load routine: no initialisation of its own. Everything the
// library keeps starts from static initial values.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
  return reason != DLL_PROCESS_DETACH;
}
