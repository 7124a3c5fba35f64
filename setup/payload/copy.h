// The timed copy of the payload members and the FULLDATA files.
//
// The copy dialog drives it from a timer: every tick opens at most one new
// item and then moves 512-byte chunks for up to 320 ms. Each created file
// and each new parent directory is logged for the uninstaller.
#ifndef LUMAVIEW_SETUP_COPY_H
#define LUMAVIEW_SETUP_COPY_H

#include <cstdint>

#include "platform/platform.h"

namespace setup {

constexpr unsigned kCopyTimerId = 1234;
constexpr unsigned kCopyTimerPeriod = 200;
constexpr std::uint32_t kTickBudgetMs = 320;
constexpr std::size_t kCopyChunk = 512;
constexpr std::uint32_t kExtraFileGrowth = 4096;
// The command a finished copy posts to its dialog.
constexpr int kCopyCompleteCommand = 0x7F01;

// Every file below the FULLDATA directory, as paths relative to it.
struct ExtraFileList {
  char** entries;
  std::uint32_t capacity;
  std::uint32_t count;
  std::uint32_t size_sum;  // low 32 bits of each size, summed
};
extern ExtraFileList TheExtraFiles;

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
  int paused;  // > 0 while a confirmation or a message is up
  int icon_index;
  unsigned bar_value;  // 0..128
};
extern CopyJob TheCopyJob;

// Forgets the parent directory last logged (a new run).
void ResetCopyState();

// The dialog's opening: the job, the FULLDATA scan and the timer.
void BeginCopy(platform::Window dialog);
// One timer tick.
void CopyTick(platform::Window dialog);
// The bar again, from the current values (a paint message).
void PaintCopyProgress(platform::Window dialog);
// Cancel or the close box: asks; true when the user chose to leave setup,
// in which case the dialog has been ended with 0.
bool CancelCopy(platform::Window dialog);
// The posted completion: ends the dialog with 1.
void FinishCopy(platform::Window dialog);

int OpenNextItem(platform::Window dialog);
long ReadSource(void* buffer, std::size_t size);
int CopyChunk(platform::Window dialog);
void ScanExtraFiles(const char* directory);
void ReleaseExtraFiles();
void EnsureParentDirectories(const char* path);

// Percent (0..100) and bar value (0..128) of `copied` out of `total`,
// computed on 256-byte units; never past the end.
void ComputeProgress(std::uint32_t copied, std::uint32_t total, unsigned* percent, unsigned* bar);

}  // namespace setup

#endif
