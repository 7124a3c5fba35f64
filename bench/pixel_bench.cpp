// Throughput of the pixel operations on a 4096x4096 image, one thread.
//
// Every figure is in megapixels per second and is also given as a ratio to
// memcpy of the same 64 MiB (the memory bound of an in-place pass over the
// image) and to libyuv's J444ToARGB on three 4096x4096 planes (a peer's
// colour conversion). The summary after Google Benchmark's own table states
// which of the throughput goals the run met.
#include <benchmark/benchmark.h>
#include <libyuv.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "pixbase/pixbase.h"

namespace {

constexpr int32_t kSide = 4096;
constexpr size_t kPixels = static_cast<size_t>(kSide) * kSide;

std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
  std::vector<uint8_t> bytes(count);
  std::mt19937 random(seed);
  for (size_t i = 0; i + 4 <= count; i += 4) {
    const uint32_t r = random();
    std::memcpy(&bytes[i], &r, 4);
  }
  return bytes;
}

std::vector<uint32_t> RandomPixels(uint32_t seed) {
  std::vector<uint32_t> pixels(kPixels);
  std::mt19937 random(seed);
  for (uint32_t& p : pixels) p = random();
  return pixels;
}

void SetPixelRate(benchmark::State& state, size_t pixels_per_iteration) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(pixels_per_iteration));
}

