// The clipping arithmetic of the two blit primitives, case by case.
#include <gtest/gtest.h>

#include "media/blit_clip.h"

// Found by gtest through the argument type, so outside the unnamed namespace.
std::ostream& operator<<(std::ostream& os, const KlRect& r) {
  return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

struct BltCase {
  const char* what;
  int x, y;
  KlRect src;
  bool draws;
  int outX, outY;
  KlRect outSrc;
};

TEST(BlitClip, PlainCopy) {
  const BltCase cases[] = {
      {"inside", 10, 20, {0, 0, 50, 40}, true, 10, 20, {0, 0, 50, 40}},
      {"left edge: columns 10-49 to 0-39", -10, 0, {0, 0, 50, 10}, true, 0, 0, {10, 0, 50, 10}},
      {"right edge: first 10 columns", 390, 0, {0, 0, 50, 10}, true, 390, 0, {0, 0, 10, 10}},
      {"top edge", 0, -5, {100, 200, 110, 220}, true, 0, 0, {100, 205, 110, 220}},
      {"bottom edge", 0, 290, {0, 0, 10, 50}, true, 0, 290, {0, 0, 10, 10}},
      {"wider than the view", -50, 0, {0, 0, 500, 10}, true, 0, 0, {50, 0, 450, 10}},
      {"exactly at the right", 400, 0, {0, 0, 10, 10}, false, 0, 0, {}},
      {"right of the view", 401, 0, {0, 0, 10, 10}, false, 0, 0, {}},
      {"below the view", 0, 350, {0, 0, 10, 10}, false, 0, 0, {}},
      {"left of the view", -20, 0, {0, 0, 10, 10}, false, 0, 0, {}},
      {"inverted source", 0, 0, {10, 0, 5, 10}, false, 0, 0, {}},
      {"extreme position", 2147483600, 0, {0, 0, 100, 10}, false, 0, 0, {}},
  };
  for (const BltCase& c : cases) {
    int x = c.x, y = c.y;
    KlRect src = c.src;
    ASSERT_EQ(klClipBlt(&x, &y, &src), c.draws) << c.what;
    if (!c.draws) continue;
    EXPECT_EQ(x, c.outX) << c.what;
    EXPECT_EQ(y, c.outY) << c.what;
    EXPECT_EQ(src, c.outSrc) << c.what;
  }
}

struct StretchCase {
  const char* what;
  int x, y, width, height;
  KlRect src;
  int surfaceHeight;  // of the picture the sprite is cut from
  bool draws;
  KlRect dst, outSrc;
};

TEST(BlitClip, Stretch) {
  const StretchCase cases[] = {
      {"inside", 10, 10, 100, 50, {0, 0, 50, 25}, 25, true, {10, 10, 110, 60}, {0, 0, 50, 25}},
      {"reaches the right: squeezed into x..398", 300, 0, 100, 20, {0, 0, 50, 10}, 10, true,
       {300, 0, 399, 20}, {0, 0, 50, 10}},
      {"left clamp keeps the source", -20, 0, 100, 20, {0, 0, 50, 10}, 10, true, {0, 0, 80, 20},
       {0, 0, 50, 10}},
      {"top clamp keeps the source", 0, -10, 20, 40, {0, 0, 10, 20}, 20, true, {0, 0, 20, 30},
       {0, 0, 10, 20}},
      // y + height = 320 > 299: magnification 40 / 20 = 2, bottom = 10 + (299 - 280) / 2 = 19.
      {"bottom clamp shortens the source", 0, 280, 40, 40, {0, 10, 20, 30}, 30, true,
       {0, 280, 40, 299}, {0, 10, 20, 19}},
      {"exactly at the bottom loses a row", 0, 260, 40, 40, {0, 0, 20, 20}, 20, true,
       {0, 260, 40, 299}, {0, 0, 20, 19}},
      // The rider sitting up after a ride: rows 442..490 of the 708-row sheet into
      // 180..316, magnification 136 / 48 = 2, so 119 / 2 = 59 rows at twice their
      // size, reading 11 rows below the sprite's own; the other side likewise.
      {"rider sitting up (positive side)", 139, 180, 122, 136, {0, 442, 122, 490}, 708, true,
       {139, 180, 261, 299}, {0, 442, 122, 501}},
      {"rider sitting up (negative side)", 139, 180, 122, 124, {0, 624, 122, 666}, 708, true,
       {139, 180, 261, 299}, {0, 624, 122, 683}},
      {"whole-number magnification reads on below the sprite", 0, 0, 40, 399, {0, 0, 20, 200},
       708, true, {0, 0, 40, 299}, {0, 0, 20, 299}},
      // Never below the picture: the rows it has are squeezed into the kept rows.
      {"bottom clamp stops at the picture's last row", 0, 0, 40, 399, {0, 0, 20, 200}, 250,
       true, {0, 0, 40, 299}, {0, 0, 20, 250}},
      {"sprite wholly below the picture", 0, 280, 40, 40, {0, 260, 20, 280}, 250, false, {}, {}},
      {"inverted destination (READY banner's first frame)", 200, 100, -30, 20, {0, 0, 50, 10},
       10, false, {}, {}},
      {"inverted height", 200, 100, 30, -20, {0, 0, 50, 10}, 10, false, {}, {}},
      {"right of the view", 420, 0, 30, 20, {0, 0, 50, 10}, 10, false, {}, {}},
      {"below the view", 0, 300, 30, 20, {0, 0, 50, 10}, 10, false, {}, {}},
      // Safe where the arithmetic alone is not:
      {"empty source at the bottom clamp", 0, 290, 40, 40, {0, 10, 20, 10}, 30, false, {}, {}},
      {"shrunk (magnification 0) at the bottom", 0, 280, 40, 40, {0, 0, 20, 100}, 100, true,
       {0, 280, 40, 299}, {0, 0, 20, 47}},  // 19 of 40 rows shown: 19 * 100 / 40
      {"inverted source", 0, 0, 40, 40, {0, 20, 20, 0}, 20, false, {}, {}},
  };
  for (const StretchCase& c : cases) {
    KlRect dst{}, src{};
    ASSERT_EQ(klClipStretch(c.x, c.y, c.width, c.height, c.src, c.surfaceHeight, &dst, &src), c.draws)
        << c.what;
    if (!c.draws) continue;
    EXPECT_EQ(dst, c.dst) << c.what;
    EXPECT_EQ(src, c.outSrc) << c.what;
  }
}

TEST(BlitClip, SourceMustLieInsideTheSurface) {
  EXPECT_TRUE(klRectInside({0, 0, 10, 10}, 10, 10));
  EXPECT_FALSE(klRectInside({0, 0, 11, 10}, 10, 10));
  EXPECT_FALSE(klRectInside({-1, 0, 5, 10}, 10, 10));
  EXPECT_FALSE(klRectInside({5, 5, 5, 8}, 10, 10));
}

}  // namespace
