// ImportPixelSamples with any layout code, depth, count and sample bytes, at
// any vector level, on buffers of exactly the line's size: the same pixels
// as the reference model, and no read or write outside the buffers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "../tests/kernel/pixel_reference.h"
#include "fuzz_input.h"
#include "pixbase/pixel.h"
#include "pixel/vector_level.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaview::fuzz::InstallRefusingHandlers();
  FuzzedDataProvider input(data, size);
  const auto level = static_cast<pixbase::pixel::VectorLevel>(
      input.ConsumeIntegralInRange(0, static_cast<int>(pixbase::pixel::kWidestVectorLevel)));
  const int32_t layout = input.ConsumeIntegralInRange<int32_t>(-3, 18);
  const int32_t depth = input.ConsumeIntegralInRange<int32_t>(-1, 33);
  const int32_t count = input.ConsumeIntegralInRange<int32_t>(-2, 3000);
  std::vector<uint32_t> map(256);
  for (uint32_t& entry : map) entry = input.ConsumeIntegral<uint32_t>();
  std::vector<uint32_t> pixels(static_cast<size_t>(count > 0 ? count : 0));
  for (uint32_t& p : pixels) p = input.ConsumeIntegral<uint32_t>();
  const size_t bytes =
      pixels.size() * pixel_reference::SamplesPerPixel(layout) * (depth > 8 ? 2 : 1);
  std::vector<uint8_t> source = input.ConsumeBytes<uint8_t>(bytes);
  source.resize(bytes, 0x5A);
  source.shrink_to_fit();

  std::vector<uint32_t> expected = pixels;
  pixel_reference::ImportSamples(count, depth, expected.data(), map.data(), layout, source.data());
  pixbase::pixel::LimitVectorLevel(level);
  FUZZ_CHECK(ImportPixelSamples(count, depth, pixels.data(), map.data(), layout, source.data()) ==
             1);
  pixbase::pixel::LimitVectorLevel(pixbase::pixel::kWidestVectorLevel);
  FUZZ_CHECK(pixels == expected);
  return 0;
}
