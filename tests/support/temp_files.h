// Small files that tests write for the code under test to read. A file that
// cannot be made fails the test at that point, instead of crashing it on a
// null FILE* or letting it fail later for a reason that hides the cause.
#ifndef LUMAVIEW_TESTS_TEMP_FILES_H
#define LUMAVIEW_TESTS_TEMP_FILES_H

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace lumaview::testing {

// Writes `content` (any bytes) to `path`, replacing what was there.
inline void WriteFileAt(const std::string& path, const std::string& content) {
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr) << "cannot write " << path;
  EXPECT_EQ(std::fwrite(content.data(), 1, content.size(), out), content.size()) << path;
  EXPECT_EQ(std::fclose(out), 0) << path;
}

// Writes `content` to `name` in the test program's temporary folder and
// gives its path.
inline std::string WriteTempFile(const std::string& name, const std::string& content) {
  const std::string path = ::testing::TempDir() + name;
  WriteFileAt(path, content);
  return path;
}

}  // namespace lumaview::testing

#endif
