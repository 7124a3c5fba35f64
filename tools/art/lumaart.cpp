// lumaart: draws the pictures of setup from source, on the build host.
//
//   lumaart OUTPUT_DIRECTORY FONT_FILE
//
// writes into OUTPUT_DIRECTORY
//   welcome.bmp            the start dialog's picture, 121 x 219, 4 bits per pixel
//   title_zh.bmp           the product title in Chinese, 526 x 160, monochrome
//   title_en.bmp           the product title in English, 526 x 160, monochrome
//   copy01.ico..copy11.ico the eleven frames of the copy animation (32 x 32 and
//                          16 x 16, 32 bits per pixel with a mask); the first is
//                          also the program's icon
//
// The titles are rendered with FreeType from FONT_FILE (a TrueType or OpenType
// file or collection holding CJK and Latin glyphs, e.g. Noto Sans CJK). In the
// title bitmaps a 0 bit is ink and a 1 bit is background: setup paints the
// brush colour where the bitmap is 0 and leaves the window where it is 1.
//
// Divisions: raster helpers, file writers (BMP, ICO), the pictures, main.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------- raster

struct Rgba {
  double r, g, b, a;
};

// A floating-point RGBA canvas; y grows downward.
struct Canvas {
  int width, height;
  std::vector<Rgba> pixels;
  Canvas(int w, int h)
      : width(w), height(h), pixels(static_cast<size_t>(w) * h, Rgba{0, 0, 0, 0}) {}
  Rgba& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  // Source-over blend of colour c with coverage.
  void blend(int x, int y, Rgba c, double coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0) return;
    double a = c.a * std::min(coverage, 1.0);
    Rgba& d = at(x, y);
    double out_a = a + d.a * (1 - a);
    if (out_a <= 0) return;
    d.r = (c.r * a + d.r * d.a * (1 - a)) / out_a;
    d.g = (c.g * a + d.g * d.a * (1 - a)) / out_a;
    d.b = (c.b * a + d.b * d.a * (1 - a)) / out_a;
    d.a = out_a;
  }
};

// Fills every pixel for which inside(px, py) holds, with 4x4 supersampling
// for smooth edges. Coordinates are in pixels, pixel centres at +0.5.
template <typename Inside>
void fill_shape(Canvas& canvas, Rgba colour, Inside inside) {
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
          if (inside(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0)) ++hits;
      canvas.blend(x, y, colour, hits / 16.0);
    }
  }
}

void fill_rect(Canvas& c, double x0, double y0, double x1, double y1, Rgba colour) {
  fill_shape(c, colour, [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

void fill_ellipse(Canvas& c, double cx, double cy, double rx, double ry, Rgba colour) {
  fill_shape(c, colour, [=](double x, double y) {
    double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  });
}

void fill_ring(Canvas& c, double cx, double cy, double outer, double inner, Rgba colour) {
  fill_shape(c, colour, [=](double x, double y) {
    double d = std::hypot(x - cx, y - cy);
    return d <= outer && d >= inner;
  });
}

// Convex polygon given by its corners in order (either winding).
void fill_polygon(Canvas& c, const std::vector<std::pair<double, double>>& pts, Rgba colour) {
  fill_shape(c, colour, [&](double x, double y) {
    int sign = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
      auto [x0, y0] = pts[i];
      auto [x1, y1] = pts[(i + 1) % pts.size()];
      double cross = (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0);
      int s = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
      if (s == 0) continue;
      if (sign == 0) sign = s;
      if (s != sign) return false;
    }
    return true;
  });
}

Rgba rgb(int r, int g, int b, double a = 1.0) { return Rgba{r / 255.0, g / 255.0, b / 255.0, a}; }

// ---------------------------------------------------------------- files

void put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

void put_info_header(std::vector<uint8_t>& out, int width, int height, int bits,
                     uint32_t image_size, uint32_t colours) {
  put32(out, 40);
  put32(out, static_cast<uint32_t>(width));
  put32(out, static_cast<uint32_t>(height));
  put16(out, 1);
  put16(out, static_cast<unsigned>(bits));
  put32(out, 0);  // BI_RGB
  put32(out, image_size);
  put32(out, 2835);  // 72 dpi
  put32(out, 2835);
  put32(out, colours);
  put32(out, 0);
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "lumaart: cannot create %s\n", path.c_str());
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) std::fprintf(stderr, "lumaart: cannot write %s\n", path.c_str());
  return ok;
}

