// The background window's painting and slide refresh (see background.h).
#include "ui/background.h"

#include "common/state.h"
#include "platform/painting.h"

namespace setup {

GradientBand BandOf(int k, long height) {
  GradientBand band;
  band.top = (1 + k * height) / kGradientBands;
  band.bottom = (1 + (k + 1) * height) / kGradientBands;
  if (k == kGradientBands - 1 && band.bottom < height) band.bottom = height;
  band.blue = static_cast<unsigned char>(253 - k);
  return band;
}

long TitleLeft(long client_width, long bitmap_width) {
  long spare = client_width - bitmap_width;
  return (spare > 0 ? spare : 0) / 2;
}

void PaintBackground(platform::Window window) {
  platform::Canvas canvas = platform::BeginPainting(window);
  platform::Rect client = platform::ClientRectangle(window);
  long height = client.bottom - client.top;
  long width = client.right - client.left;
  for (int k = 0; k < kGradientBands; ++k) {
    GradientBand band = BandOf(k, height);
    platform::Rect area{client.left, client.top + band.top, client.right, client.top + band.bottom};
    if (area.bottom > area.top) platform::FillWithColour(canvas, area, 0, 0, band.blue);
  }
  platform::Graphic title = TheSetup.title_picture;
  if (title != 0) {
    long x = TitleLeft(width, platform::BitmapWidth(title));
    platform::PaintBitmapInk(canvas, title, x + 5, 25, 0, 0, 0);    // shadow
    platform::PaintBitmapInk(canvas, title, x, 20, 255, 255, 255);  // title
  }
  platform::EndPainting(window, canvas);
}

// --- SlideTable --------------------------------------------------------------

const char* const kSlideNames[kSlideSlots] = {
    "IDB_WELCOME", "IDB_FUNC1", "IDB_FUNC2", "IDB_FUNC3", "IDB_FUNC4",
    "IDB_FUNC5",   "IDB_FUNC6", "IDB_FUNC7", "IDB_FUNC8", "IDB_COMPLETE"};

namespace {
// Each slot would hold a device-independent bitmap; none is ever loaded.
platform::Graphic slide_table[kSlideSlots] = {};
int last_slot_drawn = -1;
}  // namespace

int SlideSlotFor(int install_phase, int percent) {
  if (install_phase == 3) {
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    return (percent * 80 / 100) / 10 + 1;
  }
  if (install_phase >= 4) return 9;
  return 0;
}

void RefreshBackground(platform::Window window) {
  const SetupState& state = TheSetup;
  int slot = SlideSlotFor(state.InstallPhase, state.progress_percent);
  if (slot == last_slot_drawn) return;
  last_slot_drawn = slot;
  platform::Graphic slide = slide_table[slot] != 0 ? slide_table[slot] : slide_table[0];
  if (slide != 0) platform::StretchBitmapOverWindow(window, slide);
}

void ReleaseSlideTable() {
  for (platform::Graphic& slide : slide_table) {
    if (slide != 0) platform::DeleteGraphic(slide);
    slide = 0;
  }
  last_slot_drawn = -1;
}

}  // namespace setup
