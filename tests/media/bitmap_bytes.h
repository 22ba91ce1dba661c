// Builds 8-bit bitmap files in memory for the media tests: the layout the game's
// sheets use (40-byte header, 256 table entries, pixels at 1078, rows bottom-up,
// padded to 4 bytes), with fields the tests can then damage.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct BitmapRecipe {
  int width = 4;
  int height = 2;
  std::vector<uint8_t> indices;   // width x height, rows from the top; empty: all 0
  std::vector<uint32_t> colours;  // table entries 0xRRGGBB; missing entries are 0
};

inline void PutLe(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
  for (int k = 0; k < bytes; ++k) b[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

inline std::vector<uint8_t> BitmapBytes(const BitmapRecipe& s) {
  size_t stride = (static_cast<size_t>(s.width) + 3) & ~size_t{3};
  std::vector<uint8_t> b(1078 + stride * s.height, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLe(b, 2, static_cast<uint32_t>(b.size()), 4);
  PutLe(b, 10, 1078, 4);
  PutLe(b, 14, 40, 4);
  PutLe(b, 18, static_cast<uint32_t>(s.width), 4);
  PutLe(b, 22, static_cast<uint32_t>(s.height), 4);
  PutLe(b, 26, 1, 2);
  PutLe(b, 28, 8, 2);
  for (size_t i = 0; i < s.colours.size() && i < 256; ++i) {
    b[54 + 4 * i] = static_cast<uint8_t>(s.colours[i]);
    b[54 + 4 * i + 1] = static_cast<uint8_t>(s.colours[i] >> 8);
    b[54 + 4 * i + 2] = static_cast<uint8_t>(s.colours[i] >> 16);
  }
  for (int r = 0; r < s.height && !s.indices.empty(); ++r)
    for (int j = 0; j < s.width; ++j)
      b[1078 + (s.height - 1 - r) * stride + j] = s.indices[static_cast<size_t>(r) * s.width + j];
  return b;
}

inline bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
