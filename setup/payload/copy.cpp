// The copy engine (see copy.h). Divisions: the FULLDATA list, items,
// chunks, progress, the job's steps.
#include "payload/copy.h"

#include <cstring>

#include "common/paths.h"
#include "common/state.h"
#include "common/text.h"
#include "log/settings_log.h"
#include "payload/payload_table.h"
#include "resources/resource_ids.h"

namespace setup {

ExtraFileList TheExtraFiles;
CopyJob TheCopyJob;

namespace {

char last_logged_directory[platform::kPathLimit];

void AppendExtraFile(const char* relative, std::uint32_t size) {
  ExtraFileList& list = TheExtraFiles;
  if (list.count == list.capacity) {
    std::uint32_t capacity = list.capacity + kExtraFileGrowth;
    auto** table = static_cast<char**>(platform::AllocateZeroed(capacity * sizeof(char*)));
    if (table == nullptr) return;
    if (list.entries != nullptr) {
      std::memcpy(table, list.entries, list.count * sizeof(char*));
      platform::ReleaseBlock(list.entries);
    }
    list.entries = table;
    list.capacity = capacity;
  }
  std::size_t length = std::strlen(relative);
  auto* entry = static_cast<char*>(platform::AllocateZeroed(length + 1));
  if (entry == nullptr) return;
  std::memcpy(entry, relative, length);
  list.entries[list.count++] = entry;
  list.size_sum += size;
}

// Scans `root` + `relative` (which is empty or ends with a backslash).
void ScanTree(const char* root, const char* relative) {
  char directory[2 * platform::kPathLimit];
  CopyText(directory, sizeof directory, root);
  EnsureTrailingBackslash(directory, sizeof directory);
  AppendText(directory, sizeof directory, relative);
  ForEachEntry(directory, [relative, root](const platform::FoundEntry& entry) {
    // Junctions and symbolic links lead elsewhere, perhaps back up the tree:
    // only the tree's own files are copied.
    if (entry.attributes & platform::kReparsePointAttribute) return;
    char name[2 * platform::kPathLimit];
    CopyText(name, sizeof name, relative);
    // A relative path that would not fit the system's path limit is refused.
    if (AppendText(name, sizeof name, entry.name) + 2 >= platform::kPathLimit) return;
    if (entry.attributes & platform::kDirectoryAttribute) {
      AppendText(name, sizeof name, "\\");
      ScanTree(root, name);
    } else {
      AppendExtraFile(name, entry.size_low);
    }
  });
}

// Closes the current item. A destination written completely is logged.
void CloseCurrentItem(bool log) {
  CopyJob& job = TheCopyJob;
  if (job.has_source && job.source_is_file) platform::CloseFile(job.source_file);
  job.has_source = 0;
  job.source_is_file = 0;
  job.source_file = 0;
  if (job.destination != 0) {
    platform::CloseFile(job.destination);
    job.destination = 0;
    if (log) LogInstalledFile(job.destination_path);
  }
}

// A file that cannot be created or written: the box names its directory.
void ReportUnwritable(const char* path) {
  char directory[512];
  CopyText(directory, sizeof directory, path);
  CutAtLastBackslash(directory, false);
  platform::LoadText(IDS_NOT_WRITABLE_CAPTION, TheSetup.caption, sizeof TheSetup.caption);
  platform::LoadText(IDS_NOT_WRITABLE_TEXT, TheSetup.message, sizeof TheSetup.message);
  FormatWithText(TheSetup.output, sizeof TheSetup.output, TheSetup.message, directory);
  ++TheCopyJob.paused;
  platform::ShowMessage(TheCopyJob.display.owner, TheSetup.output, TheSetup.caption,
                        platform::Buttons::Ok);
  --TheCopyJob.paused;
}

}  // namespace

void ResetCopyState() {
  last_logged_directory[0] = '\0';
  TheCopyJob = CopyJob{};
}

void ScanExtraFiles(const char* directory) { ScanTree(directory, ""); }

void ReleaseExtraFiles() {
  ExtraFileList& list = TheExtraFiles;
  for (std::uint32_t i = 0; i < list.count; ++i) platform::ReleaseBlock(list.entries[i]);
  if (list.entries != nullptr) platform::ReleaseBlock(list.entries);
  list = ExtraFileList{};
}

void EnsureParentDirectories(const char* path) {
  char remembered[platform::kPathLimit];
  bool restore = platform::CurrentDirectory(remembered, sizeof remembered) > 0;
  char prefix[512];
  CopyText(prefix, sizeof prefix, path);
  // Every directory on the way, stepping over double-byte characters.
  for (char* cut = FindNextBackslash(prefix); cut != nullptr; cut = FindNextBackslash(cut + 1)) {
    if (cut == prefix) continue;
    *cut = '\0';
    if (!IsDriveOnly(prefix) && !platform::EnterDirectory(prefix)) platform::MakeDirectory(prefix);
    *cut = '\\';
  }
  if (restore) platform::EnterDirectory(remembered);
  if (!CutAtLastBackslash(prefix, false)) return;
  if (!SamePath(prefix, last_logged_directory) && DirectoryExists(prefix)) {
    CopyText(last_logged_directory, sizeof last_logged_directory, prefix);
    LogInstalledDirectory(prefix);
  }
}

ItemOpened OpenNextItem() {
  CopyJob& job = TheCopyJob;
  CloseCurrentItem(true);
  if (job.position >= job.item_count) return ItemOpened::NoneLeft;
  const char* name;
  char source[2 * platform::kPathLimit];
  bool extra = job.position >= static_cast<std::uint32_t>(PayloadTable.count);
  if (!extra) {
    int index = static_cast<int>(job.position);
    name = PayloadTable.members[index].name;
    job.read_offset = MemberOffset(index);
    job.end_offset = job.read_offset + PayloadTable.members[index].size;
    CopyText(source, sizeof source, TheSetup.SetupDirectory);
  } else {
    name = TheExtraFiles.entries[job.position - PayloadTable.count];
    CopyText(source, sizeof source, TheSetup.extra_files_directory);
  }
  AppendText(source, sizeof source, name);
  ++job.position;
  if (extra) {
    job.source_file = platform::OpenFileForReading(source);
    if (job.source_file == 0) return ItemOpened::Skipped;
    job.source_is_file = 1;
  }
  job.has_source = 1;
  if (job.display.source != nullptr) job.display.source(job.display.owner, source);
  CopyText(job.destination_path, sizeof job.destination_path, TheSetup.InstallRoot);
  bool fits = AppendText(job.destination_path, sizeof job.destination_path, name) + 1 <
              sizeof job.destination_path;
  job.destination = 0;
  if (fits) {
    EnsureParentDirectories(job.destination_path);
    job.destination = platform::CreateFileForWriting(job.destination_path);
  }
  if (job.destination == 0) {
    // The item's bytes are still read and discarded, so the bar advances.
    ReportUnwritable(job.destination_path);
    return ItemOpened::WithoutDestination;
  }
  if (job.display.destination != nullptr)
    job.display.destination(job.display.owner, job.destination_path);
  return ItemOpened::Opened;
}

long ReadSource(void* buffer, std::size_t size) {
  CopyJob& job = TheCopyJob;
  if (job.source_is_file) return platform::ReadFromFile(job.source_file, buffer, size);
  if (TheSetup.payload == nullptr) return 0;
  // A resource shorter than the table reads as ending early.
  std::uint32_t end = job.end_offset;
  if (end > TheSetup.payload_size) end = static_cast<std::uint32_t>(TheSetup.payload_size);
  std::uint32_t left = job.read_offset < end ? end - job.read_offset : 0;
  std::uint32_t count = size < left ? static_cast<std::uint32_t>(size) : left;
  std::memcpy(buffer, TheSetup.payload + job.read_offset, count);
  job.read_offset += count;
  return static_cast<long>(count);
}

int CopyChunk() {
  CopyJob& job = TheCopyJob;
  if (!job.has_source) {
    job.need_next_item = 1;
    return 0;
  }
  unsigned char buffer[kCopyChunk];
  long count = ReadSource(buffer, sizeof buffer);
  if (count <= 0) {
    job.need_next_item = 1;
    return 0;
  }
  if (job.destination != 0 &&
      platform::WriteToFile(job.destination, buffer, static_cast<std::size_t>(count)) != count) {
    // A short write: the partial file goes, unlogged, and the rest of the
    // item is read and discarded.
    platform::CloseFile(job.destination);
    job.destination = 0;
    platform::DeleteFileAt(job.destination_path);
    ReportUnwritable(job.destination_path);
  }
  job.copied_bytes += static_cast<std::uint32_t>(count);
  return 1;
}

void ComputeProgress(std::uint32_t copied, std::uint32_t total, unsigned* percent, unsigned* bar) {
  std::uint32_t units = total / 256 > 1 ? total / 256 : 1;
  std::uint32_t done = copied / 256;
  std::uint32_t p = done * 100 / units;
  std::uint32_t b = done * 128 / units;
  *percent = p > 100 ? 100 : p;
  *bar = b > 128 ? 128 : b;
}

void BeginCopy(const CopyDisplay& display) {
  CopyJob& job = TheCopyJob;
  job = CopyJob{};
  job.display = display;
  job.item_count = static_cast<std::uint32_t>(PayloadTable.count);
  job.total_bytes = PayloadTable.total;
  job.need_next_item = 1;
  ScanExtraFiles(TheSetup.extra_files_directory);
  job.item_count += TheExtraFiles.count;
  job.total_bytes += TheExtraFiles.size_sum;
}

bool CopyTick() {
  CopyJob& job = TheCopyJob;
  bool finished = false;
  if (job.need_next_item) {
    // Only the step that finds no item left ends the copy: an item without
    // a destination still has its source read to the end and closed.
    finished = OpenNextItem() == ItemOpened::NoneLeft;
    job.need_next_item = 0;
  }
  std::uint32_t start = platform::Milliseconds();
  while (CopyChunk() && platform::Milliseconds() - start < kTickBudgetMs) {
  }
  unsigned percent;
  ComputeProgress(job.copied_bytes, job.total_bytes, &percent, &job.bar_value);
  TheSetup.progress_percent = static_cast<int>(percent);
  return finished;
}

void AbandonCopy() {
  CloseCurrentItem(false);
  ReleaseExtraFiles();
}

void EndCopy() {
  CloseCurrentItem(true);
  ReleaseExtraFiles();
}

}  // namespace setup
