/*
 * Geometry texts and page sizes.
 *
 * A geometry text is a width, the letter x, a height, then optional signed x
 * and y offsets, as in 640x480+10+20. Page names (A4, Letter, ...) translate
 * to geometries in points (1/72 inch) by a fixed table.
 */
#ifndef PIXBASE_GEOMETRY_H
#define PIXBASE_GEOMETRY_H

#include "api.h"

PIXBASE_BEGIN_DECLS

/* The parts that ReadGeometry found; 0 means the text is no geometry. */
enum {
  GeometryHasX = 1,      /* an x offset was given */
  GeometryHasY = 2,      /* a y offset was given */
  GeometryHasWidth = 4,  /* a width was given */
  GeometryHasHeight = 8, /* a height was given */
  GeometryXMinus = 16,   /* the x offset was written with a minus sign */
  GeometryYMinus = 32    /* the y offset was written with a minus sign */
};

/* Parses a geometry text: optional leading white space and '=', then
 * [width][x|X height][+|-x[+|-y]], each number decimal (fractions and
 * exponents accepted) truncated toward zero and held to the 32-bit range.
 * "0x0" sets all four outputs to 0 and gives 15. Writes only the outputs
 * whose flags are set, and nothing when it returns 0 (for any text with
 * bytes left over). */
int32_t PIXBASE_CALL ReadGeometry(const char* text, int32_t* x, int32_t* y, int32_t* width,
                                  int32_t* height);
/* A new text (released with ReleaseMemory) with room for the input's length
 * plus PIXBASE_TEXT_EXTENT bytes: for a text that begins with a page name
 * (the longest such name, without regard to case) the page's geometry
 * followed by the rest of the text, as "A4+10+10" gives "595x842>+10+10";
 * otherwise the text itself, upper-cased unless it begins with a digit.
 * Empty for a null text. Raises "Unable to translate page geometry" when out
 * of memory. */
char* PIXBASE_CALL TranslatePageGeometry(const char* page);

PIXBASE_END_DECLS

#endif
