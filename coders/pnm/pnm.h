// The portable anymap coder: the bitmap (P1, P4), greymap (P2, P5) and
// pixmap (P3, P6) in their plain and raw forms, and the arbitrary map (P7)
// with its tuple types; 1 to 65535 as the largest sample value.
#ifndef LUMAVIEW_CODERS_PNM_PNM_H
#define LUMAVIEW_CODERS_PNM_PNM_H

#include <cstdint>
#include <string>

#include "image_reader.h"
#include "pixbase/pixbase.h"

namespace lumaview::coders::pnm {

// What a pixel's samples are, and so how a row reaches ImportPixelSamples.
enum class Tuple { Bitmap, Grey, GreyAlpha, RGB, RGBAlpha, CMYK };

struct Header {
  char magic = 0;      // '1' to '7'
  bool plain = false;  // text samples (P1, P2, P3)
  int64_t width = 0;
  int64_t height = 0;
  uint32_t maxval = 1;  // 1 for bitmaps
  uint32_t depth = 1;   // samples per pixel in the file
  Tuple tuple = Tuple::Bitmap;
  std::string comment;  // the header's comments, one line each
};

// The largest number of samples per pixel of an arbitrary map.
inline constexpr uint32_t kMaximumDepth = 64;
// The most comment text kept from one header.
inline constexpr size_t kMaximumComment = 4096;

// Reads a header from "P" on. False with the fault recorded in the image.
bool ReadHeader(ImageReader& reader, ImageRecord* image, Header* header);

// The coder convention's procedures.
int32_t PIXBASE_CALL ReadPNMImage(ImageRecord* image);
int32_t PIXBASE_CALL WritePBMImage(ImageRecord* image);
int32_t PIXBASE_CALL WritePGMImage(ImageRecord* image);
int32_t PIXBASE_CALL WritePPMImage(ImageRecord* image);
int32_t PIXBASE_CALL WritePAMImage(ImageRecord* image);
// The most compact of bitmap, greymap and pixmap that holds the pixels.
int32_t PIXBASE_CALL WritePNMImage(ImageRecord* image);

// Content tests: the magic numbers of each format's files.
int32_t PIXBASE_CALL IsPBM(const unsigned char* header, uint32_t length);
int32_t PIXBASE_CALL IsPGM(const unsigned char* header, uint32_t length);
int32_t PIXBASE_CALL IsPPM(const unsigned char* header, uint32_t length);
int32_t PIXBASE_CALL IsPAM(const unsigned char* header, uint32_t length);
int32_t PIXBASE_CALL IsPNM(const unsigned char* header, uint32_t length);

}  // namespace lumaview::coders::pnm

#endif
