// The Win32 benchmark client: the same operations on the same data as the
// native benchmark (bench_cases.h), called through the shipped PIXBASE.dll,
// timed in this thread's CPU time. Each case runs --repetitions times (5 by
// default), the repetitions of all cases in a random order so that a change
// of load falls on all alike, and the medians are reported.
//
//   pixbase_bench_win32 [--native=RATES] [--repetitions=N] [--min_time=SECONDS]
//                       [--filter=TEXT]
//
// RATES is the native run's rates file (pixbase_bench --rates_out): the
// table then gives each figure's ratio to the native one, and the ratio to
// J444ToARGB uses the native run's figure for it (libyuv is not part of the
// Win32 build). TEXT limits the run to the cases whose "shape/name" holds it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bench_cases.h"
#include "bench_report.h"

namespace {

double ThreadSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>(uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) * 1e-7;
  };
  return seconds(kernel) + seconds(user);
}

// One repetition: a pass to warm up, then batches of passes, doubling,
// until a batch lasts min_time. The clock is read only around whole batches:
// under Wine each reading is a request to the server, which would otherwise
// weigh on short passes.
double MeasureOnce(const bench::Case& c, const bench::Shape& shape, double min_time) {
  bench::Workload work(c, shape);
  if (!work.available() || !work.Run()) return 0;
  for (size_t passes = 1;; passes *= 2) {
    const double start = ThreadSeconds();
    for (size_t p = 0; p < passes; ++p)
      if (!work.Run()) return 0;
    const double elapsed = ThreadSeconds() - start;
    if (elapsed >= min_time)
      return static_cast<double>(work.items()) * static_cast<double>(passes) / elapsed / 1e6;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* native_path = nullptr;
  int repetitions = 5;
  double min_time = 0.5;
  std::string filter;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--native=", 9) == 0) {
      native_path = argv[i] + 9;
    } else if (std::strncmp(argv[i], "--repetitions=", 14) == 0) {
      repetitions = std::max(1, std::atoi(argv[i] + 14));
    } else if (std::strncmp(argv[i], "--min_time=", 11) == 0) {
      min_time = std::atof(argv[i] + 11);
    } else if (std::strncmp(argv[i], "--filter=", 9) == 0) {
      filter = argv[i] + 9;
    } else {
      std::fprintf(stderr,
                   "usage: %s [--native=RATES] [--repetitions=N] [--min_time=SECONDS] "
                   "[--filter=TEXT]\n",
                   argv[0]);
      return 2;
    }
  }
  const std::vector<bench::Case> cases = bench::Cases();
  std::vector<std::pair<size_t, size_t>> runs;  // (shape, case), once per repetition
  for (size_t s = 0; s < sizeof bench::kShapes / sizeof bench::kShapes[0]; ++s)
    for (size_t c = 0; c < cases.size(); ++c)
      if (bench::Key(bench::kShapes[s], cases[c]).find(filter) != std::string::npos)
        for (int r = 0; r < repetitions; ++r) runs.emplace_back(s, c);
  std::shuffle(runs.begin(), runs.end(), std::mt19937(12345));

  std::map<std::string, std::vector<double>> measured;
  for (const auto& [s, c] : runs) {
    const double rate = MeasureOnce(cases[c], bench::kShapes[s], min_time);
    if (rate > 0) measured[bench::Key(bench::kShapes[s], cases[c])].push_back(rate);
  }
  bench::Rates rates;
  for (auto& [key, values] : measured) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    rates[key] = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  }
  const bench::Rates native =
      native_path != nullptr ? bench::ReadRates(native_path) : bench::Rates();
  if (native_path != nullptr && native.empty())
    std::fprintf(stderr, "no native rates in %s\n", native_path);
  std::printf("PIXBASE.dll (Win32) under this system, %d repetitions, medians\n", repetitions);
  bench::PrintReport(rates, native.empty() ? nullptr : &native);
  return 0;
}
