// Small files that tests write for the code under test to read. A file that
// cannot be made fails the test at that point, instead of crashing it on a
// null FILE* or letting it fail later for a reason that hides the cause.
//
// CTest runs every test case as a process of its own, several at once, all
// in the same temporary folder: a name there is made the process's own, so
// that two tests that use the same name do not write over each other.
#ifndef LUMAVIEW_TESTS_TEMP_FILES_H
#define LUMAVIEW_TESTS_TEMP_FILES_H

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace lumaview::testing {

// Writes `content` (any bytes) to `path`, replacing what was there.
inline void WriteFileAt(const std::string& path, const std::string& content) {
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr) << "cannot write " << path;
  EXPECT_EQ(std::fwrite(content.data(), 1, content.size(), out), content.size()) << path;
  EXPECT_EQ(std::fclose(out), 0) << path;
}

// The path of `name` in the temporary folder, made this process's own (the
// name stays at the end, so its extension is kept).
inline std::string TempPath(const std::string& name) {
#ifdef _WIN32
  const int process = _getpid();
#else
  const int process = static_cast<int>(getpid());
#endif
  return ::testing::TempDir() + "p" + std::to_string(process) + "_" + name;
}

// Writes `content` to `name` in the temporary folder (see TempPath) and gives
// its path.
inline std::string WriteTempFile(const std::string& name, const std::string& content) {
  const std::string path = TempPath(name);
  WriteFileAt(path, content);
  return path;
}

}  // namespace lumaview::testing

#endif
