#include "media/bitmap_file.h"

namespace {

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

constexpr size_t kFileHeader = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kUncompressed = 0;  // BI_RGB

}  // namespace

bool klParseBitmapHeader(const uint8_t* data, size_t size, KlBitmapFile* out) {
  if (!data || size < KL_BITMAP_PIXEL_OFFSET) return false;
  const uint8_t* info = data + kFileHeader;
  // The pixels must be where the reader takes them: behind a full table of 256
  // entries that follows a plain information header.
  if (Le32(data + 10) != KL_BITMAP_PIXEL_OFFSET) return false;
  if (Le32(info) != kInfoHeaderBytes) return false;
  if (Le16(info + 14) != 8) return false;
  if (Le32(info + 16) != kUncompressed) return false;
  out->width = static_cast<int32_t>(Le32(info + 4));
  out->height = static_cast<int32_t>(Le32(info + 8));
  out->rowStride = 0;
  out->colourTable = data + KL_BITMAP_TABLE_OFFSET;
  out->pixels = nullptr;
  return true;
}

bool klParseBitmap(const uint8_t* data, size_t size, KlBitmapFile* out) {
  KlBitmapFile file;
  if (!klParseBitmapHeader(data, size, &file)) return false;
  // Top-down (negative height) files and empty pictures are GDI's business.
  if (file.width <= 0 || file.height <= 0) return false;
  // 64-bit arithmetic: a 31-bit width times a 31-bit height cannot overflow it.
  uint64_t stride = (static_cast<uint64_t>(file.width) + 3) & ~uint64_t{3};
  uint64_t available = size - KL_BITMAP_PIXEL_OFFSET;
  // The last row may lack its fill bytes; every byte read must be in the file.
  uint64_t needed = stride * static_cast<uint64_t>(file.height - 1) + static_cast<uint64_t>(file.width);
  if (needed > available) return false;
  file.rowStride = static_cast<size_t>(stride);
  file.pixels = data + KL_BITMAP_PIXEL_OFFSET;
  *out = file;
  return true;
}
