// The texts of the Windows bitmap coder: the reasons it records in an
// image's report (used by the module and its tests alike).
#ifndef LUMAVIEW_CODERS_BMP_BMP_TEXTS_H
#define LUMAVIEW_CODERS_BMP_BMP_TEXTS_H

namespace lumaview::coders::bmp {

// Errors (CoderDataError): nothing to show.
inline constexpr char kImproperHeader[] = "Improper BMP image header";
inline constexpr char kUnsupportedImage[] = "Unsupported BMP image";
inline constexpr char kNoImageData[] = "Insufficient BMP image data";
// Warnings (CoderDataWarning): the picture is shown as far as it goes.
inline constexpr char kTruncatedImage[] = "Truncated BMP image";
inline constexpr char kCorruptImage[] = "Corrupt BMP image";
// Writing (CoderDataError).
inline constexpr char kUnableToWrite[] = "Unable to write BMP image";

}  // namespace lumaview::coders::bmp

#endif
