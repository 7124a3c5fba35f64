// Order of a folder's file names and the step to the next accepted one.
#include "core/folder_walk.h"

#include <algorithm>
#include <cstddef>

namespace viewer {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Natural, case-blind comparison: <0, 0 or >0.
int CompareNatural(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      // Digit runs compare by value: without leading zeros, the longer run
      // is larger, runs of one length compare digit by digit.
      std::size_t run_a = i, run_b = j;
      while (run_a < a.size() && a[run_a] == '0') ++run_a;
      while (run_b < b.size() && b[run_b] == '0') ++run_b;
      std::size_t end_a = run_a, end_b = run_b;
      while (end_a < a.size() && IsDigit(a[end_a])) ++end_a;
      while (end_b < b.size() && IsDigit(b[end_b])) ++end_b;
      if (end_a - run_a != end_b - run_b) return end_a - run_a < end_b - run_b ? -1 : 1;
      for (std::size_t k = 0; k < end_a - run_a; ++k)
        if (a[run_a + k] != b[run_b + k]) return a[run_a + k] < b[run_b + k] ? -1 : 1;
      i = end_a;
      j = end_b;
      continue;
    }
    auto ca = static_cast<unsigned char>(Folded(a[i]));
    auto cb = static_cast<unsigned char>(Folded(b[j]));
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

bool NameBefore(const std::string& a, const std::string& b) {
  int natural = CompareNatural(a, b);
  if (natural != 0) return natural < 0;
  return a < b;  // "Pic01" and "pic1" still get one fixed order
}

void OrderNames(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), NameBefore);
}

std::string StepFrom(const std::vector<std::string>& names, const std::string& current, Step step,
                     const std::function<bool(const std::string&)>& accept) {
  std::size_t count = names.size();
  if (count == 0) return std::string();
  // The position of `current`, or the position it would take.
  auto at = std::lower_bound(names.begin(), names.end(), current, NameBefore);
  std::size_t position = static_cast<std::size_t>(at - names.begin());
  bool present = at != names.end() && *at == current;
  // The first candidate: after `current`, or at its would-be position
  // (the name that followed it) when it is gone; before it when going back.
  std::size_t index;
  if (step == Step::Next) {
    index = present ? position + 1 : position;
  } else {
    index = position + count - 1;
  }
  for (std::size_t tried = 0; tried < count; ++tried) {
    const std::string& name =
        names[(step == Step::Next ? index + tried : index - tried + count) % count];
    if (name == current) continue;
    if (accept(name)) return name;
  }
  return std::string();
}

}  // namespace viewer
