// The texts of the portable anymap coder: its formats, and the reasons it
// records in an image's report (used by the module and its tests alike).
#ifndef LUMAVIEW_CODERS_PNM_PNM_TEXTS_H
#define LUMAVIEW_CODERS_PNM_PNM_TEXTS_H

namespace lumaview::coders::pnm {

// Errors (CoderDataError): nothing to show.
inline constexpr char kImproperHeader[] = "Improper PNM image header";
inline constexpr char kUnsupportedImage[] = "Unsupported PNM image";
inline constexpr char kNoImageData[] = "Insufficient PNM image data";
// Warnings (CoderDataWarning): the picture is shown as far as it goes.
inline constexpr char kTruncatedImage[] = "Truncated PNM image";
inline constexpr char kCorruptImage[] = "Corrupt PNM image";
// Writing (CoderDataError).
inline constexpr char kUnableToWrite[] = "Unable to write PNM image";

// The image attribute that selects the plain (text) form when writing a
// bitmap, greymap or pixmap: "Encoding" = "plain".
inline constexpr char kEncodingAttribute[] = "Encoding";
inline constexpr char kPlainEncoding[] = "plain";
// Comments of the file's header are kept in, and written from, this
// attribute, one comment line per line of text.
inline constexpr char kCommentAttribute[] = "Comment";

}  // namespace lumaview::coders::pnm

#endif
