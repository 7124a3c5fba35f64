// Reading the uninstall log of "Lumaview.INI" (written by setup): the
// [UNINSTALL] counts and entries, UNINSTALLPATH and FASTLINK, and [INSTALL]
// GROUP. The file is plain text anyone can edit: counts are bounded, and a
// missing, empty or overlong entry is noted and passed over.
#ifndef LUMAVIEW_UNINSTALL_LOG_READER_H
#define LUMAVIEW_UNINSTALL_LOG_READER_H

#include <cstddef>

#include "core/places.h"
#include "core/report.h"

namespace uninstall {

// The most entries of each kind read from a log; a larger count is cut to
// this (setup's copy has no limit of its own, so this is generous).
constexpr int kEntryLimit = 65536;
// Room for reading one value: longer than any usable path, so an overlong
// value is seen as such instead of being cut into another path.
constexpr std::size_t kValueSize = 1024;

struct LogHeader {
  char install_folder[kValueSize];  // UNINSTALLPATH
  char group[80];                   // [INSTALL] GROUP, as setup reads it
  char fastlink[kValueSize];        // [UNINSTALL] FASTLINK, empty when none
  int file_count;                   // FILENUM, bounded to 0..kEntryLimit
  int directory_count;              // PATHNUM, the same
};

enum class LogStatus {
  Missing,  // no settings file, or nothing of an uninstall log in it
  Ready,
};

// Reads the header; bad counts are noted in the report.
LogStatus ReadLogHeader(LogHeader* header, Report* report);

enum class EntryKind { File, Directory };
// Reads FILEn or DIRn into `buffer` (kValueSize bytes). False when the entry
// is missing or empty (noted in the report).
bool ReadLogEntry(EntryKind kind, int index, char* buffer, Report* report);

}  // namespace uninstall

#endif
