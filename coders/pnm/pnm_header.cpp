// The headers of the portable anymap family: the magic number, then for P1
// to P6 white-space separated decimal fields with '#' comments, and for P7
// lines of keywords up to ENDHDR.
#include <cstring>

#include "image_faults.h"
#include "pixel_array.h"
#include "pnm.h"
#include "pnm_texts.h"

namespace lumaview::coders::pnm {

namespace {

bool IsWhite(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Takes a comment's text up to the end of its line into the header.
void TakeComment(ImageReader& reader, Header* header) {
  std::string line;
  for (int c = reader.Get(); c != -1 && c != '\n' && c != '\r'; c = reader.Get())
    if (line.size() < kMaximumComment) line.push_back(static_cast<char>(c));
  size_t start = line.find_first_not_of(' ');
  line.erase(0, start == std::string::npos ? line.size() : start);
  if (header->comment.size() + line.size() + 1 > kMaximumComment) return;
  if (!header->comment.empty()) header->comment.push_back('\n');
  header->comment += line;
}

// A decimal field after white space and comments; false when there is none.
// Values beyond 2^31 read as 2^31, which every limit refuses.
bool ReadField(ImageReader& reader, Header* header, int64_t* value) {
  int c = reader.Peek();
  while (IsWhite(c) || c == '#') {
    reader.Get();
    if (c == '#') TakeComment(reader, header);
    c = reader.Peek();
  }
  if (c < '0' || c > '9') return false;
  int64_t number = 0;
  while (c >= '0' && c <= '9') {
    reader.Get();
    number = number * 10 + (c - '0');
    if (number > (int64_t{1} << 31)) number = int64_t{1} << 31;
    c = reader.Peek();
  }
  *value = number;
  return true;
}

bool Refuse(ImageRecord* image, const char* reason, const char* description) {
  RecordFault(image, CoderDataError, reason, description);
  return false;
}

bool CheckSizes(ImageRecord* image, const Header& header) {
  if (header.width < 1 || header.height < 1)
    return Refuse(image, kImproperHeader, "a width or height of zero");
  if (!DimensionsFit(header.width, header.height)) {
    RecordFaultAt(image, CoderDataError, kTooLargeReason, "%lld pixels",
                  header.width * header.height);
    return false;
  }
  if (header.maxval < 1 || header.maxval > 65535)
    return Refuse(image, kImproperHeader, "the maxval is not between 1 and 65535");
  return true;
}

bool ReadClassicHeader(ImageReader& reader, ImageRecord* image, Header* header) {
  const char kind = header->magic;
  header->plain = kind <= '3';
  bool bitmap = kind == '1' || kind == '4';
  int64_t maxval = 1;
  if (!ReadField(reader, header, &header->width) || !ReadField(reader, header, &header->height) ||
      (!bitmap && !ReadField(reader, header, &maxval)))
    return Refuse(image, kImproperHeader, "a width, height or maxval is missing");
  header->maxval = maxval > 65535 || maxval < 0 ? 0 : static_cast<uint32_t>(maxval);
  header->depth = (kind == '3' || kind == '6') ? 3 : 1;
  header->tuple = bitmap ? Tuple::Bitmap : header->depth == 3 ? Tuple::RGB : Tuple::Grey;
  if (!CheckSizes(image, *header)) return false;
  // One white-space character separates the header from the samples.
  if (!IsWhite(reader.Get()))
    return Refuse(image, kImproperHeader, "no white space after the header");
  return true;
}

// One line of an arbitrary map's header, without its line end; false at the
// end of the data or for a line too long to be a header line.
bool ReadLine(ImageReader& reader, std::string* line) {
  line->clear();
  int c = reader.Get();
  if (c == -1) return false;
  for (; c != -1 && c != '\n'; c = reader.Get()) {
    if (line->size() >= 1024) return false;
    line->push_back(static_cast<char>(c));
  }
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return true;
}

bool ParseNumber(const char* text, int64_t* value) {
  while (IsWhite(*text)) ++text;
  if (*text < '0' || *text > '9') return false;
  int64_t number = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    number = number * 10 + (*text - '0');
    if (number > (int64_t{1} << 31)) number = int64_t{1} << 31;
  }
  while (IsWhite(*text)) ++text;
  *value = number;
  return *text == '\0';
}

// The tuple of an arbitrary map; an unknown type is taken by its depth.
bool ChooseTuple(ImageRecord* image, const std::string& type, Header* header) {
  struct Known {
    const char* name;
    Tuple tuple;
    uint32_t depth;
  };
  static const Known kKnown[] = {{"BLACKANDWHITE", Tuple::Grey, 1},
                                 {"GRAYSCALE", Tuple::Grey, 1},
                                 {"RGB", Tuple::RGB, 3},
                                 {"BLACKANDWHITE_ALPHA", Tuple::GreyAlpha, 2},
                                 {"GRAYSCALE_ALPHA", Tuple::GreyAlpha, 2},
                                 {"RGB_ALPHA", Tuple::RGBAlpha, 4},
                                 {"CMYK", Tuple::CMYK, 4}};
  for (const Known& known : kKnown) {
    if (type != known.name) continue;
    if (header->depth < known.depth)
      return Refuse(image, kUnsupportedImage, "the depth is too small for the tuple type");
    header->tuple = known.tuple;
    return true;
  }
  header->tuple = header->depth >= 3 ? Tuple::RGB : Tuple::Grey;
  return true;
}

bool ReadArbitraryHeader(ImageReader& reader, ImageRecord* image, Header* header) {
  int64_t width = -1, height = -1, depth = -1, maxval = -1;
  std::string type, line;
  for (;;) {
    if (!ReadLine(reader, &line))
      return Refuse(image, kImproperHeader, "the header ends before ENDHDR");
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) continue;
    if (line[start] == '#') {
      std::string text = line.substr(start + 1);
      size_t first = text.find_first_not_of(' ');
      text.erase(0, first == std::string::npos ? text.size() : first);
      if (header->comment.size() + text.size() + 1 <= kMaximumComment) {
        if (!header->comment.empty()) header->comment.push_back('\n');
        header->comment += text;
      }
      continue;
    }
    size_t end = line.find_first_of(" \t", start);
    std::string keyword = line.substr(start, end == std::string::npos ? end : end - start);
    const char* rest = end == std::string::npos ? "" : line.c_str() + end;
    if (keyword == "ENDHDR") break;
    int64_t* field = keyword == "WIDTH"    ? &width
                     : keyword == "HEIGHT" ? &height
                     : keyword == "DEPTH"  ? &depth
                     : keyword == "MAXVAL" ? &maxval
                                           : nullptr;
    if (field != nullptr) {
      if (!ParseNumber(rest, field))
        return Refuse(image, kImproperHeader, "a header field is not a number");
    } else if (keyword == "TUPLTYPE") {
      std::string value(rest);
      size_t first = value.find_first_not_of(" \t");
      size_t last = value.find_last_not_of(" \t");
      value = first == std::string::npos ? "" : value.substr(first, last - first + 1);
      if (!type.empty()) type.push_back(' ');
      if (type.size() + value.size() < 256) type += value;
    } else {
      return Refuse(image, kImproperHeader, "an unknown keyword in the header");
    }
  }
  if (width < 0 || height < 0 || depth < 0 || maxval < 0)
    return Refuse(image, kImproperHeader, "WIDTH, HEIGHT, DEPTH or MAXVAL is missing");
  if (depth < 1 || depth > kMaximumDepth)
    return Refuse(image, kUnsupportedImage, "a depth of 0 or above 64");
  header->width = width;
  header->height = height;
  header->depth = static_cast<uint32_t>(depth);
  header->maxval = maxval > 65535 ? 0 : static_cast<uint32_t>(maxval);
  header->plain = false;
  if (!CheckSizes(image, *header)) return false;
  return ChooseTuple(image, type, header);
}

}  // namespace

bool ReadHeader(ImageReader& reader, ImageRecord* image, Header* header) {
  int p = reader.Get();
  int kind = reader.Get();
  if (p != 'P' || kind < '1' || kind > '7')
    return Refuse(image, kImproperHeader, "no magic number P1 to P7");
  header->magic = static_cast<char>(kind);
  if (kind != '7') return ReadClassicHeader(reader, image, header);
  int c = reader.Get();
  if (c == '\r') c = reader.Get();
  if (c != '\n') return Refuse(image, kImproperHeader, "no line end after P7");
  return ReadArbitraryHeader(reader, image, header);
}

}  // namespace lumaview::coders::pnm
