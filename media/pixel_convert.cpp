#include "media/pixel_convert.h"

namespace {

klDrawPixelFormat::Channel ChannelFromMask(uint32_t mask) {
  klDrawPixelFormat::Channel c{0, 2, 0};
  if (mask == 0) return c;
  while (!(mask & 1)) {
    mask >>= 1;
    ++c.position;
  }
  c.value = mask;
  c.reduction = mask == 31 ? 3 : 2;
  return c;
}

// One component on a 16-bit display: rounded up by 8 unless that would overflow
// the byte, then reduced to the channel's width. The mask keeps a channel of an
// unusual width from spilling into its neighbour.
uint32_t Reduce(uint8_t v, const klDrawPixelFormat::Channel& c) {
  uint32_t rounded = v < 247 ? v + 8u : v;
  return ((rounded >> c.reduction) & c.value) << c.position;
}

}  // namespace

klDrawPixelFormat klPixelFormatFromMasks(uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
  return {ChannelFromMask(blueMask), ChannelFromMask(greenMask), ChannelFromMask(redMask)};
}

int klBytesPerPixel(int depth) {
  switch (depth) {
    case 8: return 1;
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
  }
}

void klBuildPixelTable(int depth, const uint8_t* table, const klDrawPixelFormat& format,
                       uint32_t pixels[256]) {
  pixels[0] = 0;
  for (int i = 1; i < 256; ++i) {
    uint8_t b = table[4 * i], g = table[4 * i + 1], r = table[4 * i + 2];
    bool black = (b | g | r) == 0;
    switch (depth) {
      case 8:
        pixels[i] = static_cast<uint32_t>(i);
        break;
      case 16:
        pixels[i] = Reduce(r, format.red) | Reduce(g, format.green) | Reduce(b, format.blue);
        break;
      case 24:
        pixels[i] = black ? 0x010101u : (uint32_t{r} << 16 | uint32_t{g} << 8 | b);
        break;
      case 32:
        pixels[i] = black ? 0x01010101u : (0x01000000u | uint32_t{r} << 16 | uint32_t{g} << 8 | b);
        break;
      default:
        pixels[i] = 0;
    }
  }
}

void klConvertRow(int depth, const uint8_t* indices, int count, const uint32_t pixels[256],
                  uint8_t* out) {
  int bytes = klBytesPerPixel(depth);
  for (int j = 0; j < count; ++j) {
    uint32_t p = pixels[indices[j]];
    for (int k = 0; k < bytes; ++k) *out++ = static_cast<uint8_t>(p >> (8 * k));
  }
}
