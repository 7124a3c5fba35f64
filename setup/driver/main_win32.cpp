// The Windows GUI entry of setup.
#include <windows.h>

#include "driver/driver.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
  return setup::RunSetup(reinterpret_cast<setup::platform::Handle>(instance),
                         reinterpret_cast<setup::platform::Handle>(previous));
}
