// The picture named on the command line, split by the kernel.
#include "core/command_line.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

bool Exists(const std::string& path) { return path == "C:\\My Pictures\\sea.ppm"; }

TEST(CommandLinePicture, FirstArgumentWithoutItsQuotes) {
  EXPECT_EQ(CommandLinePicture("\"C:\\My Pictures\\sea.ppm\"", Exists), "C:\\My Pictures\\sea.ppm");
  EXPECT_EQ(CommandLinePicture("  C:\\x.bmp  ", Exists), "C:\\x.bmp");
  EXPECT_EQ(CommandLinePicture("C:\\x.bmp C:\\y.bmp", Exists), "C:\\x.bmp");
}

TEST(CommandLinePicture, AnUnquotedPathWithBlanks) {
  EXPECT_EQ(CommandLinePicture("C:\\My Pictures\\sea.ppm", Exists), "C:\\My Pictures\\sea.ppm");
  EXPECT_EQ(CommandLinePicture(" C:\\My Pictures\\sea.ppm\t", Exists), "C:\\My Pictures\\sea.ppm");
  // Not an existing file as a whole: the first argument.
  EXPECT_EQ(CommandLinePicture("C:\\My Pictures\\lake.ppm", Exists), "C:\\My");
}

TEST(CommandLinePicture, NothingNamed) {
  EXPECT_EQ(CommandLinePicture("", Exists), "");
  EXPECT_EQ(CommandLinePicture("   ", Exists), "");
  EXPECT_EQ(CommandLinePicture(nullptr, Exists), "");
}

}  // namespace
}  // namespace viewer
