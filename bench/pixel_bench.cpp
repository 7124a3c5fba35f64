// Throughput of the pixel operations, one thread, on a cache-resident image
// and on one that only fits in main memory (see bench_cases.h), with Google
// Benchmark.
//
// Every figure is in megapixels per second of CPU time, with its ratios to
// memcpy of the same pixels and to libyuv's J444ToARGB on three planes of
// the same size (a peer's colour conversion). The summary after Google
// Benchmark's own table states which goals the run met, and
// --rates_out=FILE keeps the rates for the Win32 client's comparison.
#include <benchmark/benchmark.h>
#include <libyuv.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "bench_cases.h"
#include "bench_report.h"
#include "run_defaults.h"

namespace {

void PeerConversion(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* argb,
                    int32_t width, int32_t height) {
  libyuv::J444ToARGB(y, width, u, width, v, width, reinterpret_cast<uint8_t*>(argb), width * 4,
                     width, height);
}

void RunCase(benchmark::State& state, const bench::Case& c, const bench::Shape& shape) {
  bench::Workload work(c, shape, PeerConversion);
  for (auto _ : state) {
    if (!work.Run()) state.SkipWithError("the operation failed");
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(work.items()));
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
  const bench::Rates& rates() const { return rates_; }

 private:
  bench::Rates rates_;
  std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<bench::Case> cases = bench::Cases();
  for (const bench::Shape& shape : bench::kShapes)
    for (const bench::Case& c : cases)
      benchmark::RegisterBenchmark(bench::Key(shape, c).c_str(), RunCase, c, shape)
          ->Unit(benchmark::kMillisecond);

  // Every option but our own goes to Google Benchmark (bench/run_defaults.h).
  std::vector<char*> arguments;
  const char* rates_out = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--rates_out=", 12) == 0) {
      rates_out = argv[i] + 12;
      continue;
    }
    arguments.push_back(argv[i]);
  }
  SummaryReporter reporter;
  bench::RunWithDefaults(arguments, &reporter);

  bench::PrintReport(reporter.rates(), nullptr);
  if (rates_out != nullptr && !bench::WriteRates(reporter.rates(), rates_out)) {
    std::fprintf(stderr, "cannot write %s\n", rates_out);
    return 1;
  }
  return 0;
}
