// The 8-bit reader: what it accepts, how it lays out rows, and that damaged
// headers are refused before any byte outside the file is touched.
#include <gtest/gtest.h>

#include "core/kl_file.h"
#include "media/bitmap_file.h"
#include "media/bitmap_bytes.h"

namespace {

TEST(BitmapFile, ReadsRowsTopFirstWithTheirFourByteStride) {
  // 5 wide: each stored row is 8 bytes, 3 of them fill.
  BitmapRecipe recipe{5, 3, {1, 2, 3, 4, 5, 11, 12, 13, 14, 15, 21, 22, 23, 24, 25}, {0, 0x102030}};
  std::vector<uint8_t> bytes = BitmapBytes(recipe);
  KlBitmapFile file;
  ASSERT_TRUE(klParseBitmap(bytes.data(), bytes.size(), &file));
  EXPECT_EQ(file.width, 5);
  EXPECT_EQ(file.height, 3);
  EXPECT_EQ(file.rowStride, 8u);
  for (int r = 0; r < 3; ++r)
    for (int j = 0; j < 5; ++j) EXPECT_EQ(file.Row(r)[j], recipe.indices[r * 5 + j]) << r << "," << j;
  EXPECT_EQ(file.colourTable[4], 0x30);  // entry 1: blue, green, red
  EXPECT_EQ(file.colourTable[6], 0x10);
}

TEST(BitmapFile, AcceptsALastRowWithoutItsFillBytes) {
  std::vector<uint8_t> bytes = BitmapBytes({5, 2, {}, {}});
  bytes.resize(bytes.size() - 3);
  KlBitmapFile file;
  EXPECT_TRUE(klParseBitmap(bytes.data(), bytes.size(), &file));
  bytes.pop_back();
  EXPECT_FALSE(klParseBitmap(bytes.data(), bytes.size(), &file));
}

struct Damage {
  const char* what;
  size_t at;
  uint32_t value;
  int bytes;
};

TEST(BitmapFile, RefusesWhatItCannotReadSafely) {
  const Damage cases[] = {
      {"4 bits per pixel", 28, 4, 2},
      {"24 bits per pixel", 28, 24, 2},
      {"run-length compressed", 30, 1, 4},
      {"pixels not at 1078 (short table)", 10, 54 + 16 * 4, 4},
      {"larger information header", 14, 124, 4},
      {"zero width", 18, 0, 4},
      {"negative width", 18, 0xFFFFFFFF, 4},
      {"zero height", 22, 0, 4},
      {"top-down (negative height)", 22, static_cast<uint32_t>(-2), 4},
      {"width larger than the file", 18, 5000, 4},
      {"height larger than the file", 22, 3, 4},
      {"product overflows 32 bits", 18, 0x10000, 4},  // with height 0x10000 below
      {"largest width", 18, 0x7FFFFFFF, 4},
  };
  for (const Damage& d : cases) {
    std::vector<uint8_t> bytes = BitmapBytes({4, 2, {}, {}});
    PutLe(bytes, d.at, d.value, d.bytes);
    if (d.value == 0x10000) PutLe(bytes, 22, 0x10000, 4);
    KlBitmapFile file;
    EXPECT_FALSE(klParseBitmap(bytes.data(), bytes.size(), &file)) << d.what;
  }
}

TEST(BitmapFile, RefusesEveryTruncation) {
  std::vector<uint8_t> bytes = BitmapBytes({8, 4, {}, {}});
  KlBitmapFile file;
  for (size_t size = 0; size < bytes.size(); ++size)
    EXPECT_FALSE(klParseBitmap(bytes.data(), size, &file)) << size;
  EXPECT_TRUE(klParseBitmap(bytes.data(), bytes.size(), &file));
}

TEST(BitmapFile, HeaderAloneIsEnoughForThePalette) {
  std::vector<uint8_t> bytes = BitmapBytes({4, 2, {}, {0, 0xABCDEF}});
  bytes.resize(KL_BITMAP_PIXEL_OFFSET);
  KlBitmapFile file;
  ASSERT_TRUE(klParseBitmapHeader(bytes.data(), bytes.size(), &file));
  EXPECT_EQ(file.colourTable[4], 0xEF);
  EXPECT_FALSE(klParseBitmapHeader(bytes.data(), bytes.size() - 1, &file));
}

TEST(BitmapFile, MissingFileIsNotRead) {
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(klReadWholeFile("/nonexistent/none.bmp", &bytes));
}

}  // namespace
