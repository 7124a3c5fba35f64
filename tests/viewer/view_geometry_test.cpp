// Placement of the picture: fitted (both ways, proportions kept, centred),
// at 100% (centred or scrolled), and the scroll bars of the 100% view.
#include "core/view_geometry.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

void ExpectPlacement(Placement p, int x, int y, int width, int height) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.width, width);
  EXPECT_EQ(p.height, height);
}

TEST(FitPlacement, ShrinksAndEnlargesKeepingProportionsCentred) {
  // Wide picture in a squarish window: the width limits.
  ExpectPlacement(FitPlacement({1000, 500}, {400, 300}), 0, 50, 400, 200);
  // Tall picture: the height limits.
  ExpectPlacement(FitPlacement({300, 600}, {400, 300}), 125, 0, 150, 300);
  // A small picture grows to the window.
  ExpectPlacement(FitPlacement({40, 30}, {400, 300}), 0, 0, 400, 300);
  ExpectPlacement(FitPlacement({10, 20}, {400, 300}), 125, 0, 150, 300);
}

TEST(FitPlacement, RoundsToTheNearestPixelAndKeepsAtLeastOne) {
  // 7 x 3 into 10 wide: 30/7 = 4.29 rows.
  ExpectPlacement(FitPlacement({7, 3}, {10, 100}), 0, 48, 10, 4);
  // 2 x 3 into 10 high: 20/3 = 6.67 columns.
  ExpectPlacement(FitPlacement({2, 3}, {100, 10}), 46, 0, 7, 10);
  // A line a hundred thousand pixels long keeps one row.
  ExpectPlacement(FitPlacement({100000, 1}, {500, 400}), 0, 199, 500, 1);
}

TEST(FitPlacement, NothingForEmptyPicturesOrWindows) {
  ExpectPlacement(FitPlacement({0, 10}, {400, 300}), 0, 0, 0, 0);
  ExpectPlacement(FitPlacement({10, 10}, {0, 300}), 0, 0, 0, 0);
  ExpectPlacement(FitPlacement({10, 10}, {400, -5}), 0, 0, 0, 0);
}

TEST(FitPlacement, LargeSidesDoNotOverflow) {
  ExpectPlacement(FitPlacement({2000000000, 1000000000}, {2000, 2000}), 0, 500, 2000, 1000);
}

TEST(ActualPlacement, CentresWhatFitsAndScrollsWhatDoesNot) {
  ExpectPlacement(ActualPlacement({64, 48}, {400, 300}, 0, 0), 168, 126, 64, 48);
  // Scroll offsets are ignored along a side that fits.
  ExpectPlacement(ActualPlacement({64, 48}, {400, 300}, 30, 40), 168, 126, 64, 48);
  // Wider than the window: shifted by the offset, kept within range.
  ExpectPlacement(ActualPlacement({1000, 48}, {400, 300}, 250, 0), -250, 126, 1000, 48);
  ExpectPlacement(ActualPlacement({1000, 900}, {400, 300}, 5000, -7), -600, 0, 1000, 900);
}

TEST(ZoomPercent, RoundedAndNeverZeroForAShownPicture) {
  EXPECT_EQ(ZoomPercent(320, 320), 100);
  EXPECT_EQ(ZoomPercent(400, 1000), 40);
  EXPECT_EQ(ZoomPercent(743, 320), 232);   // 232.19
  EXPECT_EQ(ZoomPercent(2, 3), 67);        // 66.67
  EXPECT_EQ(ZoomPercent(500, 100000), 1);  // 0.5 rounds up to 1
  EXPECT_EQ(ZoomPercent(1, 100000), 1);    // 0.001: still shown
  EXPECT_EQ(ZoomPercent(0, 320), 0);
  EXPECT_EQ(ZoomPercent(320, 0), 0);
}

TEST(ClampScroll, KeepsTheOffsetBetweenZeroAndTheOverhang) {
  EXPECT_EQ(ClampScroll(-3, 1000, 400), 0);
  EXPECT_EQ(ClampScroll(250, 1000, 400), 250);
  EXPECT_EQ(ClampScroll(601, 1000, 400), 600);
  EXPECT_EQ(ClampScroll(50, 300, 400), 0);
}

TEST(ScrollBarsFor, OneBarCanCallForTheOther) {
  // Fits: no bars, the whole area remains.
  ScrollBars none = ScrollBarsFor({400, 300}, {400, 300}, 16, 16);
  EXPECT_FALSE(none.horizontal);
  EXPECT_FALSE(none.vertical);
  EXPECT_EQ(none.client.width, 400);
  EXPECT_EQ(none.client.height, 300);
  // Too wide only, with room under the horizontal bar.
  ScrollBars wide = ScrollBarsFor({800, 200}, {400, 300}, 16, 16);
  EXPECT_TRUE(wide.horizontal);
  EXPECT_FALSE(wide.vertical);
  EXPECT_EQ(wide.client.height, 284);
  // Too wide, and the horizontal bar leaves too little height.
  ScrollBars both = ScrollBarsFor({800, 290}, {400, 300}, 16, 16);
  EXPECT_TRUE(both.horizontal);
  EXPECT_TRUE(both.vertical);
  EXPECT_EQ(both.client.width, 384);
  EXPECT_EQ(both.client.height, 284);
  // Too tall, and the vertical bar leaves too little width.
  ScrollBars tall = ScrollBarsFor({390, 900}, {400, 300}, 16, 16);
  EXPECT_TRUE(tall.horizontal);
  EXPECT_TRUE(tall.vertical);
  ScrollBars tall_only = ScrollBarsFor({300, 900}, {400, 300}, 16, 16);
  EXPECT_FALSE(tall_only.horizontal);
  EXPECT_TRUE(tall_only.vertical);
  EXPECT_EQ(tall_only.client.width, 384);
}

}  // namespace
}  // namespace viewer
