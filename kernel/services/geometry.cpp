// Geometry texts (width x height with signed offsets) and the page-size table.
#include "pixbase/geometry.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "pixbase/allocator.h"
#include "pixbase/text.h"
#include "services/character_classes.h"
#include "services/raise.h"

namespace {

using pixbase::text::IsDigit;

int32_t Clamp(double value) {
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);  // truncation toward zero
}

// True when the decimal number at `p` (digits, a point, an exponent) is at
// least 1 in magnitude: its first significant digit stands before the point
// once the exponent is applied. Decides a number too large or too small for
// a double.
bool AtLeastOne(const char* p) {
  int64_t magnitude = 0;  // the power of ten of the first significant digit
  bool found = false;
  int64_t integer_digits = 0;
  for (; IsDigit(static_cast<unsigned char>(*p)); ++p) {
    if (*p != '0') found = true;
    if (found) ++integer_digits;
  }
  if (found) {
    magnitude = integer_digits - 1;
    if (*p == '.') ++p;
    while (IsDigit(static_cast<unsigned char>(*p))) ++p;
  } else if (*p == '.') {
    for (++p; *p == '0'; ++p) --magnitude;
    if (!IsDigit(static_cast<unsigned char>(*p))) return false;  // zero
    --magnitude;
    while (IsDigit(static_cast<unsigned char>(*p))) ++p;
  } else {
    return false;
  }
  if (*p == 'e' || *p == 'E') {
    ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    int64_t exponent = 0;
    for (; IsDigit(static_cast<unsigned char>(*p)); ++p)
      if (exponent < 1000000) exponent = exponent * 10 + (*p - '0');
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude >= 0;
}

// Reads a decimal number as strtod does in the "C" locale (leading white
// space, sign, fraction, exponent), truncated toward zero and held to the
// 32-bit range. The decimal point is '.' whatever locale the client has
// chosen: a decimal comma of its locale is no part of a geometry.
// Only decimal forms are numbers of a geometry: strtod's hexadecimal,
// infinity and NaN forms would read "0x50" as 80 instead of a width of 0 and
// a height of 50, so a "0x" stops after the 0. Without a number nothing is
// consumed and the value is 0. Returns where the reading stopped.
const char* ReadNumber(const char* text, int32_t* value) {
  const char* p = text;
  while (pixbase::text::IsSpace(static_cast<unsigned char>(*p))) ++p;
  bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  *value = 0;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return p + 1;
  bool digits = IsDigit(static_cast<unsigned char>(p[0])) ||
                (p[0] == '.' && IsDigit(static_cast<unsigned char>(p[1])));
  if (!digits) return text;
  double number = 0.0;
  std::from_chars_result read =
      std::from_chars(p, p + std::strlen(p), number, std::chars_format::general);
  if (read.ec == std::errc::result_out_of_range)
    number = AtLeastOne(p) ? HUGE_VAL : 0.0;  // as strtod: infinity, or zero
  *value = Clamp(negative ? -number : number);
  return read.ptr;
}

// Reads an offset after its sign byte.
const char* ReadOffset(const char* p, int32_t* value, int32_t* flags, int32_t has, int32_t minus) {
  bool negative = *p == '-';
  p = ReadNumber(p + 1, value);
  if (negative) {
    *value = Clamp(-static_cast<double>(*value));
    *flags |= minus;
  }
  *flags |= has;
  return p;
}

struct PageSize {
  const char* name;
  const char* geometry;
};

// Points (1/72 inch); '>' makes a geometry shrink an image only.
constexpr PageSize kPageSizes[] = {
    {"10x13", "720x936>"},     {"10x14", "720x1008>"},      {"11x17", "792x1224>"},
    {"7x9", "504x648>"},       {"9x11", "648x792>"},        {"9x12", "648x864>"},
    {"A0", "2384x3370>"},      {"A1", "1684x2384>"},        {"A10", "73x105>"},
    {"A2", "1191x1684>"},      {"A3", "842x1191>"},         {"A4", "595x842>"},
    {"A4SMALL", "595x842>"},   {"A5", "420x595>"},          {"A6", "297x420>"},
    {"A7", "210x297>"},        {"A8", "148x210>"},          {"A9", "105x148>"},
    {"ARCHA", "648x864>"},     {"ARCHB", "864x1296>"},      {"ARCHC", "1296x1728>"},
    {"ARCHD", "1728x2592>"},   {"ARCHE", "2592x3456>"},     {"B0", "2920x4127>"},
    {"B1", "2064x2920>"},      {"B10", "91x127>"},          {"B2", "1460x2064>"},
    {"B3", "1032x1460>"},      {"B4", "729x1032>"},         {"B5", "516x729>"},
    {"B6", "363x516>"},        {"B7", "258x363>"},          {"B8", "181x258>"},
    {"B9", "127x181>"},        {"C0", "2599x3676>"},        {"C1", "1837x2599>"},
    {"C2", "1298x1837>"},      {"C3", "918x1296>"},         {"C4", "649x918>"},
    {"C5", "459x649>"},        {"C6", "323x459>"},          {"C7", "230x323>"},
    {"EXECUTIVE", "540x720>"}, {"FLSA", "612x936>"},        {"FLSE", "612x936>"},
    {"FOLIO", "612x936>"},     {"HALFLETTER", "396x612>"},  {"ISOB0", "2835x4008>"},
    {"ISOB1", "2004x2835>"},   {"ISOB10", "88x125>"},       {"ISOB2", "1417x2004>"},
    {"ISOB3", "1001x1417>"},   {"ISOB4", "709x1001>"},      {"ISOB5", "499x709>"},
    {"ISOB6", "354x499>"},     {"ISOB7", "249x354>"},       {"ISOB8", "176x249>"},
    {"ISOB9", "125x176>"},     {"LEDGER", "1224x792>"},     {"LEGAL", "612x1008>"},
    {"LETTER", "612x792>"},    {"LETTERSMALL", "612x792>"}, {"QUARTO", "610x780>"},
    {"STATEMENT", "396x612>"}, {"TABLOID", "792x1224>"},
};
static_assert(sizeof(kPageSizes) / sizeof(kPageSizes[0]) == 65, "65 page sizes");

// The page whose name is the longest that begins `text` (without regard to
// case), or null. A plain first match would take "A1" for "A10" and "A4" for
// "A4SMALL", leaving a broken geometry such as "1684x2384>0".
const PageSize* FindPage(const char* text) {
  const PageSize* best = nullptr;
  size_t best_length = 0;
  for (const PageSize& page : kPageSizes) {
    size_t length = std::strlen(page.name);
    if (length > best_length &&
        CompareNoCaseCount(text, page.name, static_cast<int>(length)) == 0) {
      best = &page;
      best_length = length;
    }
  }
  return best;
}

}  // namespace

