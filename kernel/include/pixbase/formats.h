/*
 * The format registry: the process-wide list of image formats that coder
 * modules register, searched from the front without regard to letter case,
 * and the decision of a file's format by its extension and its first bytes.
 */
#ifndef PIXBASE_FORMATS_H
#define PIXBASE_FORMATS_H

#include "api.h"

PIXBASE_BEGIN_DECLS

/* The number of leading file bytes a content test receives, and the header
 * length it is always given. */
#define PIXBASE_HEADER_PROBE_LENGTH 2148

/* Content tests: non-zero when the data is of the entry's format. */
typedef int32_t(PIXBASE_CALL* FormatProbeWithName)(const char* path, const char* extension,
                                                   const unsigned char* header, uint32_t length);
typedef int32_t(PIXBASE_CALL* FormatProbeHeader)(const unsigned char* header, uint32_t length);

typedef struct FormatEntry {
  char* name; /* owned; for example the files' extension */
  /* For the coder and its clients (coders.h says what this distribution's
   * modules keep there). Pointer-wide so that a native 64-bit build can hold
   * procedure addresses in them; on the 32-bit target these are the same
   * three 32-bit words. */
  uintptr_t reserved1[3];
  FormatProbeWithName probeWithName; /* tried first when set */
  FormatProbeHeader probeHeader;     /* tried when there is no probeWithName */
  uint32_t reserved2;
  uint32_t reserved3[2]; /* 1, 1 at allocation */
  uint32_t reserved4[3];
  char* ownedText1; /* owned; released with the entry */
  char* ownedText2; /* owned; released with the entry */
  uint32_t reserved5;
  struct FormatEntry* previous;
  struct FormatEntry* next;
} FormatEntry;
PIXBASE_CHECK_LAYOUT(sizeof(FormatEntry) == 68, "FormatEntry is 68 bytes");
PIXBASE_CHECK_LAYOUT(offsetof(FormatEntry, reserved1) == 4, "reserved1 at 4");
PIXBASE_CHECK_LAYOUT(sizeof(((FormatEntry*)0)->reserved1) == 12, "reserved1 is three words");
PIXBASE_CHECK_LAYOUT(offsetof(FormatEntry, probeWithName) == 16, "probeWithName at 16");
PIXBASE_CHECK_LAYOUT(offsetof(FormatEntry, reserved3) == 28, "reserved3 at 28");
PIXBASE_CHECK_LAYOUT(offsetof(FormatEntry, ownedText1) == 48, "ownedText1 at 48");
PIXBASE_CHECK_LAYOUT(offsetof(FormatEntry, previous) == 60, "previous at 60");

/* A new, unregistered entry holding a copy of `name`. */
FormatEntry* PIXBASE_CALL AllocateFormatEntry(const char* name);
/* Appends the entry, which the registry owns from now on; an entry of the
 * same name is removed first. Returns the entry. */
FormatEntry* PIXBASE_CALL RegisterFormatEntry(FormatEntry* entry);
/* 1 when an entry of the name was removed and released, else 0. */
int32_t PIXBASE_CALL UnregisterFormatEntry(const char* name);
/* The entry of the name, or null; for a null or empty name the first entry. */
FormatEntry* PIXBASE_CALL FindFormatEntry(const char* name);
FormatEntry* PIXBASE_CALL FirstFormatEntry(void);
/* Releases every entry. */
void PIXBASE_CALL DestroyFormatRegistry(void);
/* The name of the first entry whose content test accepts the header, or null.
 * The texts point into the registry. */
const char* PIXBASE_CALL MatchFormatByContent(const char* path, const char* extension,
                                              const unsigned char* header);
/* 1 with the accepting format's name copied into `destination`, else 0. The
 * length is not used: tests always receive PIXBASE_HEADER_PROBE_LENGTH. */
int32_t PIXBASE_CALL IdentifyFormatByContent(const char* path, const char* extension,
                                             const unsigned char* header, uint32_t length,
                                             char* destination);
/* 1 when the format of the file is decided, with its name in `destination`
 * (PIXBASE_TEXT_EXTENT bytes), else 0. */
int32_t PIXBASE_CALL DetectImageFormat(const char* path, char* destination);
/* Sets the module directory list to a copy of the configure path and returns
 * that copy. */
const char* PIXBASE_CALL InitializeModuleDirectories(void);

PIXBASE_END_DECLS

#endif
