// How every benchmark program of ours runs by default: the machine may be
// shared, so each benchmark runs five times, the repetitions of all of them
// interleaved at random so that a change of load falls on all alike, and
// only the aggregates (the medians are compared) are reported. A command
// line that chooses its own repetitions keeps them.
#ifndef LUMAVIEW_BENCH_RUN_DEFAULTS_H
#define LUMAVIEW_BENCH_RUN_DEFAULTS_H

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace bench {

// Initialises Google Benchmark with `arguments` (the program's name first)
// and the defaults above, then runs every registered benchmark.
inline void RunWithDefaults(std::vector<char*> arguments, benchmark::BenchmarkReporter* reporter) {
  static std::string defaults[] = {
      "--benchmark_repetitions=5", "--benchmark_enable_random_interleaving=true",
      "--benchmark_report_aggregates_only=true", "--benchmark_min_time=0.2"};
  bool chosen = false;
  for (const char* argument : arguments)
    chosen = chosen || std::strncmp(argument, "--benchmark_repetitions", 23) == 0;
  if (!chosen)
    for (std::string& option : defaults) arguments.push_back(option.data());
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  benchmark::RunSpecifiedBenchmarks(reporter);
}

}  // namespace bench

#endif
