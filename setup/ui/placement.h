// Where setup's windows go: the desktop as it was at start (the background
// window covers it) and the centring of every dialog on it.
#ifndef LUMAVIEW_SETUP_UI_PLACEMENT_H
#define LUMAVIEW_SETUP_UI_PLACEMENT_H

#include "platform/platform.h"

namespace setup {

// Remembers the desktop as it is now and returns it.
platform::Rect RememberDesktop();
// Moves a window to the middle of the remembered desktop, kept on the
// screen as it is now.
void CenterOnScreen(platform::Window window);

}  // namespace setup

#endif
