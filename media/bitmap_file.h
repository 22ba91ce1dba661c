// The 8-bit bitmap file layout the media library reads itself: 14-byte file
// header, 40-byte information header, 256 colour-table entries (blue, green,
// red, reserved) and the pixel indices at offset 1078, bottom row first, each
// row padded to 4 bytes. Anything else is refused here and left to GDI.
// Pure code: no Windows, no globals, so it builds and is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t KL_BITMAP_TABLE_OFFSET = 54;
constexpr size_t KL_BITMAP_TABLE_BYTES = 1024;
constexpr size_t KL_BITMAP_PIXEL_OFFSET = 1078;

// A parsed file; the pointers point into the caller's bytes.
struct KlBitmapFile {
  int32_t width = 0;
  int32_t height = 0;
  size_t rowStride = 0;                  // bytes from one stored row to the next
  const uint8_t* colourTable = nullptr;  // 1024 bytes: blue, green, red, reserved
  const uint8_t* pixels = nullptr;       // the bottom row; null after klParseBitmapHeader

  // Row r counted from the top of the picture: width index bytes.
  const uint8_t* Row(int r) const { return pixels + static_cast<size_t>(height - 1 - r) * rowStride; }
};

// Headers and colour table only (the palette needs no pixels). False when the
// bytes are too short or not an uncompressed 8-bit file with the table at 54
// and the pixels at 1078.
bool klParseBitmapHeader(const uint8_t* data, size_t size, KlBitmapFile* out);

// Headers, table and pixels: also refuses sizes that are not positive, whose
// rows overflow, or whose rows the file does not hold.
bool klParseBitmap(const uint8_t* data, size_t size, KlBitmapFile* out);