// A palette-indexed bitmap file (1 or 4 bits per pixel), rows stored bottom-up.
bool write_indexed_bmp(const std::string& path, int width, int height, int bits,
                       const std::vector<uint32_t>& palette, const std::vector<uint8_t>& indices) {
  const int row_bytes = ((width * bits + 31) / 32) * 4;
  const uint32_t image_size = static_cast<uint32_t>(row_bytes * height);
  const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, offset + image_size);
  put32(out, 0);
  put32(out, offset);
  put_info_header(out, width, height, bits, image_size, static_cast<uint32_t>(palette.size()));
  for (uint32_t colour : palette) put32(out, colour);  // 0x00RRGGBB is B, G, R, 0 in memory
  for (int y = height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(row_bytes), 0);
    for (int x = 0; x < width; ++x) {
      unsigned v = indices[static_cast<size_t>(y) * width + x];
      int bit = x * bits;
      row[static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(v << (8 - bits - bit % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return write_file(path, out);
}

// An icon file with one 32-bit image per canvas (alpha plus an AND mask for
// systems that ignore alpha).
bool write_icon(const std::string& path, const std::vector<Canvas>& images) {
  std::vector<std::vector<uint8_t>> blobs;
  for (const Canvas& c : images) {
    std::vector<uint8_t> blob;
    const int mask_row = ((c.width + 31) / 32) * 4;
    put_info_header(blob, c.width, c.height * 2, 32,
                    static_cast<uint32_t>(c.width * c.height * 4 + mask_row * c.height), 0);
    for (int y = c.height - 1; y >= 0; --y)
      for (int x = 0; x < c.width; ++x) {
        const Rgba& p = c.pixels[static_cast<size_t>(y) * c.width + x];
        auto channel = [](double v) {
          return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
        };
        // Icon files keep straight (not premultiplied) alpha; a transparent
        // pixel is black so that the masked path shows the background.
        blob.push_back(channel(p.a > 0 ? p.b : 0));
        blob.push_back(channel(p.a > 0 ? p.g : 0));
        blob.push_back(channel(p.a > 0 ? p.r : 0));
        blob.push_back(channel(p.a));
      }
    for (int y = c.height - 1; y >= 0; --y) {
      std::vector<uint8_t> row(static_cast<size_t>(mask_row), 0);
      for (int x = 0; x < c.width; ++x)
        if (c.pixels[static_cast<size_t>(y) * c.width + x].a < 0.5)
          row[static_cast<size_t>(x / 8)] |= 0x80 >> (x % 8);
      blob.insert(blob.end(), row.begin(), row.end());
    }
    blobs.push_back(std::move(blob));
  }
  std::vector<uint8_t> out;
  put16(out, 0);
  put16(out, 1);  // icon
  put16(out, static_cast<unsigned>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>(images[i].width));
    out.push_back(static_cast<uint8_t>(images[i].height));
    out.push_back(0);  // colour count: not palette-based
    out.push_back(0);
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, static_cast<uint32_t>(blobs[i].size()));
    put32(out, offset);
    offset += static_cast<uint32_t>(blobs[i].size());
  }
  for (const auto& blob : blobs) out.insert(out.end(), blob.begin(), blob.end());
  return write_file(path, out);
}

// ---------------------------------------------------------------- pictures

// The welcome picture: a lens over a landscape under an evening sky, in a
// palette of sixteen colours.
bool draw_welcome(const std::string& path) {
  const int w = 121, h = 219;
  const std::vector<uint32_t> palette = {
      0x000000, 0x001048, 0x00206E, 0x003090, 0x0848B0, 0x2068C8, 0x4088D8, 0x70A8E4,
      0xA8CCF0, 0xFFFFFF, 0x104020, 0x206830, 0x40904A, 0xF0C040, 0xC07020, 0x5898D8,
  };
  Canvas c(w, h);
  // Sky: deep blue at the top to light blue at the horizon.
  for (int y = 0; y < 150; ++y) {
    double t = y / 150.0;
    fill_rect(c, 0, y, w, y + 1, Rgba{0.02 + 0.6 * t, 0.08 + 0.65 * t, 0.30 + 0.62 * t, 1});
  }
  fill_ellipse(c, 88, 52, 13, 13, rgb(240, 192, 64));  // the sun
  // Hills.
  fill_shape(c, rgb(32, 104, 48),
             [](double x, double y) { return y > 138 + 14 * std::sin(x / 19.0); });
  fill_shape(c, rgb(16, 64, 32),
             [](double x, double y) { return y > 160 + 10 * std::cos(x / 13.0 + 1); });
  // The lens: a ring with a handle, a pale glass and a highlight.
  fill_polygon(c, {{70, 124}, {79, 115}, {112, 150}, {103, 159}}, rgb(192, 112, 32));
  fill_ellipse(c, 50, 98, 32, 32, rgb(168, 204, 240, 0.55));
  fill_ring(c, 50, 98, 35, 29, rgb(0, 32, 110));
  fill_ring(c, 50, 98, 31, 29, rgb(255, 255, 255));
  fill_ellipse(c, 40, 86, 8, 5, rgb(255, 255, 255, 0.8));
  // Frame line.
  fill_rect(c, 0, 0, w, 1, rgb(0, 0, 0));
  fill_rect(c, 0, h - 1, w, h, rgb(0, 0, 0));
  fill_rect(c, 0, 0, 1, h, rgb(0, 0, 0));
  fill_rect(c, w - 1, 0, w, h, rgb(0, 0, 0));

  // Nearest palette entry for every pixel.
  std::vector<uint8_t> indices(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < indices.size(); ++i) {
    const Rgba& p = c.pixels[i];
    double best = 1e9;
    for (size_t k = 0; k < palette.size(); ++k) {
      double dr = p.r - ((palette[k] >> 16) & 0xFF) / 255.0;
      double dg = p.g - ((palette[k] >> 8) & 0xFF) / 255.0;
      double db = p.b - (palette[k] & 0xFF) / 255.0;
      double d = dr * dr + dg * dg + db * db;
      if (d < best) {
        best = d;
        indices[i] = static_cast<uint8_t>(k);
      }
    }
  }
  return write_indexed_bmp(path, w, h, 4, palette, indices);
}

// Decodes UTF-8 into code points (the inputs are our own literals).
std::vector<uint32_t> decode_utf8(const char* text) {
  std::vector<uint32_t> out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p;) {
    uint32_t cp = *p;
    int extra = cp >= 0xF0 ? 3 : cp >= 0xE0 ? 2 : cp >= 0xC0 ? 1 : 0;
    if (extra) cp &= 0x3F >> extra;
    ++p;
    for (int i = 0; i < extra && *p; ++i, ++p) cp = (cp << 6) | (*p & 0x3F);
    out.push_back(cp);
  }
  return out;
}

