// Conversion of an image's pixels from another colour space to RGB.
//
// The reference method keeps three tables of 768 floats, one per input
// component, holding that component's contribution to red, green and blue
// for each byte value; a pixel costs nine table reads and six additions. The
// vector loops compute the same single-precision products and sums directly
// (they are the table entries, bit for bit), many pixels at a time; the
// widest unit reaches the same bytes through other sums, in forms the
// transform table names and the tests check over every input. The
// tables are obtained on every call in either case, so a conversion that
// cannot have them fails the same way on every processor; only the plain
// loop fills them.
#include <cstddef>
#include <cstdint>

#include "pixbase/memory.h"
#include "pixbase/pixel.h"
#include "pixbase/text.h"
#include "pixel/cmyk.h"
#include "pixel/color_transforms.h"
#include "pixel/single_precision.h"
#include "pixel/tone_tables.h"
#include "pixel/vector_level.h"

namespace {

using pixbase::pixel::ColorTransform;
using pixbase::pixel::kColorTransforms;
using pixbase::pixel::Single;
using pixbase::pixel::ToneCurve;
using pixbase::pixel::TransformIndex;
using pixbase::pixel::VectorLevel;

constexpr uint32_t kTableEntries = 768;
constexpr uint32_t kTableBytes = kTableEntries * sizeof(float);
constexpr char kProgressText[] = "  Transforming image colors...  ";

struct Tables {
  float* component[3] = {nullptr, nullptr, nullptr};  // TX, TY, TZ

  void Release() {
    for (float*& table : component) ReleaseMemory(&table);
  }
};

bool ObtainTables(Tables& tables) {
  for (float*& table : tables.component) {
    table = static_cast<float*>(AllocateMemory(kTableBytes));
    if (table == nullptr) {
      tables.Release();
      return false;
    }
  }
  return true;
}

// Entry 256 * k + i of table c: the contribution of component c with byte
// value i to output channel k.
void FillTables(const ColorTransform& transform, Tables& tables) {
  for (int c = 0; c < 3; ++c) {
    float* table = tables.component[c];
    for (int i = 0; i < 256; ++i) {
      const float argument = transform.scale[c] * static_cast<float>(i) + transform.offset[c];
      for (int k = 0; k < 3; ++k) {
        const float coefficient = transform.coefficient[k][c];
        table[256 * k + i] = coefficient == 0.0f ? 0.0f : Single(coefficient * argument);
      }
    }
  }
}

// v < 0 gives 0, v > 255 gives 255, otherwise v + 0.5 truncated (the
// addition is exact in double precision).
inline uint32_t LinearByte(float v) {
  if (v < 0.0f) return 0;
  if (v > 255.0f) return 255;
  return static_cast<uint32_t>(static_cast<double>(v) + 0.5);
}

// The index is v clamped to 0..350, plus 0.5 rounded to single precision,
// truncated.
inline uint32_t ToneByte(float v, const uint8_t* tone) {
  int32_t index;
  if (v < 0.0f) {
    index = 0;
  } else if (v > static_cast<float>(pixbase::pixel::kToneTableLast)) {
    index = pixbase::pixel::kToneTableLast;
  } else {
    index = static_cast<int32_t>(Single(v + 0.5f));
  }
  return tone[index];
}

void ConvertRowWithTables(const Tables& tables, const uint8_t* tone, uint32_t* row, int32_t width) {
  const float* tx = tables.component[0];
  const float* ty = tables.component[1];
  const float* tz = tables.component[2];
  for (int32_t i = 0; i < width; ++i) {
    const uint32_t pixel = row[i];
    const uint32_t x = (pixel >> 16) & 0xFF, y = (pixel >> 8) & 0xFF, z = pixel & 0xFF;
    uint32_t out = pixel & 0xFF000000u;
    for (int k = 0; k < 3; ++k) {
      const float v = Single(Single(tx[256 * k + x] + ty[256 * k + y]) + tz[256 * k + z]);
      const uint32_t byte = tone != nullptr ? ToneByte(v, tone) : LinearByte(v);
      out |= byte << (16 - 8 * k);
    }
    row[i] = out;
  }
}

// The failure goes into the image's report unless the report already holds
// something worse.
void RecordTransformFailure(ImageRecord* image) {
  ExceptionReport& report = image->report;
  if (report.severity > ModuleWarning) return;
  report.severity = ModuleWarning;
  AssignString(&report.reason, "Unable to transform colorspace");
  AssignString(&report.description, "Memory allocation failed");
}

// Rows of a CMYK image, in place, by direct arithmetic.
void ConvertCmykImage(ImageRecord* image) {
  if (image->pixels == nullptr || image->width <= 0) return;
  for (int32_t y = 0; y < image->height; ++y)
    pixbase::pixel::CmykRowToRgb(image->pixels + static_cast<size_t>(y) * image->width,
                                 image->width);
}

}  // namespace

extern "C" {

int32_t ConvertImageToRGB(ImageRecord* image, Colorspace space) {
  if (image->colorSpace == ColorspaceCMYK && space == ColorspaceRGB) {
    image->colorSpace = ColorspaceRGB;
    ConvertCmykImage(image);
    return 1;
  }
  if (space == ColorspaceRGB || space == ColorspacePassThrough2 || space == ColorspacePassThrough3)
    return 1;

  Tables tables;
  if (!ObtainTables(tables)) {
    RecordTransformFailure(image);
    return 0;
  }
  const TransformIndex index = pixbase::pixel::TransformFor(space);
  const ColorTransform& transform = kColorTransforms[index];
  const uint8_t* tone = pixbase::pixel::ToneTableOf(transform.tone);

  // Only the plain loop reads the tables: the vector loops compute their
  // entries where they need them.
  const VectorLevel level = pixbase::pixel::ActiveVectorLevel();
  if (level == VectorLevel::kPlain) FillTables(transform, tables);
  const int32_t width = image->width;
  const bool has_pixels = image->pixels != nullptr && width > 0;
  for (int32_t y = 0; y < image->height; ++y) {
    if (has_pixels) {
      uint32_t* row = image->pixels + static_cast<size_t>(y) * width;
      if (level == VectorLevel::kPlain) {
        ConvertRowWithTables(tables, tone, row, width);
      } else {
        pixbase::pixel::ConvertRowVector(static_cast<int32_t>(level), index, row, width);
      }
    }
    if (ReportProgress(0, kProgressText, y, image->height) == 0) break;
  }
  tables.Release();
  return 1;
}

}  // extern "C"
