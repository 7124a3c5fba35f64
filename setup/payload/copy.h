// The copy engine: the payload members and then the FULLDATA files, copied
// in timed steps.
//
// Each step (CopyTick) opens at most one new item and then moves 512-byte
// chunks for up to 320 ms. Each created file and each new parent directory
// is logged for the uninstaller. The engine draws nothing: the copy dialog
// (ui/copy_dialog.cpp) runs the steps from its timer, shows the names the
// engine hands to its CopyDisplay and paints the bar from bar_value. A file
// that cannot be created or written is reported in a message box owned by
// the window given to BeginCopy.
#ifndef LUMAVIEW_SETUP_COPY_H
#define LUMAVIEW_SETUP_COPY_H

#include <cstdint>

#include "platform/platform.h"

namespace setup {

constexpr std::uint32_t kTickBudgetMs = 320;
constexpr std::size_t kCopyChunk = 512;
constexpr std::uint32_t kExtraFileGrowth = 4096;

// Every file below the FULLDATA directory, as paths relative to it.
struct ExtraFileList {
  char** entries;
  std::uint32_t capacity;
  std::uint32_t count;
  std::uint32_t size_sum;  // low 32 bits of each size, summed
};
extern ExtraFileList TheExtraFiles;

// Where the engine shows the item it works on; either hook may be null.
struct CopyDisplay {
  platform::Window owner;
  // The source of a newly opened item.
  void (*source)(platform::Window owner, const char* path);
  // Its destination, once that could be created.
  void (*destination)(platform::Window owner, const char* path);
};

struct CopyJob {
  std::uint32_t item_count;
  std::uint32_t position;  // the next item to open
  std::uint32_t total_bytes;
  std::uint32_t copied_bytes;
  int has_source;
  int source_is_file;
  platform::File source_file;
  std::uint32_t read_offset;  // payload member: next byte, and the end
  std::uint32_t end_offset;
  platform::File destination;
  char destination_path[512];
  int need_next_item;
  int paused;          // > 0 while a confirmation or a message is up
  unsigned bar_value;  // 0..128
  CopyDisplay display;
};
extern CopyJob TheCopyJob;

// Forgets the parent directory last logged (a new run).
void ResetCopyState();

// A new job over the payload table and the FULLDATA files, which are
// scanned now.
void BeginCopy(const CopyDisplay& display);
// One step; true when every item has been done (the step that finds no
// item left).
bool CopyTick();
// Leaving in the middle: the current item is closed unlogged and the file
// list released.
void AbandonCopy();
// After the last step: anything still open closed, the file list released.
void EndCopy();

// What opening the next item found.
enum class ItemOpened {
  Opened,              // source and destination open
  WithoutDestination,  // reported; the source is read and discarded
  Skipped,             // a FULLDATA source that cannot be opened
  NoneLeft,            // every item has been done
};
// Closes the current item (logging a complete destination) and opens the
// next one.
ItemOpened OpenNextItem();
long ReadSource(void* buffer, std::size_t size);
int CopyChunk();
void ScanExtraFiles(const char* directory);
void ReleaseExtraFiles();
void EnsureParentDirectories(const char* path);

// Percent (0..100) and bar value (0..128) of `copied` out of `total`,
// computed on 256-byte units; never past the end.
void ComputeProgress(std::uint32_t copied, std::uint32_t total, unsigned* percent, unsigned* bar);

}  // namespace setup

#endif
