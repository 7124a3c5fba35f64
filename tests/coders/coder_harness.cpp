// The coder tests' harness.
#include "coder_harness.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumaview::testing {

void LoadCoders() {
  static bool loaded = false;
  if (loaded) return;
  UpdateConfigurePath(LUMAVIEW_CODER_DIR);
  InitializeModuleDirectories();
  ASSERT_EQ(LoadCoderModule("PNM"), 1);
  ASSERT_EQ(LoadCoderModule("BMP"), 1);
  loaded = true;
}

std::string Scratch(const std::string& name) {
  static const std::string folder = [] {
    std::string path = ::testing::TempDir() + "lumaview_coders_" + std::to_string(getpid());
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder + "/" + name;
}

void Shell(const std::string& command) {
  std::string quiet = "(" + command + ") 2>/dev/null";
  ASSERT_EQ(std::system(quiet.c_str()), 0) << command;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

// The next white-space separated token of a plain PNM text, skipping
// comments; a bitmap's digits are taken one at a time.
bool NextToken(const std::string& text, size_t* at, std::string* token, bool single) {
  while (*at < text.size()) {
    char c = text[*at];
    if (c == '#') {
      while (*at < text.size() && text[*at] != '\n') ++*at;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++*at;
    } else {
      break;
    }
  }
  if (*at >= text.size()) return false;
  size_t end = *at + 1;
  if (!single)
    while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
  *token = text.substr(*at, end - *at);
  *at = end;
  return true;
}

}  // namespace

Picture Netpbm(const std::string& command) {
  std::string output = Scratch("netpbm_output.txt");
  Shell("(" + command + ") > " + output);
  std::string text = ReadAll(output);
  Picture picture;
  size_t at = 0;
  std::string token;
  if (!NextToken(text, &at, &token, false)) {
    ADD_FAILURE() << "no output from " << command;
    return picture;
  }
  const char kind = token.size() == 2 ? token[1] : '?';
  EXPECT_TRUE(kind == '1' || kind == '2' || kind == '3') << command << " gave " << token;
  NextToken(text, &at, &token, false);
  picture.width = std::stoi(token);
  NextToken(text, &at, &token, false);
  picture.height = std::stoi(token);
  uint32_t maxval = 1;
  if (kind != '1') {
    NextToken(text, &at, &token, false);
    maxval = static_cast<uint32_t>(std::stoul(token));
  }
  EXPECT_TRUE(kind == '1' || maxval == 255) << command << " has maxval " << maxval;
  const size_t count = static_cast<size_t>(picture.width) * picture.height;
  for (size_t i = 0; i < count; ++i) {
    uint32_t samples[3] = {0, 0, 0};
    const int channels = kind == '3' ? 3 : 1;
    for (int c = 0; c < channels; ++c) {
      if (!NextToken(text, &at, &token, kind == '1')) {
        ADD_FAILURE() << command << " printed too few samples";
        return picture;
      }
      samples[c] = static_cast<uint32_t>(std::stoul(token));
    }
    uint32_t rgb;
    if (kind == '1') {
      rgb = samples[0] ? 0 : 0xFFFFFF;
    } else if (kind == '2') {
      rgb = samples[0] << 16 | samples[0] << 8 | samples[0];
    } else {
      rgb = samples[0] << 16 | samples[1] << 8 | samples[2];
    }
    picture.rgb.push_back(rgb);
  }
  return picture;
}

Picture PictureOf(const ImageRecord* image) {
  Picture picture;
  if (image == nullptr || image->pixels == nullptr) return picture;
  picture.width = image->width;
  picture.height = image->height;
  const size_t count = static_cast<size_t>(image->width) * image->height;
  for (size_t i = 0; i < count; ++i) {
    picture.rgb.push_back(image->pixels[i] & 0xFFFFFFu);
    picture.fourth.push_back(static_cast<uint8_t>(image->pixels[i] >> 24));
  }
  return picture;
}

::testing::AssertionResult SameColours(const Picture& expected, const Picture& actual) {
  if (expected.width != actual.width || expected.height != actual.height)
    return ::testing::AssertionFailure()
           << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
           << "x" << expected.height;
  if (expected.rgb.size() != actual.rgb.size())
    return ::testing::AssertionFailure() << "pixel counts differ";
  for (size_t i = 0; i < expected.rgb.size(); ++i)
    if (expected.rgb[i] != actual.rgb[i]) {
      char text[96];
      std::snprintf(text, sizeof text, "pixel (%zu, %zu) is %06X, expected %06X",
                    i % static_cast<size_t>(expected.width),
                    i / static_cast<size_t>(expected.width), actual.rgb[i], expected.rgb[i]);
      return ::testing::AssertionFailure() << text;
    }
  return ::testing::AssertionSuccess();
}

Decoded::Decoded(const char* format, const std::string& path) {
  LoadCoders();
  image_ = AllocateImage();
  std::snprintf(image_->filename, sizeof image_->filename, "%s", path.c_str());
  CoderInfo coder = CoderOf(FindFormatEntry(format));
  if (coder.read == nullptr) {
    ADD_FAILURE() << "no read procedure for " << format;
    return;
  }
  if (OpenImageFile(image_, "rb") != 1) {
    ADD_FAILURE() << "cannot open " << path;
    return;
  }
  result_ = coder.read(image_);
}

int Decoded::frames() const {
  int count = 0;
  for (const ImageRecord* frame = image_; frame != nullptr; frame = frame->next) ++count;
  return count;
}

int32_t Encode(const char* format, const Picture& picture, const std::string& path,
               const char* encoding) {
  LoadCoders();
  CoderInfo coder = CoderOf(FindFormatEntry(format));
  if (coder.write == nullptr) {
    ADD_FAILURE() << "no write procedure for " << format;
    return 0;
  }
  ImageRecord* image = AllocateImage();
  std::snprintf(image->filename, sizeof image->filename, "%s", path.c_str());
  std::vector<PackedPixel> pixels(picture.rgb.size());
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] =
        picture.rgb[i] | (i < picture.fourth.size() ? uint32_t{picture.fourth[i]} << 24 : 0);
  image->width = picture.width;
  image->height = picture.height;
  image->pixels = pixels.data();
  if (encoding != nullptr) SetImageAttribute(image, "Encoding", encoding);
  int32_t result = 0;
  if (OpenImageFile(image, "wb") == 1) {
    result = coder.write(image);
    CloseImageFile(image);
  } else {
    ADD_FAILURE() << "cannot create " << path;
  }
  DestroyImage(image);
  return result;
}

}  // namespace lumaview::testing
