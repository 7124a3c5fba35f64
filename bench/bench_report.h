// The benchmarks' summary: per image shape a table of rates with the ratios
// to memcpy and to the peer's conversion, the goals met or not, and the
// rates file through which the Win32 client compares itself with the native
// run.
#ifndef LUMAVIEW_BENCH_BENCH_REPORT_H
#define LUMAVIEW_BENCH_BENCH_REPORT_H

#include <cstdio>
#include <map>
#include <string>

#include "bench_cases.h"

namespace bench {

// Mpixel/s (map entries per second for the maps) by "shape/case".
using Rates = std::map<std::string, double>;

inline std::string Key(const Shape& shape, const Case& c) {
  return std::string(shape.name) + "/" + c.name;
}

inline double RateOf(const Rates& rates, const std::string& key) {
  const auto found = rates.find(key);
  return found == rates.end() ? 0.0 : found->second;
}

inline bool WriteRates(const Rates& rates, const char* path) {
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  for (const auto& [key, value] : rates) std::fprintf(file, "%s\t%.3f\n", key.c_str(), value);
  return std::fclose(file) == 0;
}

inline Rates ReadRates(const char* path) {
  Rates rates;
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) return rates;
  char line[512];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    const std::string text(line);
    const size_t tab = text.find('\t');
    if (tab == std::string::npos) continue;
    rates[text.substr(0, tab)] = std::strtod(text.c_str() + tab + 1, nullptr);
  }
  std::fclose(file);
  return rates;
}

inline const char* Verdict(bool met) { return met ? "met" : "NOT met"; }

// `native`: the native run's rates when this is the Win32 library's run
// (the peer's figure then comes from there too), else null.
inline void PrintReport(const Rates& rates, const Rates* native) {
  const std::vector<Case> cases = Cases();
  const double kLibraryGoal = 0.9;  // of the native rate, for the Win32 library
  for (const Shape& shape : kShapes) {
    bool measured = false;
    for (const Case& c : cases) measured = measured || RateOf(rates, Key(shape, c)) > 0;
    if (!measured) continue;
    const double copy = RateOf(rates, Key(shape, cases[0]));
    const double peer = RateOf(native != nullptr ? *native : rates, Key(shape, cases[1]));
    std::printf("\n%-44s %10s %8s %8s",
                (std::string("operation, ") + shape.name + " " + std::to_string(shape.width) + "x" +
                 std::to_string(shape.height))
                    .c_str(),
                "Mpixel/s", "/memcpy", "/J444");
    if (native != nullptr) std::printf(" %8s", "/native");
    std::printf("\n");
    for (const Case& c : cases) {
      const std::string key = Key(shape, c);
      const double value = RateOf(rates, key);
      if (value <= 0) continue;
      std::printf("%-44s %10.0f %8.2f %8.2f", c.name.c_str(), value, copy > 0 ? value / copy : 0,
                  peer > 0 ? value / peer : 0);
      if (native != nullptr) {
        const double there = RateOf(*native, key);
        std::printf(" %8.2f", there > 0 ? value / there : 0);
      }
      std::printf("\n");
    }
  }
  // The goals: ratios to the peer on the cache-resident image; the Win32
  // library against the native one on both shapes.
  const Shape& cache = kShapes[0];
  const double peer = RateOf(native != nullptr ? *native : rates, Key(cache, cases[1]));
  std::printf("\nGoals (cache-resident image, ratio to J444ToARGB):\n");
  for (const Case& c : cases) {
    if (c.goal <= 0) continue;
    const double value = RateOf(rates, Key(cache, c));
    if (value <= 0 || peer <= 0) continue;
    std::printf("  %-44s >= %.1f: %4.2f %s\n", c.name.c_str(), c.goal, value / peer,
                Verdict(value / peer >= c.goal));
  }
  if (native == nullptr) return;
  std::printf("\nGoals (Win32 library, ratio to the native rate, >= %.1f):\n", kLibraryGoal);
  for (const Shape& shape : kShapes)
    for (const Case& c : cases) {
      if (c.goal <= 0) continue;
      const double value = RateOf(rates, Key(shape, c)), there = RateOf(*native, Key(shape, c));
      if (value <= 0 || there <= 0) continue;
      std::printf("  %-6s %-44s %4.2f %s\n", shape.name, c.name.c_str(), value / there,
                  Verdict(value / there >= kLibraryGoal));
    }
}

}  // namespace bench

#endif
