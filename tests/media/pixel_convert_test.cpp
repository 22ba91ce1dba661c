// Per-depth conversion of picture indices, with the worked values of the
// conversion rules: only index 0 becomes 0, black elsewhere becomes near-black.
#include <gtest/gtest.h>

#include <vector>

#include "media/pixel_convert.h"

namespace {

std::vector<uint8_t> Table(std::initializer_list<std::pair<int, uint32_t>> entries) {
  std::vector<uint8_t> t(1024, 0);
  for (auto& e : entries) {
    t[4 * e.first] = static_cast<uint8_t>(e.second);
    t[4 * e.first + 1] = static_cast<uint8_t>(e.second >> 8);
    t[4 * e.first + 2] = static_cast<uint8_t>(e.second >> 16);
  }
  return t;
}

const klDrawPixelFormat k565 = klPixelFormatFromMasks(0xF800, 0x07E0, 0x001F);
const klDrawPixelFormat k555 = klPixelFormatFromMasks(0x7C00, 0x03E0, 0x001F);

struct Case {
  int depth;
  const klDrawPixelFormat* format;
  int index;
  std::vector<uint8_t> bytes;  // the pixel as stored, little-endian
};

TEST(PixelConvert, WorkedValuesAtEveryDepth) {
  // 7: (200, 100, 50); 12: black; 20: pure red; 21: red 240; 22: white; 0: black too.
  std::vector<uint8_t> table =
      Table({{7, 0xC86432}, {20, 0xFF0000}, {21, 0xF00000}, {22, 0xFFFFFF}, {30, 0x0F0F0F}});
  const Case cases[] = {
      {32, &k565, 7, {50, 100, 200, 1}},
      {32, &k565, 0, {0, 0, 0, 0}},
      {32, &k565, 12, {1, 1, 1, 1}},
      {24, &k565, 7, {50, 100, 200}},
      {24, &k565, 0, {0, 0, 0}},
      {24, &k565, 12, {1, 1, 1}},
      {8, &k565, 7, {7}},
      {8, &k565, 0, {0}},
      // 5-6-5: red 255 -> 31, green 0 -> 8 >> 2 = 2, blue 0 -> 8 >> 3 = 1.
      {16, &k565, 20, {0x41, 0xF8}},
      // red 240 -> (240 + 8) >> 3 = 31; green and blue as above.
      {16, &k565, 21, {0x41, 0xF8}},
      {16, &k565, 22, {0xFF, 0xFF}},        // 255 stays 255: no overflow into red
      {16, &k565, 12, {0x41, 0x08}},        // black: 1, 2, 1, not the key
      {16, &k565, 0, {0, 0}},
      {16, &k565, 30, {0xA2, 0x10}},        // 15 + 8 = 23: red 2, green 5, blue 2
      {16, &k555, 20, {0x21, 0x7C}},        // 5-5-5: red 31, green 1, blue 1
  };
  for (const Case& c : cases) {
    uint32_t pixels[256];
    klBuildPixelTable(c.depth, table.data(), *c.format, pixels);
    uint8_t index = static_cast<uint8_t>(c.index);
    std::vector<uint8_t> out(c.bytes.size() + 1, 0xEE);
    klConvertRow(c.depth, &index, 1, pixels, out.data());
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.end() - 1), c.bytes)
        << "depth " << c.depth << " index " << c.index;
    EXPECT_EQ(out.back(), 0xEE) << "wrote past the pixel at depth " << c.depth;
  }
}

TEST(PixelConvert, OnlyIndexZeroBecomesTheKey) {
  std::vector<uint8_t> black(1024, 0);
  for (int depth : {16, 24, 32}) {
    uint32_t pixels[256];
    klBuildPixelTable(depth, black.data(), k565, pixels);
    EXPECT_EQ(pixels[0], 0u);
    for (int i = 1; i < 256; ++i) ASSERT_NE(pixels[i], 0u) << "depth " << depth << " index " << i;
  }
}

TEST(PixelConvert, FormatFromMasks) {
  EXPECT_EQ(k565.red.value, 31u);
  EXPECT_EQ(k565.red.position, 11u);
  EXPECT_EQ(k565.red.reduction, 3u);
  EXPECT_EQ(k565.green.value, 63u);
  EXPECT_EQ(k565.green.position, 5u);
  EXPECT_EQ(k565.green.reduction, 2u);
  EXPECT_EQ(k565.blue.position, 0u);
  EXPECT_EQ(k555.green.reduction, 3u);
}

TEST(PixelConvert, OtherDepthsWriteNothing) {
  uint32_t pixels[256] = {};
  uint8_t index = 3, out = 0xEE;
  EXPECT_EQ(klBytesPerPixel(4), 0);
  klConvertRow(4, &index, 1, pixels, &out);
  EXPECT_EQ(out, 0xEE);
}

}  // namespace
