/*
 * The exported constant texts: pointer variables bound to data ordinals, each
 * pointing to a constant, zero-terminated text that clients read.
 */
#ifndef PIXBASE_CONSTANT_TEXTS_H
#define PIXBASE_CONSTANT_TEXTS_H

#include "api.h"

PIXBASE_BEGIN_DECLS

PIXBASE_DATA const char* AppendModeText;    /* "ab" */
PIXBASE_DATA const char* LightGrayText;     /* "#dfdfdf" */
PIXBASE_DATA const char* LightGrayText2;    /* the same text as LightGrayText */
PIXBASE_DATA const char* TwelveText;        /* "12" */
PIXBASE_DATA const char* SmallGeometryText; /* "15x15+3+3" */
PIXBASE_DATA const char* LargeGeometryText; /* "106x106+4+3>" */
PIXBASE_DATA const char* EscapeFormatText;  /* "%f\n%wx%h\n%b" */
PIXBASE_DATA const char* BlackText;         /* "#000000" */
PIXBASE_DATA const char* LoadingOneText;    /* "  Loading image...  " */
PIXBASE_DATA const char* LoadingManyText;   /* "  Loading images...  " */
PIXBASE_DATA const char* MidGrayText;       /* "#bdbdbd" */
PIXBASE_DATA const char* GeometryText72;    /* "72x72" */
PIXBASE_DATA const char* PageGeometryText;  /* "612x792>" */
PIXBASE_DATA const char* ReadModeText;      /* "rb" */
PIXBASE_DATA const char* ReadModeTextU;     /* "rbu" */
PIXBASE_DATA const char* SavingOneText;     /* "  Saving image...  " */
PIXBASE_DATA const char* SavingManyText;    /* "  Saving images...  " */
PIXBASE_DATA const char* WriteModeText;     /* "wb" */

PIXBASE_END_DECLS

#endif
