// Order of a folder's names and stepping to the next accepted picture.
#include "core/folder_walk.h"

#include <gtest/gtest.h>

#include <set>

namespace viewer {
namespace {

TEST(OrderNames, CaseBlindWithNumbersByValue) {
  std::vector<std::string> names{"pic10.ppm", "Pic2.ppm",  "pic1.ppm", "b.bmp",
                                 "A.bmp",     "pic02.ppm", "a.bmp"};
  OrderNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"A.bmp", "a.bmp", "b.bmp", "pic1.ppm", "Pic2.ppm",
                                             "pic02.ppm", "pic10.ppm"}));
}

TEST(OrderNames, LongDigitRunsAndBytesAboveAscii) {
  std::vector<std::string> names{"x99999999999999999999999.pgm", "x100000000000000000000000.pgm",
                                 "\xd5\xd5\xc6\xac.bmp", "z.bmp"};
  OrderNames(names);
  EXPECT_EQ(names[0], "x99999999999999999999999.pgm");
  EXPECT_EQ(names[1], "x100000000000000000000000.pgm");
  EXPECT_EQ(names[2], "z.bmp");
  EXPECT_EQ(names[3], "\xd5\xd5\xc6\xac.bmp");  // two-byte characters after ASCII
}

class FolderSteps : public ::testing::Test {
 protected:
  std::vector<std::string> names{"a.ppm", "b.txt", "c.bmp", "d.pgm", "e.doc"};
  std::set<std::string> pictures{"a.ppm", "c.bmp", "d.pgm"};
  std::vector<std::string> asked;
  std::string Step(const std::string& from, Step step) {
    return StepFrom(names, from, step, [this](const std::string& name) {
      asked.push_back(name);
      return pictures.count(name) != 0;
    });
  }
};

TEST_F(FolderSteps, SkipsWhatIsNotAPictureAndGoesRound) {
  EXPECT_EQ(Step("a.ppm", Step::Next), "c.bmp");
  EXPECT_EQ(asked, (std::vector<std::string>{"b.txt", "c.bmp"}));
  EXPECT_EQ(Step("c.bmp", Step::Next), "d.pgm");
  EXPECT_EQ(Step("d.pgm", Step::Next), "a.ppm");  // past the end, round to the start
  EXPECT_EQ(Step("a.ppm", Step::Previous), "d.pgm");
  EXPECT_EQ(Step("d.pgm", Step::Previous), "c.bmp");
  EXPECT_EQ(Step("c.bmp", Step::Previous), "a.ppm");
}

TEST_F(FolderSteps, ALoneOrGoneCurrentName) {
  pictures = {"c.bmp"};
  asked.clear();
  EXPECT_EQ(Step("c.bmp", Step::Next), "");
  // Every other name was asked once, the current one never.
  EXPECT_EQ(asked, (std::vector<std::string>{"d.pgm", "e.doc", "a.ppm", "b.txt"}));
  // The current picture was removed: the walk starts where it stood.
  pictures = {"a.ppm", "c.bmp", "d.pgm"};
  EXPECT_EQ(Step("bb.ppm", Step::Next), "c.bmp");
  EXPECT_EQ(Step("bb.ppm", Step::Previous), "a.ppm");
  EXPECT_EQ(Step("zz.ppm", Step::Next), "a.ppm");
  EXPECT_EQ(Step("0.ppm", Step::Previous), "d.pgm");
}

TEST_F(FolderSteps, EmptyFolder) {
  names.clear();
  EXPECT_EQ(Step("a.ppm", Step::Next), "");
  EXPECT_TRUE(asked.empty());
}

}  // namespace
}  // namespace viewer
