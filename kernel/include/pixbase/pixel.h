/*
 * Pixel processing: conversion of packed pixels from other colour spaces to
 * RGB with its process-wide progress monitor, the line resampling and
 * smoothing helpers, and the unpacking of raw scan-line samples.
 */
#ifndef PIXBASE_PIXEL_H
#define PIXBASE_PIXEL_H

#include "api.h"
#include "image.h"

PIXBASE_BEGIN_DECLS

/* Called after each unit of work: (0, what is being done, position, span).
 * Non-zero to go on, zero to stop. */
typedef int32_t(PIXBASE_CALL* ProgressMonitor)(int32_t code, const char* text, int32_t position,
                                               int32_t span);

/* Rewrites every pixel of the image in place as RGB, `space` naming the space
 * the values are in now. 1 on success; 0 when the conversion tables could not
 * be had (recorded in the image's report, pixels unchanged). */
int32_t PIXBASE_CALL ConvertImageToRGB(ImageRecord* image, Colorspace space);

/* Hands the four arguments to the installed monitor and returns its answer,
 * or 1 when none is installed. */
int32_t PIXBASE_CALL ReportProgress(int32_t code, const char* text, int32_t position, int32_t span);
/* Installs a monitor (null for none) and returns the one it replaces. */
ProgressMonitor PIXBASE_CALL SetProgressMonitor(ProgressMonitor monitor);

/* Fills map[0..destination_length-1] with the source index each destination
 * position copies. */
void PIXBASE_CALL BuildResampleMap(int32_t source_length, int32_t destination_length, int32_t* map);
/* Softens a line of 0x00RRGGBB pixels in place: a 9-tap kernel for 10 pixels
 * or more, a 3-tap kernel for 4 to 9, nothing for fewer. */
void PIXBASE_CALL SmoothPixelLine(uint32_t* line, int32_t length);

/* Layout codes of ImportPixelSamples (pairs behave alike). */
typedef int32_t SampleLayout;
enum {
  SampleIndex = 0,
  SampleIndex1 = 1,
  SampleIndexAlpha = 2,
  SampleIndexAlpha3 = 3,
  SampleRed = 4,
  SampleRed5 = 5,
  SampleGreen = 6,
  SampleGreen7 = 7,
  SampleBlue = 8,
  SampleBlue9 = 9,
  SampleAlpha = 10,
  SampleBlack = 11,
  SampleRGB = 12,
  SampleRGBA = 13,
  SampleCMYK = 14
};

/* Unpacks `count` pixels of raw samples (one byte each, or two bytes of which
 * the first is used when `depth` is above 8) into `pixels`, filling the bytes
 * the layout names. Returns 1. */
int32_t PIXBASE_CALL ImportPixelSamples(int32_t count, int32_t depth, PackedPixel* pixels,
                                        const PackedPixel* color_map, SampleLayout layout,
                                        const uint8_t* source);

PIXBASE_END_DECLS

#endif
