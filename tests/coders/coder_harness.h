// What the coder tests share: the modules loaded through the kernel's
// loader, netpbm run at test time, pictures compared pixel by pixel, and
// decoding and encoding through the coder convention.
#ifndef LUMAVIEW_TESTS_CODERS_CODER_HARNESS_H
#define LUMAVIEW_TESTS_CODERS_CODER_HARNESS_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pixbase/pixbase.h"

namespace lumaview::testing {

// Loads VELOPNM and VELOBMP from the build's coder folder (once).
void LoadCoders();

// A path in a scratch folder of this test program.
std::string Scratch(const std::string& name);
// Runs a shell command; fails the test when it does not exit with 0.
void Shell(const std::string& command);
std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);

// A picture as 0x00RRGGBB values, and for decoded pictures the fourth byte
// of each pixel apart.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> rgb;
  std::vector<uint8_t> fourth;
};

// The picture that a command printing a plain PNM (P1, P2 or P3, maxval
// 255 or 1) gives: how netpbm reads a file.
Picture Netpbm(const std::string& command);
// The picture of a decoded image.
Picture PictureOf(const ImageRecord* image);
// Equal sizes and colours; the first difference otherwise.
::testing::AssertionResult SameColours(const Picture& expected, const Picture& actual);

// An image list decoded through a format's read procedure, destroyed with
// the list.
class Decoded {
 public:
  Decoded(const char* format, const std::string& path);
  ~Decoded() { DestroyImageList(image_); }
  Decoded(const Decoded&) = delete;
  Decoded& operator=(const Decoded&) = delete;

  int32_t result() const { return result_; }
  ImageRecord* image() const { return image_; }
  const ExceptionReport& report() const { return image_->report; }
  std::string reason() const { return image_->report.reason ? image_->report.reason : ""; }
  int frames() const;

 private:
  ImageRecord* image_ = nullptr;
  int32_t result_ = 0;
};

// Writes the picture (and any alpha as the fourth bytes) through a format's
// write procedure; the procedure's result.
int32_t Encode(const char* format, const Picture& picture, const std::string& path,
               const char* encoding = nullptr);

}  // namespace lumaview::testing

#endif