extern "C" {

int32_t ReadGeometry(const char* text, int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
  if (text == nullptr || *text == '\0') return 0;
  const char* p = text;
  while (pixbase::text::IsSpace(static_cast<unsigned char>(*p))) ++p;
  if (*p == '=') ++p;
  int32_t values[4] = {0, 0, 0, 0};  // x, y, width, height
  int32_t flags = 0;
  if (CompareNoCase(p, "0x0") == 0) {
    flags = GeometryHasX | GeometryHasY | GeometryHasWidth | GeometryHasHeight;
  } else {
    // An upper-case X here reads a width of 0 without consuming anything.
    if (*p != '+' && *p != '-' && *p != 'x') {
      p = ReadNumber(p, &values[2]);
      flags |= GeometryHasWidth;
    }
    if (*p == 'x' || *p == 'X') {
      p = ReadNumber(p + 1, &values[3]);
      flags |= GeometryHasHeight;
    }
    if (*p == '+' || *p == '-') {
      p = ReadOffset(p, &values[0], &flags, GeometryHasX, GeometryXMinus);
      if (*p == '+' || *p == '-')
        p = ReadOffset(p, &values[1], &flags, GeometryHasY, GeometryYMinus);
    }
    if (*p != '\0') return 0;
  }
  if ((flags & GeometryHasX) && x != nullptr) *x = values[0];
  if ((flags & GeometryHasY) && y != nullptr) *y = values[1];
  if ((flags & GeometryHasWidth) && width != nullptr) *width = values[2];
  if ((flags & GeometryHasHeight) && height != nullptr) *height = values[3];
  return flags;
}

char* TranslatePageGeometry(const char* page) {
  size_t length = page == nullptr ? 0 : std::strlen(page);
  char* result = nullptr;
  if (length <= UINT32_MAX - PIXBASE_TEXT_EXTENT)
    result =
        static_cast<char*>(AllocateMemory(static_cast<uint32_t>(length + PIXBASE_TEXT_EXTENT)));
  if (result == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to translate page geometry");
    return nullptr;
  }
  if (page == nullptr) return result;
  std::memcpy(result, page, length + 1);
  if (!IsDigit(static_cast<unsigned char>(*page))) UpperCaseText(result);
  const PageSize* found = FindPage(result);
  if (found != nullptr) {
    // The geometry (at most 10 bytes) and the rest of the text fit easily.
    size_t geometry_length = std::strlen(found->geometry);
    const char* rest = page + std::strlen(found->name);
    std::memcpy(result, found->geometry, geometry_length);
    std::memcpy(result + geometry_length, rest, std::strlen(rest) + 1);
  }
  return result;
}

}  // extern "C"
