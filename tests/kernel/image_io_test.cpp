// Image file I/O: the shared handle along a list, byte transfer and the
// byte-order readers and writers on real files, the dispatch to a stream
// table slot by slot, and the file checks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "pixbase/pixbase.h"
#include "temp_files.h"

namespace {

using lumaview::testing::TempPath;

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  lumaview::testing::WriteFileAt(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return bytes;
  int c;
  while ((c = std::fgetc(in)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
  std::fclose(in);
  return bytes;
}

// An image on a file holding `bytes`, opened for reading.
class OpenImage {
 public:
  explicit OpenImage(const std::vector<unsigned char>& bytes, const char* name = "pixbase_io.bin")
      : path_(TempPath(name)) {
    WriteFile(path_, bytes);
    image_ = AllocateImage();
    std::strcpy(image_->filename, path_.c_str());
    EXPECT_EQ(OpenImageFile(image_, ReadModeText), 1);
  }
  ~OpenImage() {
    DestroyImageList(image_);
    std::remove(path_.c_str());
  }
  ImageRecord* get() { return image_; }

 private:
  std::string path_;
  ImageRecord* image_;
};

TEST(ImageIoTest, IntegersInBothByteOrders) {
  {
    OpenImage file({0x01, 0x02, 0x03, 0x04});
    EXPECT_EQ(ReadLittleEndianLong(file.get()), 0x04030201u);
    EXPECT_EQ(SeekImageFile(file.get(), 0, SEEK_SET), 0);
    EXPECT_EQ(ReadBigEndianLong(file.get()), 0x01020304u);
  }
  {
    OpenImage file({0x01, 0x02, 0x01, 0x02});
    EXPECT_EQ(ReadLittleEndianShort(file.get()), 0x0201);
    EXPECT_EQ(ReadBigEndianShort(file.get()), 0x0102);
  }
}

TEST(ImageIoTest, ShortReadsGiveTheMarkers) {
  {
    OpenImage file({0x01, 0x02, 0x03});
    EXPECT_EQ(ReadLittleEndianLong(file.get()), 0xFFFFFFFFu);
  }
  {
    OpenImage file({0x07});
    EXPECT_EQ(ReadBigEndianShort(file.get()), 0xFFFF);
  }
  {
    OpenImage file({0x09, 0x0A});
    EXPECT_EQ(ReadBigEndianLong(file.get()), 0xFFFFFFFFu);
    EXPECT_EQ(SeekImageFile(file.get(), 1, SEEK_SET), 1);
    EXPECT_EQ(ReadLittleEndianShort(file.get()), 0xFFFF);
  }
}

TEST(ImageIoTest, SingleBytesAndTheEnd) {
  OpenImage file({0xFF});
  EXPECT_EQ(ImageFileAtEnd(file.get()), 0);
  EXPECT_EQ(ReadImageByte(file.get()), 255);
  EXPECT_EQ(ReadImageByte(file.get()), -1);
  EXPECT_NE(ImageFileAtEnd(file.get()), 0);
  EXPECT_EQ(ReadImageByte(nullptr), -1);
  EXPECT_EQ(GetImageFileSize(file.get()), 1);
}

TEST(ImageIoTest, WritersPutTheBytesInOrder) {
  std::string path = TempPath("pixbase_io_written.bin");
  ImageRecord* image = AllocateImage();
  std::strcpy(image->filename, path.c_str());
  ASSERT_EQ(OpenImageFile(image, WriteModeText), 1);
  EXPECT_EQ(WriteBigEndianShort(image, 0x12345678u), 2u);
  EXPECT_EQ(WriteLittleEndianLong(image, 0x12345678u), 4u);
  EXPECT_EQ(WriteLittleEndianShort(image, 0xABCDu), 2u);
  EXPECT_EQ(WriteBigEndianLong(image, 0x01020304u), 4u);
  EXPECT_EQ(WriteImageByte(image, 0x1FE), 1u);
  EXPECT_EQ(FlushImageFile(image), 0);
  EXPECT_EQ(TellImageFile(image), 13);
  EXPECT_EQ(CloseImageFile(image), 0);
  EXPECT_EQ(image->file, nullptr);
  EXPECT_EQ(FlushImageFile(image), 0);
  EXPECT_EQ(TellImageFile(image), -1);
  std::vector<unsigned char> expected = {0x56, 0x78, 0x78, 0x56, 0x34, 0x12, 0xCD,
                                         0xAB, 0x01, 0x02, 0x03, 0x04, 0xFE};
  EXPECT_EQ(ReadFile(path), expected);
  DestroyImage(image);
  std::remove(path.c_str());
}

TEST(ImageIoTest, CountedBytes) {
  {
    OpenImage file({0x03, 0x41, 0x42, 0x43, 0x58});
    unsigned char destination[255];
    std::memset(destination, 0xEE, sizeof destination);
    EXPECT_EQ(ReadCountedBytes(file.get(), destination), 3u);
    EXPECT_EQ(destination[0], 0x41);
    EXPECT_EQ(destination[2], 0x43);
    EXPECT_EQ(destination[3], 0xEE);  // no terminator
  }
  {
    OpenImage file({0x00, 0x41});
    unsigned char destination[255] = {};
    EXPECT_EQ(ReadCountedBytes(file.get(), destination), 0u);
    EXPECT_EQ(TellImageFile(file.get()), 1);  // nothing more was read
  }
  {
    OpenImage file({0x02, 'x', 'y', 'z'});
    EXPECT_EQ(SkipCountedBytes(file.get()), 3);
    EXPECT_EQ(ReadImageByte(file.get()), 'z');
    EXPECT_EQ(SkipCountedBytes(file.get()), 0);  // nothing left to skip
  }
}

TEST(ImageIoTest, ReversingWholeGroupsOnly) {
  unsigned char longs[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ReverseLongBytes(longs, 8);
  const unsigned char expected_longs[8] = {4, 3, 2, 1, 8, 7, 6, 5};
  EXPECT_EQ(std::memcmp(longs, expected_longs, 8), 0);
  unsigned char partial[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ReverseLongBytes(partial, 6);
  const unsigned char expected_partial[8] = {4, 3, 2, 1, 5, 6, 7, 8};
  EXPECT_EQ(std::memcmp(partial, expected_partial, 8), 0);
  unsigned char shorts[5] = {1, 2, 3, 4, 5};
  ReverseShortBytes(shorts, 5);
  const unsigned char expected_shorts[5] = {2, 1, 4, 3, 5};
  EXPECT_EQ(std::memcmp(shorts, expected_shorts, 5), 0);
  ReverseLongBytes(shorts, 3);
  ReverseShortBytes(shorts, 1);
  EXPECT_EQ(std::memcmp(shorts, expected_shorts, 5), 0);
}

TEST(ImageIoTest, OneHandleAlongTheWholeList) {
  std::string path = TempPath("pixbase_io_list.bin");
  WriteFile(path, {1, 2, 3});
  ImageRecord* first = AllocateImage();
  std::strcpy(first->filename, path.c_str());
  AllocateNextImage(first);
  AllocateNextImage(first->next);
  ImageRecord* third = first->next->next;
  ASSERT_EQ(OpenImageFile(third, ReadModeText), 1);
  EXPECT_NE(first->file, nullptr);
  EXPECT_EQ(first->file, third->file);
  EXPECT_EQ(first->next->file, third->file);
  // Opening again closes the open stream first (the sanitizers see no leak).
  ASSERT_EQ(OpenImageFile(first->next, ReadModeText), 1);
  EXPECT_EQ(first->file, third->file);
  CloseImageFile(first);
  EXPECT_EQ(first->file, nullptr);
  EXPECT_EQ(first->next->file, nullptr);
  EXPECT_EQ(third->file, nullptr);
  EXPECT_EQ(CloseImageFile(third), 0);  // closed list: only clears
  std::remove(path.c_str());
  EXPECT_EQ(OpenImageFile(first, ReadModeText), 0);  // the file is gone
  EXPECT_EQ(third->file, nullptr);
  DestroyImageList(first);
}

TEST(ImageIoTest, AClosedImageMovesNothing) {
  ImageRecord* image = AllocateImage();
  unsigned char byte = 0;
  EXPECT_EQ(ReadImageBytes(image, 1, &byte), 0u);
  EXPECT_EQ(WriteImageBytes(image, 1, &byte), 0u);
  EXPECT_EQ(ReadImageByte(image), -1);
  EXPECT_EQ(SeekImageFile(image, 0, SEEK_SET), -1);
  EXPECT_EQ(SkipCountedBytes(image), 0);
  EXPECT_EQ(GetImageFileSize(image), 0);
  EXPECT_NE(ImageFileAtEnd(image), 0);
  DestroyImage(image);
}

// A stream table with only `read` filled: an in-memory source of bytes.
const unsigned char kServed[] = {0x10, 0x20, 0x30, 0x40, 0x50};
uint32_t g_read_calls = 0;
uint32_t PIXBASE_CALL ServeBytes(ImageRecord*, void* destination, uint32_t length) {
  ++g_read_calls;
  if (length > sizeof kServed) length = sizeof kServed;
  std::memcpy(destination, kServed, length);
  return length;
}

TEST(ImageIoTest, AFilledSlotServesAndTheRuntimeDoesTheRest) {
  StreamCallbacks table = {};
  table.read = ServeBytes;
  OpenImage file({0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}, "pixbase_io_table.bin");
  file.get()->streamTable = &table;
  g_read_calls = 0;
  EXPECT_EQ(ReadBigEndianLong(file.get()), 0x10203040u);
  EXPECT_EQ(g_read_calls, 1u);
  // Seek, tell and size go to the runtime stream in `file`.
  EXPECT_EQ(SeekImageFile(file.get(), 2, SEEK_SET), 2);
  EXPECT_EQ(TellImageFile(file.get()), 2);
  EXPECT_EQ(GetImageFileSize(file.get()), 6);
  file.get()->streamTable = nullptr;
  EXPECT_EQ(ReadImageByte(file.get()), 0xCC);
  file.get()->streamTable = &table;
  // Skipping reads its length through the slot (0x10) and seeks the runtime stream.
  EXPECT_EQ(SkipCountedBytes(file.get()), 3 + 0x10);
}

// A whole stream in memory behind a table: every slot is served.
struct MemoryStream {
  std::vector<unsigned char> bytes;
  int32_t at = 0;
  int flushes = 0;
  int closes = 0;
};
MemoryStream g_memory;
int32_t PIXBASE_CALL MemOpen(ImageRecord* image, const char*) {
  image->file = &g_memory;
  g_memory.at = 0;
  return 0;
}
int32_t PIXBASE_CALL MemSeek(ImageRecord*, int32_t offset, int32_t origin) {
  int32_t base = origin == SEEK_SET   ? 0
                 : origin == SEEK_CUR ? g_memory.at
                                      : int32_t(g_memory.bytes.size());
  g_memory.at = base + offset;
  return g_memory.at;
}
uint32_t PIXBASE_CALL MemRead(ImageRecord*, void* destination, uint32_t length) {
  uint32_t left = uint32_t(g_memory.bytes.size()) - uint32_t(g_memory.at);
  if (length > left) length = left;
  std::memcpy(destination, g_memory.bytes.data() + g_memory.at, length);
  g_memory.at += int32_t(length);
  return length;
}
uint32_t PIXBASE_CALL MemWrite(ImageRecord*, const void* source, uint32_t length) {
  const auto* bytes = static_cast<const unsigned char*>(source);
  g_memory.bytes.insert(g_memory.bytes.begin() + g_memory.at, bytes, bytes + length);
  g_memory.at += int32_t(length);
  return length;
}
int32_t PIXBASE_CALL MemSize(ImageRecord*) { return int32_t(g_memory.bytes.size()); }
int32_t PIXBASE_CALL MemFlush(ImageRecord*) { return ++g_memory.flushes; }
int32_t PIXBASE_CALL MemAtEnd(ImageRecord*) {
  return g_memory.at >= int32_t(g_memory.bytes.size());
}
int32_t PIXBASE_CALL MemClose(ImageRecord*) { return ++g_memory.closes + 40; }

TEST(ImageIoTest, EverySlotOfATableIsCalledInsteadOfTheRuntime) {
  StreamCallbacks table = {MemOpen, MemSeek,  MemRead,  MemWrite,
                           MemSize, MemFlush, MemAtEnd, MemClose};
  g_memory = MemoryStream();
  ImageRecord* image = AllocateImage();
  image->streamTable = &table;
  std::strcpy(image->filename, "/no/such/file/anywhere");
  AllocateNextImage(image);
  ASSERT_EQ(OpenImageFile(image, WriteModeText), 1);
  EXPECT_EQ(image->next->file, &g_memory);
  EXPECT_EQ(WriteLittleEndianLong(image, 0x04010201u), 4u);
  EXPECT_EQ(WriteImageByte(image, 2), 1u);
  EXPECT_EQ(GetImageFileSize(image), 5);
  EXPECT_EQ(FlushImageFile(image), 1);
  EXPECT_EQ(SeekImageFile(image, 0, SEEK_SET), 0);
  EXPECT_EQ(ReadBigEndianShort(image), 0x0102);
  EXPECT_EQ(SkipCountedBytes(image), 4);  // the length byte 1, then one byte skipped
  EXPECT_EQ(TellImageFile(image), 4);
  EXPECT_EQ(ImageFileAtEnd(image), 0);
  EXPECT_EQ(ReadImageByte(image), 2);
  EXPECT_NE(ImageFileAtEnd(image), 0);
  // The close goes through the table of the image it is asked of.
  EXPECT_EQ(CloseImageFile(image), 41);
  EXPECT_EQ(image->next->file, nullptr);
  EXPECT_EQ(image->file, nullptr);
  EXPECT_EQ(g_memory.closes, 1);
  DestroyImageList(image);
  EXPECT_EQ(g_memory.closes, 1);
}

TEST(ImageIoTest, FileChecks) {
  std::string empty = TempPath("pixbase_io_empty.bin");
  std::string one = TempPath("pixbase_io_one.bin");
  WriteFile(empty, {});
  WriteFile(one, {'x'});
  EXPECT_EQ(IsFileReadable(empty.c_str()), 0);
  EXPECT_EQ(IsFileReadable(one.c_str()), 1);
  EXPECT_EQ(IsFileReadable((one + ".missing").c_str()), 0);
  EXPECT_EQ(IsFileReadable(""), 0);
  EXPECT_EQ(IsFileReadable(nullptr), 0);
  EXPECT_EQ(IsDirectoryPath(""), 0);
  EXPECT_EQ(IsDirectoryPath(nullptr), 0);
  EXPECT_EQ(IsDirectoryPath(one.c_str()), 0);
  EXPECT_EQ(IsDirectoryPath((one + ".missing").c_str()), 0);
  std::string directory = ::testing::TempDir();
  while (directory.size() > 1 && (directory.back() == '/' || directory.back() == '\\'))
    directory.pop_back();
  EXPECT_EQ(IsDirectoryPath(directory.c_str()), 1);
  std::remove(empty.c_str());
  std::remove(one.c_str());
}

}  // namespace
