// The full-screen background window: a blue gradient of 128 bands with the
// product title in white over a black shadow, and the slide refresh that
// the window's timer IDT_BACKGROUND_REFRESH calls every 500 ms.
#ifndef LUMAVIEW_SETUP_UI_BACKGROUND_H
#define LUMAVIEW_SETUP_UI_BACKGROUND_H

#include "platform/platform.h"

namespace setup {

constexpr int kGradientBands = 128;
constexpr unsigned kBackgroundRefreshPeriod = 500;

// Band k (0..127) of a client area `height` pixels high: from
// (1 + k*height)/128 to (1 + (k+1)*height)/128, the last band reaching at
// least the bottom; pure blue of intensity 253 - k.
struct GradientBand {
  long top;
  long bottom;
  unsigned char blue;
};
GradientBand BandOf(int k, long height);

// Left edge of the title: the bitmap centred, never left of 0.
long TitleLeft(long client_width, long bitmap_width);

// The paint hook of the background window.
void PaintBackground(platform::Window window);

// SlideTable: ten slots of background pictures, IDB_WELCOME, IDB_FUNC1 to
// IDB_FUNC8 and IDB_COMPLETE. Setup supplies no slides, so the refresh
// finds every slot empty and draws nothing.
constexpr int kSlideSlots = 10;
extern const char* const kSlideNames[kSlideSlots];
// The slot for an install phase and copy percent: 0 for phases 0 to 2,
// (percent*80/100)/10 + 1 during the copy (phase 3), 9 after it.
int SlideSlotFor(int install_phase, int percent);
// The refresh timer's handler: draws the slide of the current phase when the slot
// changed (slot 0's when the slot is empty; nothing when that is empty too).
void RefreshBackground(platform::Window window);
// Teardown: releases whatever the slots hold.
void ReleaseSlideTable();

}  // namespace setup

#endif
