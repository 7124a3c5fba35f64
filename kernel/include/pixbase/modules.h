/*
 * Coder modules: shared libraries named "VELO<tag>.dll" in the module
 * directories, whose entry points "Register<tag>Image" and
 * "Unregister<tag>Image" add and remove their formats, and the list of the
 * loaded modules, searched from the front without regard to letter case.
 */
#ifndef PIXBASE_MODULES_H
#define PIXBASE_MODULES_H

#include "api.h"

PIXBASE_BEGIN_DECLS

#define PIXBASE_MODULE_SIGNATURE 0xCAFEu

typedef struct ModuleEntry {
  char* name;         /* owned: the tag the module was loaded under */
  void* handle;       /* the platform's library handle */
  int32_t loadTime;   /* seconds since 1970-01-01 */
  uint32_t signature; /* 0xCAFE once linked behind another entry */
  struct ModuleEntry* previous;
  struct ModuleEntry* next;
} ModuleEntry;
PIXBASE_CHECK_LAYOUT(sizeof(ModuleEntry) == 24, "ModuleEntry is 24 bytes");
PIXBASE_CHECK_LAYOUT(offsetof(ModuleEntry, signature) == 12, "signature at 12");

/* A running search of one directory for module files. */
typedef struct ModuleScan ModuleScan;

/* Listing and loading. */
/* A new null-terminated array of new texts: the tags of the module files in
 * the module directories; null when the array, or the search record of a
 * directory, cannot be had. */
char** PIXBASE_CALL ListCoderModules(void);
int32_t PIXBASE_CALL LoadCoderModule(const char* tag);
/* The number of tags listed, each tried with LoadCoderModule. */
int32_t PIXBASE_CALL LoadAllCoderModules(void);
int32_t PIXBASE_CALL UnloadCoderModule(const char* tag);
void PIXBASE_CALL UnloadAllCoderModules(void);

/* The module list. */
ModuleEntry* PIXBASE_CALL AllocateModuleEntry(const char* tag);
ModuleEntry* PIXBASE_CALL InsertModuleEntry(ModuleEntry* entry);
ModuleEntry* PIXBASE_CALL FindModuleEntry(const char* tag);
int32_t PIXBASE_CALL RemoveModuleEntry(const char* tag);
void PIXBASE_CALL FreeModuleList(void);

/* Names and symbols. */
/* A new text of PIXBASE_TEXT_EXTENT bytes: the tag itself when it begins with
 * "VELO" (any case), else "VELO<tag>.dll". */
char* PIXBASE_CALL ModuleFileName(const char* tag);
/* Prints `pattern` with the tag into `destination`, which must hold it. */
int32_t PIXBASE_CALL FormatModuleSymbol(const char* tag, const char* pattern, char* destination);

/* Libraries. */
void PIXBASE_CALL SetLibrarySearchPath(const char* path);
/* Without a search path, or for an absolute name ("C:\...", "\\server\..."
 * on Win32, "/..." natively), loads the name as given; otherwise tries each
 * element of the search path joined with the name (a relative name with
 * separators included) and returns the first library that loads, or null. */
void* PIXBASE_CALL LoadLibraryOnPath(const char* name);
int32_t PIXBASE_CALL ReleaseLibrary(void* handle);
void* PIXBASE_CALL FindLibrarySymbol(void* handle, const char* symbol);
/* A new text describing the platform's last error. */
char* PIXBASE_CALL ModuleErrorText(void);
int32_t PIXBASE_CALL ReturnZero(void);

/* Directory search. */
ModuleScan* PIXBASE_CALL OpenModuleScan(const char* directory);
/* The next file name, in a buffer shared by all searches, or null. */
const char* PIXBASE_CALL NextModuleScanName(ModuleScan* scan);
void PIXBASE_CALL CloseModuleScan(ModuleScan* scan);

PIXBASE_END_DECLS

#endif
