// make_samples: draws the sample pictures that the distribution ships in
// FULLDATA/Samples (installed beside the viewer), one file per format the
// coder modules read:
//   Gradient.ppm  320x240 raw pixmap: red across, green down, blue diagonal
//   Greyramp.pgm  256x64 raw greymap: a ramp from black to white
//   Checker.pbm   96x96 raw bitmap: 8-pixel squares
//   Rings.bmp     200x200 24-bit Windows bitmap: coloured rings
// Usage: make_samples <output folder>
// It runs on the build machine, so it writes the files itself.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

bool WriteFile(const std::string& path, const std::string& header,
               const std::vector<uint8_t>& data) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(header.data(), 1, header.size(), out) == header.size() &&
            std::fwrite(data.data(), 1, data.size(), out) == data.size();
  return std::fclose(out) == 0 && ok;
}

bool Gradient(const std::string& folder) {
  const int width = 320, height = 240;
  std::vector<uint8_t> data;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      data.push_back(static_cast<uint8_t>(x * 255 / (width - 1)));
      data.push_back(static_cast<uint8_t>(y * 255 / (height - 1)));
      data.push_back(static_cast<uint8_t>((x + y) * 255 / (width + height - 2)));
    }
  return WriteFile(folder + "/Gradient.ppm", "P6\n# Lumaview sample\n320 240\n255\n", data);
}

bool Greyramp(const std::string& folder) {
  std::vector<uint8_t> data;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 256; ++x) data.push_back(static_cast<uint8_t>(x));
  return WriteFile(folder + "/Greyramp.pgm", "P5\n256 64\n255\n", data);
}

bool Checker(const std::string& folder) {
  const int side = 96;
  std::vector<uint8_t> data;
  for (int y = 0; y < side; ++y)
    for (int byte = 0; byte < side / 8; ++byte) {
      // One byte holds 8 pixels: one square wide, 1 is black.
      data.push_back(((byte + y / 8) % 2 == 0) ? 0xFF : 0x00);
    }
  return WriteFile(folder + "/Checker.pbm", "P4\n96 96\n", data);
}

void PutLong(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void PutShort(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

bool Rings(const std::string& folder) {
  const int side = 200;
  const int stride = (side * 3 + 3) / 4 * 4;
  const uint8_t colours[6][3] = {{230, 40, 40}, {240, 160, 30}, {240, 230, 50},
                                 {60, 190, 80}, {50, 110, 220}, {140, 70, 200}};
  std::vector<uint8_t> data(static_cast<size_t>(stride) * side, 0);
  for (int row = 0; row < side; ++row) {
    const int y = side - 1 - row;  // stored bottom-up
    for (int x = 0; x < side; ++x) {
      const double distance = std::hypot(x - side / 2 + 0.5, y - side / 2 + 0.5);
      const int ring = static_cast<int>(distance / 16);
      uint8_t* pixel = &data[static_cast<size_t>(row) * stride + 3 * x];
      if (ring < 6) {
        pixel[0] = colours[ring][2];  // blue, green, red
        pixel[1] = colours[ring][1];
        pixel[2] = colours[ring][0];
      } else {
        pixel[0] = pixel[1] = pixel[2] = 255;
      }
    }
  }
  std::string header = "BM";
  PutLong(header, 54 + static_cast<uint32_t>(data.size()));
  PutLong(header, 0);
  PutLong(header, 54);
  PutLong(header, 40);
  PutLong(header, side);
  PutLong(header, side);
  PutShort(header, 1);
  PutShort(header, 24);
  PutLong(header, 0);
  PutLong(header, static_cast<uint32_t>(data.size()));
  PutLong(header, 2835);
  PutLong(header, 2835);
  PutLong(header, 0);
  PutLong(header, 0);
  return WriteFile(folder + "/Rings.bmp", header, data);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_samples <output folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!Gradient(folder) || !Greyramp(folder) || !Checker(folder) || !Rings(folder)) {
    std::fprintf(stderr, "make_samples: cannot write the samples into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