void Memcpy(benchmark::State& state) {
  std::vector<uint32_t> source = RandomPixels(1), destination(kPixels);
  for (auto _ : state) {
    std::memcpy(destination.data(), source.data(), kPixels * sizeof(uint32_t));
    benchmark::DoNotOptimize(destination.data());
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}

void LibyuvJ444ToARGB(benchmark::State& state) {
  std::vector<uint8_t> y = RandomBytes(kPixels, 2), u = RandomBytes(kPixels, 3),
                       v = RandomBytes(kPixels, 4);
  std::vector<uint32_t> argb(kPixels);
  for (auto _ : state) {
    libyuv::J444ToARGB(y.data(), kSide, u.data(), kSide, v.data(), kSide,
                       reinterpret_cast<uint8_t*>(argb.data()), kSide * 4, kSide, kSide);
    benchmark::DoNotOptimize(argb.data());
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}

ImageRecord ImageOver(std::vector<uint32_t>& pixels, Colorspace space) {
  ImageRecord image;
  std::memset(&image, 0, sizeof image);
  image.size = sizeof image;
  image.width = kSide;
  image.height = kSide;
  image.colorSpace = space;
  image.pixels = pixels.data();
  InitExceptionReport(&image.report);
  return image;
}

// In place, again and again: every pass sees arbitrary bytes.
void Convert(benchmark::State& state, Colorspace space) {
  std::vector<uint32_t> pixels = RandomPixels(5);
  ImageRecord image = ImageOver(pixels, ColorspaceRGB);
  for (auto _ : state) {
    if (ConvertImageToRGB(&image, space) != 1) state.SkipWithError("conversion failed");
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}

void ConvertCmykImage(benchmark::State& state) {
  std::vector<uint32_t> pixels = RandomPixels(6);
  ImageRecord image = ImageOver(pixels, ColorspaceCMYK);
  for (auto _ : state) {
    image.colorSpace = ColorspaceCMYK;
    ConvertImageToRGB(&image, ColorspaceRGB);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}

// The wide kernel on 4096-pixel lines; the narrow one runs only on lines of
// 4 to 9 pixels, so a 4096-pixel line is smoothed as 512 lines of 8.
void SmoothLines(benchmark::State& state, int32_t segment) {
  std::vector<uint32_t> line = RandomPixels(7);
  for (uint32_t& p : line) p &= 0x00FFFFFFu;
  size_t row = 0;
  for (auto _ : state) {
    uint32_t* at = line.data() + row * kSide;
    for (int32_t x = 0; x < kSide; x += segment) SmoothPixelLine(at + x, segment);
    row = (row + 1) % kSide;
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kSide);
}

void ResampleMap(benchmark::State& state, int32_t source, int32_t destination) {
  std::vector<int32_t> map(static_cast<size_t>(destination));
  for (auto _ : state) {
    BuildResampleMap(source, destination, map.data());
    benchmark::DoNotOptimize(map.data());
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, static_cast<size_t>(destination));
}

int SamplesOf(SampleLayout layout) {
  return layout == SampleIndex ? 1 : (layout == SampleRGB ? 3 : 4);
}

// A whole image, row by row, from a source of 4096 rows of samples.
void Import(benchmark::State& state, SampleLayout layout, int32_t depth) {
  const size_t row_bytes = static_cast<size_t>(kSide) * SamplesOf(layout) * (depth > 8 ? 2 : 1);
  std::vector<uint8_t> source = RandomBytes(row_bytes * kSide, 8);
  std::vector<uint32_t> pixels(kPixels), map = RandomPixels(9);
  map.resize(256);
  for (auto _ : state) {
    for (int32_t y = 0; y < kSide; ++y)
      ImportPixelSamples(kSide, depth, pixels.data() + static_cast<size_t>(y) * kSide, map.data(),
                         layout, source.data() + row_bytes * y);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}

// Collects every benchmark's rate for the summary: the median of its
// repetitions when repeated, else its one run.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      auto rate = run.counters.find("items_per_second");
      if (rate == run.counters.end() || run.error_occurred) continue;
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") {
          rates_[name] = rate->second.value / 1e6;
          medians_.insert(name);
        }
      } else if (medians_.count(name) == 0) {
        rates_[name] = rate->second.value / 1e6;
      }
    }
  }
  const std::map<std::string, double>& rates() const { return rates_; }

 private:
  std::map<std::string, double> rates_;
  std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  struct Space {
    const char* name;
    Colorspace value;
    bool linear;
  };
  const Space spaces[] = {
      {"I1I2I3(4)", 4, true},    {"XYZ(5)", 5, true},           {"YCbCr(6)", 6, true},
      {"PhotoYCC(7)", 7, false}, {"YIQ(8)", 8, true},           {"YPbPr(9)", 9, true},
      {"YUV(10)", 10, true},     {"CMYKvalues(11)", 11, false}, {"YCCAlternate(12)", 12, false}};

  benchmark::RegisterBenchmark("memcpy", Memcpy)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("libyuv_J444ToARGB", LibyuvJ444ToARGB)
      ->Unit(benchmark::kMillisecond);
  for (const Space& s : spaces)
    benchmark::RegisterBenchmark((std::string("ConvertImageToRGB/") + s.name).c_str(), Convert,
                                 s.value)
        ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ConvertImageToRGB/CMYKimage", ConvertCmykImage)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("SmoothPixelLine/wide_4096", SmoothLines, kSide);
  benchmark::RegisterBenchmark("SmoothPixelLine/narrow_8x512", SmoothLines, 8);
  benchmark::RegisterBenchmark("BuildResampleMap/4096to1000", ResampleMap, 4096, 1000);
  benchmark::RegisterBenchmark("BuildResampleMap/1000to4096", ResampleMap, 1000, 4096);
  const std::pair<const char*, SampleLayout> layouts[] = {{"index(0)", SampleIndex},
                                                          {"RGB(12)", SampleRGB},
                                                          {"RGBA(13)", SampleRGBA},
                                                          {"CMYK(14)", SampleCMYK}};
  for (const auto& [name, layout] : layouts)
    for (int32_t depth : {8, 16})
      benchmark::RegisterBenchmark(
          (std::string("ImportPixelSamples/") + name + "/depth" + std::to_string(depth)).c_str(),
          Import, layout, depth)
          ->Unit(benchmark::kMillisecond);

  // The machine may be shared: by default every benchmark runs three times,
  // the repetitions of all of them interleaved at random so that a change of
  // load falls on all alike, and the medians are compared.
  std::vector<char*> arguments(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=3";
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  std::string aggregates = "--benchmark_report_aggregates_only=true";
  std::string min_time = "--benchmark_min_time=0.2";
  bool chosen = false;
  for (int i = 1; i < argc; ++i)
    chosen = chosen || std::strncmp(argv[i], "--benchmark_repetitions", 23) == 0;
  if (!chosen)
    for (std::string* option : {&repetitions, &interleave, &aggregates, &min_time})
      arguments.push_back(option->data());
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  const auto& rates = reporter.rates();
  auto rate = [&](const std::string& name) {
    auto found = rates.find(name);
    return found == rates.end() ? 0.0 : found->second;
  };
  const double memcpy_rate = rate("memcpy"), peer_rate = rate("libyuv_J444ToARGB");
  std::printf("\n%-44s %12s %10s %10s\n", "operation (4096x4096 unless noted)", "Mpixel/s",
              "/memcpy", "/J444");
  for (const auto& [name, value] : rates)
    std::printf("%-44s %12.1f %10.2f %10.2f\n", name.c_str(), value,
                memcpy_rate > 0 ? value / memcpy_rate : 0.0,
                peer_rate > 0 ? value / peer_rate : 0.0);

  if (memcpy_rate > 0 && peer_rate > 0) {
    std::printf("\nGoals:\n");
    for (const Space& s : spaces) {
      if (!s.linear) continue;
      const double value = rate(std::string("ConvertImageToRGB/") + s.name);
      std::printf("  %-28s >= 0.5 memcpy: %-4s  >= J444ToARGB: %s\n", s.name,
                  value >= 0.5 * memcpy_rate ? "met" : "NOT", value >= peer_rate ? "met" : "NOT");
    }
    std::printf("  %-28s >= J444ToARGB: %s\n", "CMYK image",
                rate("ConvertImageToRGB/CMYKimage") >= peer_rate ? "met" : "NOT");
    for (const auto& [name, layout] : layouts)
      for (int32_t depth : {8, 16}) {
        const std::string key =
            std::string("ImportPixelSamples/") + name + "/depth" + std::to_string(depth);
        std::printf("  %-28s >= J444ToARGB: %s\n", key.c_str() + 19,
                    rate(key) >= peer_rate ? "met" : "NOT");
      }
  }
  return 0;
}
