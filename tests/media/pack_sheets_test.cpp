// The committed picture sheets of the asset pack read with the game's own
// reader: their sizes, one shared table, and the static colours in place.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/kl_file.h"
#include "media/bitmap_file.h"

namespace {

struct Sheet {
  const char* name;
  int width, height;
};

const Sheet kSheets[] = {
    {"bg.bmp", 400, 1050}, {"cow.bmp", 400, 1959}, {"parts.bmp", 400, 599}, {"pomul.bmp", 400, 708}};

// The twenty colours every 8-bit display keeps for itself, as 0xRRGGBB.
const std::pair<int, uint32_t> kStatic[] = {
    {0, 0x000000},   {1, 0x800000},   {2, 0x008000},   {3, 0x808000},   {4, 0x000080},
    {5, 0x800080},   {6, 0x008080},   {7, 0xC0C0C0},   {8, 0xC0DCC0},   {9, 0xA6CAF0},
    {246, 0xFFFBF0}, {247, 0xA0A0A4}, {248, 0x808080}, {249, 0xFF0000}, {250, 0x00FF00},
    {251, 0xFFFF00}, {252, 0x0000FF}, {253, 0xFF00FF}, {254, 0x00FFFF}, {255, 0xFFFFFF}};

TEST(PackSheets, LoadWithTheGamesReader) {
  std::vector<uint8_t> firstTable;
  for (const Sheet& s : kSheets) {
    std::string path = std::string(RODEO_SOURCE_DIR) + "/assets/out/pack/" + s.name;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(klReadWholeFile(path.c_str(), &bytes)) << path;
    KlBitmapFile file;
    ASSERT_TRUE(klParseBitmap(bytes.data(), bytes.size(), &file)) << s.name;
    EXPECT_EQ(file.width, s.width) << s.name;
    EXPECT_EQ(file.height, s.height) << s.name;
    EXPECT_EQ(file.rowStride, static_cast<size_t>(s.width)) << s.name;  // no fill bytes
    EXPECT_EQ(bytes.size(), KL_BITMAP_PIXEL_OFFSET + size_t(s.width) * s.height) << s.name;
    std::vector<uint8_t> table(file.colourTable, file.colourTable + KL_BITMAP_TABLE_BYTES);
    if (firstTable.empty()) firstTable = table;
    EXPECT_EQ(table, firstTable) << s.name << " has a table of its own";
    for (const auto& [index, rgb] : kStatic) {
      uint32_t got = table[4 * index + 2] << 16 | table[4 * index + 1] << 8 | table[4 * index];
      EXPECT_EQ(got, rgb) << s.name << " entry " << index;
    }
    // No pixel uses the static colours; index 0 only where the art is see-through.
    for (int r = 0; r < file.height; ++r)
      for (int j = 0; j < file.width; ++j) {
        uint8_t i = file.Row(r)[j];
        ASSERT_TRUE(i == 0 || (i >= 10 && i <= 245)) << s.name << " " << j << "," << r << ": " << int(i);
      }
  }
}

}  // namespace