struct TitleLine {
  const char* text;
  int pixel_size;
  int baseline;  // from the top of the bitmap
};

// Renders lines of text centred into a 1-bit coverage mask (true = ink).
bool render_lines(FT_Face face, const std::vector<TitleLine>& lines, int w, int h,
                  std::vector<bool>& ink) {
  ink.assign(static_cast<size_t>(w) * h, false);
  for (const TitleLine& line : lines) {
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(line.pixel_size))) return false;
    std::vector<uint32_t> cps = decode_utf8(line.text);
    long advance = 0;  // 26.6
    for (uint32_t cp : cps) {
      if (FT_Load_Char(face, cp, FT_LOAD_DEFAULT)) return false;
      advance += face->glyph->advance.x;
    }
    int pen = static_cast<int>((w * 64 - advance) / 2 / 64);
    if (pen < 0) {
      std::fprintf(stderr, "lumaart: title line \"%s\" is wider than %d pixels\n", line.text, w);
      return false;
    }
    for (uint32_t cp : cps) {
      if (FT_Get_Char_Index(face, cp) == 0) {
        std::fprintf(stderr, "lumaart: the font has no glyph for U+%04X\n",
                     static_cast<unsigned>(cp));
        return false;
      }
      if (FT_Load_Char(face, cp, FT_LOAD_RENDER)) return false;
      FT_GlyphSlot g = face->glyph;
      for (unsigned row = 0; row < g->bitmap.rows; ++row)
        for (unsigned col = 0; col < g->bitmap.width; ++col) {
          int x = pen + g->bitmap_left + static_cast<int>(col);
          int y = line.baseline - g->bitmap_top + static_cast<int>(row);
          if (x < 0 || y < 0 || x >= w || y >= h) continue;
          if (g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col] >= 128)
            ink[static_cast<size_t>(y) * w + x] = true;
        }
      pen += static_cast<int>(g->advance.x / 64);
    }
  }
  return true;
}

