// libFuzzer over the 8-bit bitmap reader: whatever the bytes, parsing and
// converting every row of an accepted file stays inside the buffers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/bitmap_file.h"
#include "media/pixel_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KlBitmapFile header;
  klParseBitmapHeader(data, size, &header);
  KlBitmapFile file;
  if (!klParseBitmap(data, size, &file)) return 0;
  const klDrawPixelFormat format = klPixelFormatFromMasks(0xF800, 0x07E0, 0x001F);
  std::vector<uint8_t> row(static_cast<size_t>(file.width) * 4);
  for (int depth : {8, 16, 24, 32}) {
    uint32_t pixels[256];
    klBuildPixelTable(depth, file.colourTable, format, pixels);
    for (int r = 0; r < file.height; ++r) klConvertRow(depth, file.Row(r), file.width, pixels, row.data());
  }
  return 0;
}
