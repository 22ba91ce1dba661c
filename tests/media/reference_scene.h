// One scene drawn both by a media library and by a software reference built from
// the shared pure parts, so the headless stand-in and the DirectDraw library can
// each be compared with the same expected picture and cannot drift apart.
#pragma once

#include <vector>

#include "media/bitmap_bytes.h"
#include "media/bitmap_file.h"
#include "media/blit_clip.h"
#include "media/headless/soft_picture.h"
#include "media/pixel_convert.h"

// A 62 x 40 sheet (rows padded to 64 bytes): every index its own colour, even
// after reduction to 5-6-5, index 255 black, a see-through (index 0) frame and
// holes, so every rule of the keyed copy shows in the picture.
inline BitmapRecipe SceneSheet() {
  BitmapRecipe s{62, 40, std::vector<uint8_t>(62 * 40), std::vector<uint32_t>(256)};
  for (int i = 1; i < 255; ++i)
    s.colours[i] = uint32_t((i & 7) << 5) << 16 | uint32_t(((i >> 3) & 7) << 5) << 8 | uint32_t((i >> 6) << 6);
  s.colours[255] = 0;  // black at a nonzero index: near-black, drawn
  for (int r = 0; r < 40; ++r)
    for (int j = 0; j < 62; ++j) {
      bool hole = r == 0 || j == 0 || (r % 7 == 3 && j % 5 == 2);
      s.indices[r * 62 + j] = hole ? 0 : static_cast<uint8_t>(1 + (r * 62 + j) % 255);
    }
  return s;
}

struct SceneCall {
  bool stretched;
  int x, y, left, top, right, bottom, width, height;
};

// Plain copies inside and across every edge, stretches with the 399/299 clamps,
// a shrink at the bottom, bottom clamps that read below the sprite's own rows (one
// of them as far as the sheet's last row), an inverted destination and sprites
// out of the view.
inline std::vector<SceneCall> SceneCalls() {
  return {
      {false, 10, 10, 0, 0, 62, 40, 0, 0},
      {false, -20, 60, 0, 0, 62, 40, 0, 0},
      {false, 360, 60, 0, 0, 62, 40, 0, 0},
      {false, 100, -15, 5, 5, 50, 35, 0, 0},
      {false, 100, 280, 0, 0, 62, 40, 0, 0},
      {false, -30, -30, 0, 0, 62, 40, 0, 0},
      {false, 401, 0, 0, 0, 62, 40, 0, 0},
      {true, 150, 20, 1, 1, 31, 21, 90, 60},    // 3x
      {true, 300, 120, 0, 0, 62, 40, 100, 80},  // reaches 400: squeezed into 300..398
      {true, 20, 200, 0, 0, 62, 40, 124, 120},  // bottom clamp: 3x, rows cut
      {true, 200, 250, 0, 0, 62, 40, 40, 70},   // shrunk wide, cut at the bottom
      {true, 250, 150, 0, 0, 62, 40, -40, 30},  // inverted: nothing
      {true, 180, 100, 10, 5, 40, 25, 45, 33},  // uneven stretch
      {true, -10, 90, 0, 0, 62, 40, 70, 50},    // left clamp keeps the source
      {true, 330, 275, 5, 3, 35, 13, 29, 29},   // bottom clamp at 2x reads rows 13-14 too
      {true, 165, 276, 0, 30, 30, 40, 30, 25},  // ... and would read past the sheet's row 39
  };
}

// The expected back picture at 32 bits per pixel, after a clear.
inline HeadlessPicture RenderReference(const std::vector<uint8_t>& sheetBytes) {
  KlBitmapFile file;
  klParseBitmap(sheetBytes.data(), sheetBytes.size(), &file);
  uint32_t table[256];
  klBuildPixelTable(32, file.colourTable, klDrawPixelFormat{}, table);
  HeadlessPicture sheet(file.width, file.height);
  for (int r = 0; r < file.height; ++r)
    for (int j = 0; j < file.width; ++j) sheet.pixels[r * file.width + j] = table[file.Row(r)[j]];
  HeadlessPicture back(400, 300);
  for (const SceneCall& c : SceneCalls()) {
    KlRect src{c.left, c.top, c.right, c.bottom}, dst;
    if (c.stretched) {
      if (!klClipStretch(c.x, c.y, c.width, c.height, src, sheet.height, &dst, &src)) continue;
    } else {
      int x = c.x, y = c.y;
      if (!klClipBlt(&x, &y, &src)) continue;
      dst = KlRect{x, y, x + src.right - src.left, y + src.bottom - src.top};
    }
    if (klRectInside(src, sheet.width, sheet.height)) headlessKeyedBlt(&back, dst, sheet, src, 0);
  }
  return back;
}