bool draw_title(FT_Face face, const std::string& path, const std::vector<TitleLine>& lines) {
  const int w = 526, h = 160;
  std::vector<bool> ink;
  if (!render_lines(face, lines, w, h, ink)) return false;
  std::vector<uint8_t> indices(ink.size());
  for (size_t i = 0; i < ink.size(); ++i) indices[i] = ink[i] ? 0 : 1;
  return write_indexed_bmp(path, w, h, 1, {0x000000, 0xFFFFFF}, indices);
}

// One frame of the copy animation: a sheet of paper flies in an arc from the
// open folder at the left to the one at the right; frame runs from 0 to 10.
Canvas draw_copy_frame(int size, int frame) {
  Canvas c(size, size);
  const double s = size / 32.0;
  auto folder = [&](double x0) {
    fill_rect(c, x0 * s, 14 * s, (x0 + 6) * s, 17 * s, rgb(200, 150, 40));     // tab
    fill_rect(c, x0 * s, 16 * s, (x0 + 14) * s, 30 * s, rgb(232, 184, 64));    // body
    fill_rect(c, x0 * s, 28.5 * s, (x0 + 14) * s, 30 * s, rgb(160, 110, 20));  // shadow
  };
  folder(0.5);
  folder(17.5);
  // The sheet's path: a half ellipse over the gap between the folders.
  const double t = frame / 10.0;
  const double angle = 3.14159265358979 * (1 - t);
  const double cx = 16 + 8.5 * std::cos(angle);
  const double cy = 17 - 9 * std::sin(angle);
  const double tilt = 0.6 * (t - 0.5);
  auto corner = [&](double dx, double dy) {
    return std::pair<double, double>{(cx + dx * std::cos(tilt) - dy * std::sin(tilt)) * s,
                                     (cy + dx * std::sin(tilt) + dy * std::cos(tilt)) * s};
  };
  fill_polygon(c, {corner(-5.5, -7), corner(5.5, -7), corner(5.5, 7), corner(-5.5, 7)},
               rgb(40, 56, 96));
  fill_polygon(c, {corner(-4.7, -6.2), corner(4.7, -6.2), corner(4.7, 6.2), corner(-4.7, 6.2)},
               rgb(255, 255, 255));
  for (int line = 0; line < 4; ++line) {
    double y = -4.2 + 2.4 * line;
    fill_polygon(c, {corner(-3.2, y), corner(3.2, y), corner(3.2, y + 1.1), corner(-3.2, y + 1.1)},
                 rgb(32, 96, 200));
  }
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lumaart OUTPUT_DIRECTORY FONT_FILE\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  FT_Library library;
  if (FT_Init_FreeType(&library)) {
    std::fprintf(stderr, "lumaart: FreeType failed to start\n");
    return 1;
  }
  // In a collection, prefer the simplified Chinese face.
  FT_Face face = nullptr;
  FT_Long faces = 1;
  for (FT_Long i = 0; i < faces; ++i) {
    FT_Face candidate;
    if (FT_New_Face(library, argv[2], i, &candidate)) break;
    faces = candidate->num_faces;
    bool sc = candidate->family_name && std::strstr(candidate->family_name, " SC");
    if (!face || sc) {
      if (face) FT_Done_Face(face);
      face = candidate;
      if (sc) break;
    } else {
      FT_Done_Face(candidate);
    }
  }
  if (!face) {
    std::fprintf(stderr, "lumaart: cannot open the font %s\n", argv[2]);
    return 1;
  }
  bool ok = draw_welcome(dir + "welcome.bmp");
  ok = ok && draw_title(face, dir + "title_zh.bmp",
                        {{"宽镜", 84, 80}, {"图像浏览器  安装程序", 28, 120}});
  ok = ok && draw_title(face, dir + "title_en.bmp",
                        {{"Corvane Widelens", 58, 70}, {"Picture Viewer Setup", 28, 114}});
  for (int frame = 0; ok && frame < 11; ++frame) {
    char name[32];
    std::snprintf(name, sizeof name, "copy%02d.ico", frame + 1);
    ok = write_icon(dir + name, {draw_copy_frame(32, frame), draw_copy_frame(16, frame)});
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return ok ? 0 : 1;
}
