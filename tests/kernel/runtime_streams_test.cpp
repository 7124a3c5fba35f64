// Runtime stream services: the forwarders, the guarded formatted read and
// write, and saving and resuming a caller's context.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "pixbase/memory.h"

namespace {

class RuntimeStreamsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ::testing::TempDir() + "pixbase_streams_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
  }
  void TearDown() override { std::remove(path_.c_str()); }

  std::string Contents() {
    FILE* stream = std::fopen(path_.c_str(), "rb");
    std::string text;
    if (stream == nullptr) return text;
    for (int c; (c = std::fgetc(stream)) != EOF;) text += static_cast<char>(c);
    std::fclose(stream);
    return text;
  }

  std::string path_;
};

TEST_F(RuntimeStreamsTest, PrintWritesOnlyToStreamsOpenForWriting) {
  FILE* out = OpenFileStream(path_.c_str(), WriteModeText);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(PrintFileStream(out, "%s=%d", "width", 640), 9);
  CloseFileStream(out);
  EXPECT_EQ(Contents(), "width=640");

  FILE* in = OpenFileStream(path_.c_str(), ReadModeText);
  EXPECT_EQ(PrintFileStream(in, "more"), 0);
  CloseFileStream(in);
  EXPECT_EQ(Contents(), "width=640");

  FILE* update = OpenFileStream(path_.c_str(), "r+b");
  SeekFileStream(update, 0, SEEK_END);
  EXPECT_EQ(PrintFileStream(update, "!"), 1);
  CloseFileStream(update);
  EXPECT_EQ(Contents(), "width=640!");

  EXPECT_EQ(PrintFileStream(nullptr, "x"), 0);
}

TEST_F(RuntimeStreamsTest, PrintToStandardError) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PrintFileStream(stderr, "[%d]", 7), 3);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[7]");
}

TEST_F(RuntimeStreamsTest, ScanReadsOnlyFromStreamsOpenForReading) {
  FILE* out = OpenFileStream(path_.c_str(), WriteModeText);
  int value = -1;
  EXPECT_EQ(ScanFileStream(out, "%d", &value), 0);
  EXPECT_EQ(value, -1);
  WriteStreamString("42 17", out);
  CloseFileStream(out);

  FILE* in = OpenFileStream(path_.c_str(), ReadModeText);
  EXPECT_EQ(ScanFileStream(in, "%d", &value), 1);
  EXPECT_EQ(value, 42);
  CloseFileStream(in);

  FILE* update = OpenFileStream(path_.c_str(), "r+b");
  SeekFileStream(update, 3, SEEK_SET);
  EXPECT_EQ(ScanFileStream(update, "%d", &value), 1);
  EXPECT_EQ(value, 17);
  CloseFileStream(update);
  EXPECT_EQ(ScanFileStream(nullptr, "%d", &value), 0);
}

TEST_F(RuntimeStreamsTest, IndicatorsAreReportedWithoutBeingChanged) {
  FILE* out = OpenFileStream(path_.c_str(), WriteModeText);
  WriteStreamChar('a', out);
  PutStreamChar('b', out);
  CloseFileStream(out);
  FILE* in = OpenFileStream(path_.c_str(), ReadModeText);
  EXPECT_EQ(ReadStreamChar(in), 'a');
  EXPECT_EQ(GetStreamChar(in), 'b');
  EXPECT_EQ(StreamAtEnd(in), 0);
  EXPECT_EQ(ReadStreamChar(in), EOF);
  EXPECT_NE(StreamAtEnd(in), 0);
  EXPECT_NE(StreamAtEnd(in), 0);
  EXPECT_EQ(StreamHasError(in), 0);
  WriteStreamChar('c', in);  // writing to a read-only stream sets the error indicator
  EXPECT_NE(StreamHasError(in), 0);
  EXPECT_NE(StreamHasError(in), 0);
  CloseFileStream(in);
}

TEST_F(RuntimeStreamsTest, ForwardersBehaveAsTheRuntime) {
  FILE* out = OpenFileStream(path_.c_str(), WriteModeText);
  const char line[] = "first line\nsecond\n";
  EXPECT_EQ(WriteStreamItems(line, 1, sizeof line - 1, out), sizeof line - 1);
  EXPECT_EQ(FlushFileStream(out), 0);
  EXPECT_EQ(TellFileStream(out), static_cast<long>(sizeof line - 1));
  CloseFileStream(out);

  FILE* in = OpenFileStream(path_.c_str(), ReadModeText);
  int descriptor = GetStreamDescriptor(in);
  EXPECT_GE(descriptor, 0);
  EXPECT_EQ(GetDescriptorLength(descriptor), static_cast<long>(sizeof line - 1));
  PixbaseStatus status;
  EXPECT_EQ(StatDescriptor(descriptor, &status), 0);
  EXPECT_EQ(status.st_size, static_cast<long>(sizeof line - 1));
  EXPECT_EQ(StatPath(path_.c_str(), &status), 0);
  EXPECT_EQ(status.st_size, static_cast<long>(sizeof line - 1));
  EXPECT_NE(SetDescriptorMode(descriptor, 0x8000), -1);

  char buffer[32];
  ASSERT_NE(ReadStreamLine(buffer, sizeof buffer, in), nullptr);
  EXPECT_STREQ(buffer, "first line\n");
  EXPECT_EQ(UnreadStreamChar('S', in), 'S');
  EXPECT_EQ(ReadStreamItems(buffer, 1, 3, in), 3u);
  EXPECT_EQ(std::string(buffer, 3), "Sse");
  EXPECT_EQ(SeekFileStream(in, 0, SEEK_SET), 0);
  EXPECT_EQ(ReadStreamChar(in), 'f');
  CloseFileStream(in);

  EXPECT_EQ(CheckPathAccess(path_.c_str(), 0), 0);
  EXPECT_EQ(CheckPathAccess((path_ + ".missing").c_str(), 0), -1);
  EXPECT_EQ(OpenFileStream((path_ + ".missing").c_str(), ReadModeText), nullptr);
  EXPECT_EQ(StatPath((path_ + ".missing").c_str(), &status), -1);
}

TEST_F(RuntimeStreamsTest, DescriptorStreamsShareTheRuntime) {
  FILE* out = OpenFileStream(path_.c_str(), WriteModeText);
  FILE* second = OpenDescriptorStream(GetStreamDescriptor(out), AppendModeText);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(PrintFileStream(second, "via descriptor"), 14);
  CloseFileStream(second);  // closes the shared descriptor as well
  std::fclose(out);
  EXPECT_EQ(Contents(), "via descriptor");
}

// Kept out of line so that the jump crosses a real frame.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
void JumpBack(jmp_buf* context, int value) {
  JumpToContext(*context, value);
}

TEST(JumpContextTest, ResumesTheCallerWithTheValueGiven) {
  jmp_buf context;
  volatile int passes = 0;
  int result = SaveJumpContext(context);
  ++passes;
  if (result == 0) {
    EXPECT_EQ(passes, 1);
    JumpBack(&context, 7);
  }
  EXPECT_EQ(result, 7);
  EXPECT_EQ(passes, 2);
}

TEST(JumpContextTest, ValueZeroResumesAsOne) {
  jmp_buf context;
  volatile int passes = 0;
  int result = SaveJumpContext(context);
  if (passes++ == 0) JumpBack(&context, 0);
  EXPECT_EQ(result, 1);
}

}  // namespace
