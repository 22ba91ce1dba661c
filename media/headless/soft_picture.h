// A picture in memory and the colour-keyed copies of the headless stand-in.
// The copies sample as DirectDraw's software blitter does (16.16 fixed-point
// steps from the top-left source pixel), so both libraries draw the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/blit_clip.h"

// 32-bit pixels as a 32-bit display holds them: 0xXXRRGGBB, the top byte 1 for
// converted colours and 0 for the colour key.
struct HeadlessPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // rows from the top

  HeadlessPicture() = default;
  HeadlessPicture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {}
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  uint32_t Rgb(int x, int y) const { return At(x, y) & 0xFFFFFFu; }
};

// Copies src (inside the source picture) into dst (inside the destination
// picture), stretching when the sizes differ. Source pixels whose colour bits
// equal key are left out. The caller has checked both rectangles.
void headlessKeyedBlt(HeadlessPicture* dstPicture, const KlRect& dst, const HeadlessPicture& srcPicture,
                      const KlRect& src, uint32_t key);
