// Decode throughput of the coder modules on large files, one thread: a
// 4096x4096 raw pixmap (P6, 48 MiB of samples) and a 4096x4096 24-bit
// Windows bitmap, each read by its coder's read procedure from a file in the
// page cache into a new image (open, header, pixel array, every row through
// ImportPixelSamples, destroy), against a plain memcpy of the same number of
// bytes. The summary after Google Benchmark's table gives the ratios and
// whether the goal (at least 0.3 of memcpy) was met.
//
// Two floors, timed in the same run, show what any decoder of this design
// pays before converting a sample: reading the file through the image's
// stream (ReadImageBytes in the decoders' blocks, into one reused buffer),
// and a new 64 MiB pixel array from the kernel's allocator written whole
// (memset) and released. Their sum bounds a decoder's rate from above.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "coder_module.h"
#include "opaque_rows.h"
#include "run_defaults.h"

CODER_ENTRY RegisterPNMImage(void);
CODER_ENTRY RegisterBMPImage(void);

namespace {

using lumaview::coders::kReadChunk;

constexpr int32_t kSide = 4096;
constexpr size_t kPixels = static_cast<size_t>(kSide) * kSide;
constexpr size_t kDataBytes = kPixels * 3;  // both files: 3 bytes a pixel, rows without padding
constexpr double kGoal = 0.3;
constexpr char kReadFloor[] = "floor/read the file";
constexpr char kArrayFloor[] = "floor/new pixel array";

struct Subject {
  const char* name;    // the benchmark's name
  const char* format;  // the format written and read
  std::string path;
};

std::vector<Subject>& Subjects() {
  static std::vector<Subject> subjects = {{"decode/raw pixmap", "PPM", ""},
                                          {"decode/24-bit bitmap", "BMP", ""}};
  return subjects;
}

// Writes a picture of random colours through the format's write procedure.
bool WritePicture(const char* format, const std::string& path) {
  std::vector<PackedPixel> pixels(kPixels);
  std::mt19937 random(7);
  for (PackedPixel& p : pixels) p = random() & 0xFFFFFFu;
  ImageRecord* image = AllocateImage();
  std::snprintf(image->filename, sizeof image->filename, "%s", path.c_str());
  image->width = kSide;
  image->height = kSide;
  image->pixels = pixels.data();
  bool ok = OpenImageFile(image, "wb") == 1 && CoderOf(FindFormatEntry(format)).write(image) == 1;
  CloseImageFile(image);
  DestroyImage(image);
  return ok;
}

void Decode(benchmark::State& state, const Subject* subject) {
  const CoderReadImage read = CoderOf(FindFormatEntry(subject->format)).read;
  for (auto _ : state) {
    ImageRecord* image = AllocateImage();
    std::snprintf(image->filename, sizeof image->filename, "%s", subject->path.c_str());
    if (OpenImageFile(image, "rb") != 1 || read(image) != 1 || image->report.severity != 0) {
      state.SkipWithError("the file did not decode");
      DestroyImageList(image);
      break;
    }
    benchmark::DoNotOptimize(image->pixels);
    DestroyImageList(image);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kDataBytes));
}

// The decoders' read: the whole file in blocks of kReadChunk bytes.
void ReadFloor(benchmark::State& state, const Subject* subject) {
  std::vector<uint8_t> block(kReadChunk);
  for (auto _ : state) {
    ImageRecord* image = AllocateImage();
    std::snprintf(image->filename, sizeof image->filename, "%s", subject->path.c_str());
    if (OpenImageFile(image, "rb") != 1) {
      state.SkipWithError("the file did not open");
      DestroyImageList(image);
      break;
    }
    while (ReadImageBytes(image, kReadChunk, block.data()) == kReadChunk) {
    }
    benchmark::DoNotOptimize(block.data());
    DestroyImageList(image);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kDataBytes));
}

// A new pixel array, every byte written once.
void PixelArrayFloor(benchmark::State& state) {
  for (auto _ : state) {
    void* block = AllocateMemory(static_cast<uint32_t>(kPixels * sizeof(PackedPixel)));
    if (block == nullptr) {
      state.SkipWithError("no memory");
      break;
    }
    std::memset(block, 0x5A, kPixels * sizeof(PackedPixel));
    benchmark::DoNotOptimize(block);
    benchmark::ClobberMemory();
    ReleaseMemory(&block);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kDataBytes));
}

void Memcpy(benchmark::State& state) {
  std::vector<uint8_t> source(kDataBytes), destination(kDataBytes);
  std::mt19937 random(3);
  for (uint8_t& byte : source) byte = static_cast<uint8_t>(random());
  for (auto _ : state) {
    std::memcpy(destination.data(), source.data(), kDataBytes);
    benchmark::DoNotOptimize(destination.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kDataBytes));
}

// Collects the median (or only) byte rate of every benchmark, in MB/s.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      auto rate = run.counters.find("bytes_per_second");
      if (rate == run.counters.end() || run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      rates_[run.run_name.str()] = rate->second.value / 1e6;
    }
  }
  const std::map<std::string, double>& rates() const { return rates_; }

 private:
  std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  RegisterPNMImage();
  RegisterBMPImage();
  const std::string stem = "/tmp/lumaview_coder_bench_" + std::to_string(getpid());
  for (Subject& subject : Subjects()) {
    subject.path = stem + "." + subject.format;
    if (!WritePicture(subject.format, subject.path)) {
      std::fprintf(stderr, "cannot write %s\n", subject.path.c_str());
      return 1;
    }
  }
  benchmark::RegisterBenchmark("memcpy", Memcpy)->Unit(benchmark::kMillisecond);
  for (const Subject& subject : Subjects())
    benchmark::RegisterBenchmark(subject.name, Decode, &subject)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(kReadFloor, ReadFloor, &Subjects()[0])
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(kArrayFloor, PixelArrayFloor)->Unit(benchmark::kMillisecond);

  SummaryReporter reporter;
  bench::RunWithDefaults(std::vector<char*>(argv, argv + argc), &reporter);
  for (const Subject& subject : Subjects()) std::remove(subject.path.c_str());

  const auto& rates = reporter.rates();
  const auto copy = rates.find("memcpy");
  std::printf("\n%-24s %10s %10s  goal %.1f\n", "Decoding 4096x4096", "MB/s", "/ memcpy", kGoal);
  if (copy == rates.end()) return 1;
  std::printf("%-24s %10.0f %10.2f\n", "memcpy (48 MiB)", copy->second, 1.0);
  for (const Subject& subject : Subjects()) {
    const auto found = rates.find(subject.name);
    if (found == rates.end()) continue;
    const double ratio = found->second / copy->second;
    std::printf("%-24s %10.0f %10.2f  %s\n", subject.name, found->second, ratio,
                ratio >= kGoal ? "met" : "NOT met");
  }
  // Times per picture add up; rates do not.
  double floor_time = 0;
  for (const char* name : {kReadFloor, kArrayFloor}) {
    const auto found = rates.find(name);
    if (found == rates.end()) return 0;
    std::printf("%-24s %10.0f %10.2f\n", name, found->second, found->second / copy->second);
    floor_time += 1 / found->second;
  }
  std::printf("%-24s %10.0f %10.2f  (the best a decoder of this design can reach)\n", "floor/both",
              1 / floor_time, 1 / floor_time / copy->second);
  return 0;
}
