// Image file I/O: every transfer goes through the image, to the operation in
// its stream table when that slot is filled, otherwise to the runtime stream
// in `file`. Opening and closing keep `file` the same along the whole list.
#include "pixbase/image_io.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "image/images.h"
#include "pixbase/allocator.h"
#include "pixbase/constant_texts.h"
#include "pixbase/streams.h"

namespace {

// The table's operation for `slot`, or null when the runtime stream serves.
template <typename Slot>
Slot Callback(const ImageRecord* image, Slot StreamCallbacks::*slot) {
  if (image->streamTable == nullptr) return nullptr;
  return image->streamTable->*slot;
}

FILE* Stream(const ImageRecord* image) { return static_cast<FILE*>(image->file); }

void ShareFile(ImageRecord* image, void* file) {
  for (ImageRecord* member = pixbase::FirstImageOfList(image); member != nullptr;
       member = member->next)
    member->file = file;
}

// Reads exactly `count` bytes or reports a short read.
bool ReadExactly(ImageRecord* image, unsigned char* bytes, uint32_t count) {
  return ReadImageBytes(image, count, bytes) == count;
}

}  // namespace

extern "C" {

int32_t OpenImageFile(ImageRecord* image, const char* mode) {
  if (image->file != nullptr) CloseImageFile(image);
  if (auto open = Callback(image, &StreamCallbacks::open)) {
    open(image, mode);
  } else {
    // The name field is a fixed array that a client fills: never read past it.
    char path[PIXBASE_FILENAME_EXTENT + 1];
    size_t length = strnlen(image->filename, PIXBASE_FILENAME_EXTENT);
    std::memcpy(path, image->filename, length);
    path[length] = '\0';
    image->file = OpenFileStream(path, mode);
  }
  if (image->file == nullptr) return 0;
  ShareFile(image, image->file);
  return 1;
}

int32_t CloseImageFile(ImageRecord* image) {
  int32_t status = 0;
  if (image->file != nullptr) {
    if (auto close = Callback(image, &StreamCallbacks::close))
      status = close(image);
    else
      status = CloseFileStream(Stream(image));
    image->file = nullptr;
  }
  ShareFile(image, nullptr);
  return status;
}

// Without a table slot and without an open file there is no stream to hand
// to the runtime: the transfers then move nothing and the positioning
// operations report failure.
uint32_t ReadImageBytes(ImageRecord* image, uint32_t length, void* destination) {
  if (auto read = Callback(image, &StreamCallbacks::read)) return read(image, destination, length);
  if (image->file == nullptr) return 0;
  return static_cast<uint32_t>(ReadStreamItems(destination, 1, length, Stream(image)));
}

uint32_t WriteImageBytes(ImageRecord* image, uint32_t length, const void* source) {
  if (auto write = Callback(image, &StreamCallbacks::write)) return write(image, source, length);
  if (image->file == nullptr) return 0;
  return static_cast<uint32_t>(WriteStreamItems(source, 1, length, Stream(image)));
}

int32_t ReadImageByte(ImageRecord* image) {
  if (image == nullptr) return -1;
  unsigned char byte = 0;
  if (ReadImageBytes(image, 1, &byte) != 1) return -1;
  return byte;
}

uint32_t WriteImageByte(ImageRecord* image, int32_t value) {
  unsigned char byte = static_cast<unsigned char>(value & 0xFF);
  return WriteImageBytes(image, 1, &byte);
}

uint32_t ReadCountedBytes(ImageRecord* image, unsigned char* destination) {
  unsigned char count = 0;
  if (ReadImageBytes(image, 1, &count) != 1) return 0;
  if (count == 0) return 0;
  return ReadImageBytes(image, count, destination);
}

int32_t SkipCountedBytes(ImageRecord* image) {
  unsigned char count = 0;
  uint32_t got = 0;
  if (auto read = Callback(image, &StreamCallbacks::read))
    got = read(image, &count, 1);
  else if (image->file != nullptr)
    got = static_cast<uint32_t>(ReadStreamItems(&count, 1, 1, Stream(image)));
  if (got == 0 || count == 0) return 0;
  if (auto seek = Callback(image, &StreamCallbacks::seek)) {
    seek(image, count, SEEK_CUR);
    return seek(image, 0, SEEK_CUR);
  }
  if (image->file == nullptr) return -1;
  if (SeekFileStream(Stream(image), count, SEEK_CUR) == -1) return -1;
  return static_cast<int32_t>(TellFileStream(Stream(image)));
}

int32_t SeekImageFile(ImageRecord* image, int32_t offset, int32_t origin) {
  if (auto seek = Callback(image, &StreamCallbacks::seek)) {
    seek(image, offset, origin);
  } else {
    if (image->file == nullptr) return -1;
    if (SeekFileStream(Stream(image), offset, origin) == -1) return -1;
  }
  return TellImageFile(image);
}

int32_t TellImageFile(ImageRecord* image) {
  if (image->file == nullptr) return -1;
  if (auto seek = Callback(image, &StreamCallbacks::seek)) return seek(image, 0, SEEK_CUR);
  return static_cast<int32_t>(TellFileStream(Stream(image)));
}

int32_t GetImageFileSize(ImageRecord* image) {
  if (auto size_of = Callback(image, &StreamCallbacks::sizeOf)) return size_of(image);
  if (image->file == nullptr) return 0;
  PixbaseStatus status;
  if (StatDescriptor(GetStreamDescriptor(Stream(image)), &status) != 0) return 0;
  return static_cast<int32_t>(status.st_size);
}

int32_t FlushImageFile(ImageRecord* image) {
  if (image->file == nullptr) return 0;
  if (auto flush = Callback(image, &StreamCallbacks::flush)) return flush(image);
  return FlushFileStream(Stream(image));
}

int32_t ImageFileAtEnd(ImageRecord* image) {
  if (auto at_end = Callback(image, &StreamCallbacks::atEnd)) return at_end(image);
  if (image->file == nullptr) return 1;  // no data at all
  return StreamAtEnd(Stream(image));
}

uint32_t ReadLittleEndianLong(ImageRecord* image) {
  unsigned char b[4];
  if (!ReadExactly(image, b, 4)) return 0xFFFFFFFFu;
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

uint16_t ReadLittleEndianShort(ImageRecord* image) {
  unsigned char b[2];
  if (!ReadExactly(image, b, 2)) return 0xFFFF;
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t ReadBigEndianLong(ImageRecord* image) {
  unsigned char b[4];
  if (!ReadExactly(image, b, 4)) return 0xFFFFFFFFu;
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | uint32_t{b[3]};
}

uint16_t ReadBigEndianShort(ImageRecord* image) {
  unsigned char b[2];
  if (!ReadExactly(image, b, 2)) return 0xFFFF;
  return static_cast<uint16_t>(b[0] << 8 | b[1]);
}

uint32_t WriteLittleEndianLong(ImageRecord* image, uint32_t value) {
  unsigned char b[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                        static_cast<unsigned char>(value >> 16),
                        static_cast<unsigned char>(value >> 24)};
  return WriteImageBytes(image, 4, b);
}

uint32_t WriteLittleEndianShort(ImageRecord* image, uint32_t value) {
  unsigned char b[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
  return WriteImageBytes(image, 2, b);
}

uint32_t WriteBigEndianLong(ImageRecord* image, uint32_t value) {
  unsigned char b[4] = {static_cast<unsigned char>(value >> 24),
                        static_cast<unsigned char>(value >> 16),
                        static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
  return WriteImageBytes(image, 4, b);
}

uint32_t WriteBigEndianShort(ImageRecord* image, uint32_t value) {
  unsigned char b[2] = {static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
  return WriteImageBytes(image, 2, b);
}

void ReverseLongBytes(void* buffer, uint32_t length) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  for (uint32_t at = 0; length >= 4 && at <= length - 4; at += 4) {
    std::swap(bytes[at], bytes[at + 3]);
    std::swap(bytes[at + 1], bytes[at + 2]);
  }
}

void ReverseShortBytes(void* buffer, uint32_t length) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  for (uint32_t at = 0; length >= 2 && at <= length - 2; at += 2)
    std::swap(bytes[at], bytes[at + 1]);
}

int32_t IsFileReadable(const char* path) {
  if (path == nullptr || *path == '\0') return 0;
  FILE* stream = OpenFileStream(path, ReadModeText);
  if (stream == nullptr) return 0;
  ReadStreamChar(stream);
  bool readable = StreamAtEnd(stream) == 0 && StreamHasError(stream) == 0;
  CloseFileStream(stream);
  return readable ? 1 : 0;
}

int32_t IsDirectoryPath(const char* path) {
  if (path == nullptr || *path == '\0') return 0;
  PixbaseStatus status;
  if (StatPath(path, &status) != 0) return 0;
  return (status.st_mode & 0xF000) == 0x4000 ? 1 : 0;
}

}  // extern "C"
