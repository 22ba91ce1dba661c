// Turning 8-bit picture indices into display pixels at 8, 16, 24 and 32 bits per
// pixel. Only index 0 becomes the pixel value 0 (the colour key); black at any
// other index becomes a near-black. Pure code, tested natively.
#pragma once

#include <cstdint>

// A 16-bit display's channel layout, from the surface's bit masks.
struct klDrawPixelFormat {
  struct Channel {
    uint32_t value;      // the mask shifted down to bit 0: 31 or 63
    uint32_t reduction;  // 3 for a 5-bit channel, 2 otherwise
    uint32_t position;   // trailing zero bits of the mask
  };
  Channel blue, green, red;
};

klDrawPixelFormat klPixelFormatFromMasks(uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

// Bytes per pixel of a depth, 0 for depths that are not converted.
int klBytesPerPixel(int depth);

// The display pixel of each of the 256 indices for a colour table of 1024 bytes
// (blue, green, red, reserved). format is read only at depth 16. One lookup per
// pixel then converts a whole picture.
void klBuildPixelTable(int depth, const uint8_t* colourTable, const klDrawPixelFormat& format,
                       uint32_t pixels[256]);

// count pixels of a row: indices in, pixels of klBytesPerPixel(depth) bytes out,
// little-endian. Depths without a conversion write nothing.
void klConvertRow(int depth, const uint8_t* indices, int count, const uint32_t pixels[256],
                  uint8_t* out);
