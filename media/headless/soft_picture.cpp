#include "media/headless/soft_picture.h"

void headlessKeyedBlt(HeadlessPicture* dstPicture, const KlRect& dst, const HeadlessPicture& srcPicture,
                      const KlRect& src, uint32_t key) {
  int dstWidth = dst.right - dst.left, dstHeight = dst.bottom - dst.top;
  int srcWidth = src.right - src.left, srcHeight = src.bottom - src.top;
  // The same stepping as the software blitter: floor(i * step) with a 16.16 step.
  uint32_t xStep = (static_cast<uint32_t>(srcWidth) << 16) / static_cast<uint32_t>(dstWidth);
  uint32_t yStep = (static_cast<uint32_t>(srcHeight) << 16) / static_cast<uint32_t>(dstHeight);
  constexpr uint32_t kColourBits = 0xFFFFFFu;  // the key ignores the unused top byte
  uint32_t sy = 0;
  for (int y = 0; y < dstHeight; ++y, sy += yStep) {
    const uint32_t* in = &srcPicture.pixels[static_cast<size_t>(src.top + (sy >> 16)) * srcPicture.width + src.left];
    uint32_t* out = &dstPicture->pixels[static_cast<size_t>(dst.top + y) * dstPicture->width + dst.left];
    uint32_t sx = 0;
    for (int x = 0; x < dstWidth; ++x, sx += xStep) {
      uint32_t p = in[sx >> 16];
      if ((p & kColourBits) != key) out[x] = p;
    }
  }
}
