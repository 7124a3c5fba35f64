// Path helpers of setup, the owners of every walk over a path or a
// directory: backslash search, cutting and case-blind comparison that step
// over the double-byte characters of the ANSI code page; the drive-only test;
// the directory walker; path existence; tree deletion; integer parsing; the
// write test of a directory.
#ifndef LUMAVIEW_SETUP_COMMON_PATHS_H
#define LUMAVIEW_SETUP_COMMON_PATHS_H

#include <cstddef>
#include <functional>

#include "platform/platform.h"

namespace setup {

// --- Walking a path by characters -------------------------------------------
// The last backslash of the path that is a character of its own (never the
// second byte of a double-byte character), or null.
const char* FindLastBackslash(const char* path);
char* FindLastBackslash(char* path);
// The first such backslash at or after `from`, or null.
const char* FindNextBackslash(const char* from);
char* FindNextBackslash(char* from);
// Cuts the path at its last backslash: after it when `keep_backslash`,
// before it otherwise. False (nothing cut) when it has none.
bool CutAtLastBackslash(char* path, bool keep_backslash);
// True when the path's last character is a backslash.
bool EndsWithBackslash(const char* path);
// Appends a backslash unless the path is empty or already ends with one.
void EnsureTrailingBackslash(char* path, std::size_t size);
// Case-blind comparison of two paths: ASCII letters fold, double-byte
// characters compare byte for byte.
bool SamePath(const char* a, const char* b);

// --- Directories -----------------------------------------------------------------
// "X:" alone: a drive, which is entered, never created or logged.
bool IsDriveOnly(const char* prefix);
// Calls `visit` for every entry of the directory whose name does not start
// with a dot. False when the directory could not be searched (missing, or
// its search pattern would not fit).
bool ForEachEntry(const char* directory,
                  const std::function<void(const platform::FoundEntry& entry)>& visit);
// 1 when the path names an existing file or, for a path ending in a
// backslash, an existing directory.
int PathExists(const char* path);
// True when the path (with or without a trailing backslash) names an
// existing directory.
bool DirectoryExists(const char* path);
// Deletes the directory with everything below it. Entries whose names start
// with a dot are passed over (and keep their directory); read-only files
// are made writable first; junctions and symbolic links are removed, never
// followed; single failures are ignored.
void DeleteTree(const char* path);
// 1 when a 128-byte test file could be written into the directory. The file
// is "Test.txt" or, when that name is taken, the first free one of
// "Test1.txt" to "Test99.txt"; it is created only when it does not exist and
// deleted again, so no file of the user's is ever truncated or deleted.
int DirectoryWritable(const char* directory);

// --- Numbers ------------------------------------------------------------------------
// Decimal conversion: optional leading white space, optional sign, digits up
// to the first non-digit; no digits give 0. Values beyond the range of int
// are held at its limits.
int ParseInteger(const char* text);

}  // namespace setup

#endif
