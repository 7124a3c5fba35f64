// Reading the coder convention's words of a format entry.
#include "core/coder_entry.h"

namespace viewer {

namespace {

// The convention's words: reserved1[0] the read procedure, reserved1[2] the
// capability flags, of which bit 0 says the coder can read.
constexpr uint32_t kCanRead = 1;

}  // namespace

ReadProcedure ReaderOf(const FormatEntry* entry) {
  if (entry == nullptr || (entry->reserved1[2] & kCanRead) == 0) return nullptr;
  return reinterpret_cast<ReadProcedure>(static_cast<uintptr_t>(entry->reserved1[0]));
}

}  // namespace viewer
