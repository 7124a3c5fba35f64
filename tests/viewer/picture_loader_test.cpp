// Loading pictures through the kernel and a coder module (VELOVTEST, built
// beside the tests): the module found by the kernel's loader, the format
// decided by content, each outcome of a read with the kernel's reason,
// colour spaces brought to RGB, opacity blended for display, and stepping
// through a real folder.
#include "core/picture_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/folder_walk.h"
#include "library.h"

namespace viewer {
namespace {

namespace fs = std::filesystem;

std::string ModuleFolder() {
  std::string library = lumaview::testing::BuiltLibraryPath();
  return library.substr(0, library.find_last_of("\\/") + 1) + "viewer-modules";
}

void PutLong(std::string& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
}

// A VTS file: signature, width, height, colour space, the pixels given.
std::string VtsBytes(int width, int height, int space, const std::vector<std::uint32_t>& pixels,
                     char version = '1') {
  std::string bytes = std::string("VTS") + version;
  PutLong(bytes, static_cast<std::uint32_t>(width));
  PutLong(bytes, static_cast<std::uint32_t>(height));
  PutLong(bytes, static_cast<std::uint32_t>(space));
  for (std::uint32_t pixel : pixels) PutLong(bytes, pixel);
  return bytes;
}

std::vector<std::uint32_t> Pixels(const Picture& picture) {
  const std::uint32_t* first = picture.pixels();
  return std::vector<std::uint32_t>(
      first, first + static_cast<std::size_t>(picture.width()) * picture.height());
}

class Loading : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { start_ = StartCoders(ModuleFolder()); }
  static void TearDownTestSuite() { StopCoders(); }

  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("viewer_loading_" + std::to_string(counter_++) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static CoderStart start_;
  static int counter_;
  fs::path folder_;
};
CoderStart Loading::start_;
int Loading::counter_ = 0;

TEST_F(Loading, TheModulesBesideAreLoadedWithTheirReadableFormats) {
  // VELOVTEST.dll, and VELOBROKEN.dll, a file that only looks like a module.
  EXPECT_EQ(start_.modules_listed, 2);
  EXPECT_EQ(start_.formats, ReadableFormats());
  EXPECT_NE(std::find(start_.formats.begin(), start_.formats.end(), "VTS"), start_.formats.end());
  EXPECT_EQ(std::find(start_.formats.begin(), start_.formats.end(), "VTN"), start_.formats.end());
  // The kernel's warning about the broken file is kept, not shown.
  ASSERT_EQ(start_.warnings.size(), 1u);
  EXPECT_EQ(start_.warnings[0].rfind("failed to load module \"", 0), 0u);
  EXPECT_NE(start_.warnings[0].find("VELOBROKEN.dll"), std::string::npos);
}

TEST_F(Loading, APictureReadsWithItsPixelsReadyForDisplay) {
  // Opaque, fully transparent and half transparent pixels.
  std::string path = Write("sea.pic", VtsBytes(3, 2, ColorspaceRGB,
                                               {0x00112233, 0xFF123456, 0x80FF0000,  //
                                                0x00000000, 0x00FFFFFF, 0x7F00FF00}));
  LoadOutcome outcome = LoadPicture(path);
  ASSERT_EQ(outcome.fault, LoadFault::None);
  ASSERT_TRUE(outcome.picture);
  const Picture& picture = *outcome.picture;
  EXPECT_EQ(picture.width(), 3);
  EXPECT_EQ(picture.height(), 2);
  EXPECT_EQ(picture.format(), "VTS");  // decided by content: the extension is not registered
  EXPECT_EQ(picture.path(), path);
  EXPECT_EQ(picture.warning(), "");
  // Over the background 0x40 in each channel, rounded: transparency 0x80
  // gives red (255 * 127 + 64 * 128) / 255 = 159.1, 0x7F gives green 159.9.
  EXPECT_EQ(Pixels(picture), (std::vector<std::uint32_t>{0x00112233, 0x00404040, 0x009F2020,
                                                         0x00000000, 0x00FFFFFF, 0x0020A020}));
}

TEST_F(Loading, OtherColourSpacesComeToRGB) {
  // CMYK through the kernel's direct arithmetic: cyan 50 with black 200
  // gives red 5; magenta and yellow 0 with black 200 give 55.
  LoadOutcome cmyk = LoadPicture(Write("ink.vts", VtsBytes(1, 1, ColorspaceCMYK, {0xC8320000})));
  ASSERT_TRUE(cmyk.picture);
  EXPECT_EQ(Pixels(*cmyk.picture), std::vector<std::uint32_t>{0x00053737});
  // YCbCr (128, 128, 128) through the kernel's tables gives (129, 127, 129).
  LoadOutcome ycc = LoadPicture(Write("video.vts", VtsBytes(1, 1, ColorspaceYCbCr, {0x00808080})));
  ASSERT_TRUE(ycc.picture);
  EXPECT_EQ(Pixels(*ycc.picture), std::vector<std::uint32_t>{0x00817F81});
}

TEST_F(Loading, ATruncatedPictureIsShownWithTheModulesWarning) {
  std::string bytes = VtsBytes(2, 2, ColorspaceRGB, {0x00AABBCC, 0x00DDEEFF, 0x00102030});
  LoadOutcome outcome = LoadPicture(Write("cut.vts", bytes.substr(0, bytes.size() - 2)));
  ASSERT_TRUE(outcome.picture);
  EXPECT_EQ(outcome.picture->warning(), "Unexpected end-of-file (pixels are missing)");
  EXPECT_EQ(Pixels(*outcome.picture),
            (std::vector<std::uint32_t>{0x00AABBCC, 0x00DDEEFF, 0x00000000, 0x00000000}));
}

TEST_F(Loading, FaultsOfTheDataCarryTheModulesReason) {
  LoadOutcome malformed = LoadPicture(Write("bad.vts", VtsBytes(0, 5, ColorspaceRGB, {})));
  EXPECT_FALSE(malformed.picture);
  EXPECT_EQ(malformed.fault, LoadFault::CoderFailed);
  EXPECT_EQ(malformed.format, "VTS");
  EXPECT_EQ(malformed.reason, "Improper image header");
  EXPECT_EQ(malformed.description, "impossible dimensions");

  LoadOutcome silent = LoadPicture(Write("silent.vts", VtsBytes(1, 1, 1, {0}, '9')));
  EXPECT_EQ(silent.fault, LoadFault::CoderFailed);
  EXPECT_EQ(silent.reason, "");

  LoadOutcome empty = LoadPicture(Write("nothing.vts", VtsBytes(1, 1, 1, {0}, '0')));
  EXPECT_EQ(empty.fault, LoadFault::NoPixels);
  EXPECT_FALSE(empty.picture);
}

TEST_F(Loading, FilesThatAreNoPictureOfAReadableFormat) {
  EXPECT_EQ(LoadPicture(Write("notes.txt", "just some words\n")).fault, LoadFault::UnknownFormat);
  LoadOutcome unreadable = LoadPicture(Write("other.vtn", "VTN1 and more"));
  EXPECT_EQ(unreadable.fault, LoadFault::NoReader);
  EXPECT_EQ(unreadable.format, "VTN");
  EXPECT_EQ(LoadPicture(Write("empty.vts", "")).fault, LoadFault::CannotRead);
  EXPECT_EQ(LoadPicture((folder_ / "missing.vts").string()).fault, LoadFault::CannotRead);
  std::string long_path = (folder_ / std::string(300, 'x')).string() + ".vts";
  EXPECT_EQ(LoadPicture(long_path).fault, LoadFault::NameTooLong);
}

TEST_F(Loading, TheFileIsNotHeldWhileThePictureIsShown) {
  std::string path = Write("held.vts", VtsBytes(1, 1, ColorspaceRGB, {0x00010203}));
  LoadOutcome outcome = LoadPicture(path);
  ASSERT_TRUE(outcome.picture);
  EXPECT_EQ(std::remove(path.c_str()), 0);
  EXPECT_EQ(Pixels(*outcome.picture), std::vector<std::uint32_t>{0x00010203});
}

TEST_F(Loading, TheHandlersAreRestoredAfterALoad) {
  ExceptionHandler error = InstallErrorHandler(nullptr);
  ExceptionHandler warning = InstallWarningHandler(nullptr);
  InstallErrorHandler(error);
  InstallWarningHandler(warning);
  LoadPicture(Write("bad.vts", "VTS1"));
  EXPECT_EQ(InstallErrorHandler(error), error);
  EXPECT_EQ(InstallWarningHandler(warning), warning);
}

TEST_F(Loading, SteppingVisitsOnlyWhatTheModulesRead) {
  Write("a.vts", VtsBytes(1, 1, ColorspaceRGB, {1}));
  Write("b.txt", "words");
  Write("c.vtn", "VTN1");
  Write("d.vts", VtsBytes(1, 1, ColorspaceRGB, {2}));
  std::string folder = folder_.string() + static_cast<char>(fs::path::preferred_separator);
  std::vector<std::string> names{"d.vts", "c.vtn", "b.txt", "a.vts"};
  OrderNames(names);
  auto showable = [&folder](const std::string& name) { return IsShowable(folder + name); };
  EXPECT_EQ(StepFrom(names, "a.vts", Step::Next, showable), "d.vts");
  EXPECT_EQ(StepFrom(names, "d.vts", Step::Next, showable), "a.vts");
  EXPECT_EQ(StepFrom(names, "a.vts", Step::Previous, showable), "d.vts");
  EXPECT_FALSE(IsShowable(folder + "missing.vts"));
}

TEST_F(Loading, UnloadedModulesTakeTheirFormatsAlong) {
  std::string path = Write("sea.vts", VtsBytes(1, 1, ColorspaceRGB, {3}));
  EXPECT_TRUE(StopCoders().empty());  // VELOVTEST has both entry points
  EXPECT_TRUE(ReadableFormats().empty());
  EXPECT_EQ(LoadPicture(path).fault, LoadFault::UnknownFormat);
  EXPECT_EQ(StartCoders(ModuleFolder()).formats, start_.formats);
  EXPECT_EQ(LoadPicture(path).fault, LoadFault::None);
}

TEST(FlattenOpacity, BlendsOverTheBackgroundAndClearsTheFourthByte) {
  std::uint32_t pixels[] = {0x00FFFFFF, 0xFFFFFFFF, 0x80FFFFFF, 0x01000000};
  FlattenOpacity(pixels, 4, 0x00000000);
  EXPECT_EQ(pixels[0], 0x00FFFFFFu);
  EXPECT_EQ(pixels[1], 0x00000000u);
  EXPECT_EQ(pixels[2], 0x007F7F7Fu);  // 255 * 127 / 255
  EXPECT_EQ(pixels[3], 0x00000000u);
}

}  // namespace
}  // namespace viewer
