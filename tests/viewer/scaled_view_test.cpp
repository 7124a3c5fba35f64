// Scaling for the fitted view follows the kernel's resample maps in both
// directions.
#include "core/scaled_view.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

TEST(ScalePicture, ColumnsAndRowsFollowTheKernelsMaps) {
  // Maps of the kernel: 2 -> 5 gives 0 0 0 1 1; 4 -> 3 gives 0 1 2.
  const std::uint32_t source[] = {0xA0, 0xA1, 0xA2, 0xA3,   // row 0
                                  0xB0, 0xB1, 0xB2, 0xB3};  // row 1
  std::vector<std::uint32_t> scaled = ScalePicture(source, 4, 2, 3, 5);
  EXPECT_EQ(scaled, (std::vector<std::uint32_t>{0xA0, 0xA1, 0xA2,  //
                                                0xA0, 0xA1, 0xA2,  //
                                                0xA0, 0xA1, 0xA2,  //
                                                0xB0, 0xB1, 0xB2,  //
                                                0xB0, 0xB1, 0xB2}));
}

TEST(ScalePicture, EnlargingFourTimesAndMoreUsesTheRatio) {
  // 3 -> 13 gives 0 0 0 0 0 1 1 1 1 2 2 2 2.
  const std::uint32_t source[] = {1, 2, 3};
  EXPECT_EQ(ScalePicture(source, 3, 1, 13, 1),
            (std::vector<std::uint32_t>{1, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3}));
}

TEST(ScalePicture, SameSizeIsACopyAndEmptyGivesNothing) {
  const std::uint32_t source[] = {5, 6, 7, 8, 9, 10};
  EXPECT_EQ(ScalePicture(source, 3, 2, 3, 2), (std::vector<std::uint32_t>{5, 6, 7, 8, 9, 10}));
  EXPECT_TRUE(ScalePicture(source, 3, 2, 0, 2).empty());
  EXPECT_TRUE(ScalePicture(nullptr, 3, 2, 3, 2).empty());
  EXPECT_TRUE(ScalePicture(source, 0, 2, 3, 2).empty());
}

}  // namespace
}  // namespace viewer
