#pragma once
// A picture file for the tests and the benchmark: an uncompressed 24-bit BMP of width x height
// grey pixels at 96 dpi (3780 pixels per metre), as a clipboard's image bytes.
#include <cstdint>
#include <vector>

namespace harumado::calc::testing {

inline std::vector<std::uint8_t> Bitmap(int width, int height) {
  const int row = (width * 3 + 3) / 4 * 4;
  const int pixels = row * height;
  std::vector<std::uint8_t> b(54 + static_cast<std::size_t>(pixels), 0x80);
  auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, static_cast<std::uint32_t>(b.size()), 4);
  put(6, 0, 4);
  put(10, 54, 4);  // where the pixels start
  put(14, 40, 4);  // BITMAPINFOHEADER
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);   // planes
  put(28, 24, 2);  // bits per pixel
  put(30, 0, 4);   // no compression
  put(34, static_cast<std::uint32_t>(pixels), 4);
  put(38, 3780, 4);
  put(42, 3780, 4);
  put(46, 0, 4);
  put(50, 0, 4);
  return b;
}

}  // namespace harumado::calc::testing
