// SmoothPixelLine and BuildResampleMap on lines of any length: the results of
// the reference model, map entries inside the source, and nothing written
// past the caller's arrays.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "../tests/kernel/pixel_reference.h"
#include "fuzz_input.h"
#include "pixbase/pixel.h"

namespace {

void FuzzSmoothing(FuzzedDataProvider& input) {
  const bool fourth_bytes = input.ConsumeBool();
  std::vector<uint32_t> line(input.ConsumeIntegralInRange<size_t>(0, 5000));
  for (uint32_t& p : line) {
    p = input.ConsumeIntegral<uint32_t>();
    if (!fourth_bytes) p &= 0x00FFFFFFu;
  }
  line.shrink_to_fit();
  std::vector<uint32_t> expected = line;
  pixel_reference::Smooth(expected);
  SmoothPixelLine(line.data(), static_cast<int32_t>(line.size()));
  // With fourth bytes set, the narrow kernel (4 to 9 pixels) carries them
  // into red and has no other defined result; the wide one clears them.
  const bool narrow = line.size() >= 4 && line.size() < 10;
  if (!fourth_bytes || !narrow) FUZZ_CHECK(line == expected);
}

void FuzzResampleMap(FuzzedDataProvider& input) {
  const int32_t source = input.ConsumeBool() ? input.ConsumeIntegral<int32_t>()
                                             : input.ConsumeIntegralInRange<int32_t>(-8, 20000);
  const int32_t destination = input.ConsumeIntegralInRange<int32_t>(-8, 20000);
  std::vector<int32_t> map(static_cast<size_t>(destination > 0 ? destination : 0));
  BuildResampleMap(source, destination, map.data());
  if (destination <= 0 || source <= 0) return;
  for (size_t i = 0; i < map.size(); ++i) {
    FUZZ_CHECK(map[i] >= 0 && map[i] < source);
    if (i > 0) FUZZ_CHECK(map[i] >= map[i - 1]);
  }
  if (source <= 20000) FUZZ_CHECK(map == pixel_reference::ResampleMap(source, destination));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  FuzzedDataProvider input(data, size);
  if (input.ConsumeBool()) {
    FuzzSmoothing(input);
  } else {
    FuzzResampleMap(input);
  }
  return 0;
}
