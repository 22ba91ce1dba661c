// Saving and loading headless pictures: PNG through libpng's simplified API
// where the build has it, a plain 24-bit BMP writer everywhere.
#include <cstdio>
#include <cstring>
#include <string>

#include "media/headless/headless_media.h"

#ifdef RODEO_HAVE_PNG
#include <png.h>
#endif

namespace {

bool EndsWith(const std::string& s, const char* tail) {
  size_t n = std::strlen(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

bool SaveBmp(const HeadlessPicture& p, const char* path) {
  size_t stride = (static_cast<size_t>(p.width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(54 + stride * p.height));
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(p.width));
  Put32(out, static_cast<uint32_t>(p.height));
  Put16(out, 1);
  Put16(out, 24);
  for (int k = 0; k < 6; ++k) Put32(out, 0);
  for (int y = p.height - 1; y >= 0; --y) {
    size_t start = out.size();
    for (int x = 0; x < p.width; ++x) {
      uint32_t c = p.At(x, y);
      out.push_back(static_cast<uint8_t>(c));
      out.push_back(static_cast<uint8_t>(c >> 8));
      out.push_back(static_cast<uint8_t>(c >> 16));
    }
    out.resize(start + stride, 0);
  }
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

bool headlessSavePicture(const HeadlessPicture& picture, const char* path) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  if (!EndsWith(path, ".png")) return SaveBmp(picture, path);
#ifdef RODEO_HAVE_PNG
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_BGRA;  // the top byte is written as alpha, forced opaque below
  std::vector<uint32_t> opaque(picture.pixels);
  for (uint32_t& c : opaque) c |= 0xFF000000u;
  return png_image_write_to_file(&image, path, 0, opaque.data(), 0, nullptr) != 0;
#else
  return false;
#endif
}

bool headlessLoadPicture(const char* path, HeadlessPicture* picture) {
#ifdef RODEO_HAVE_PNG
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) return false;
  image.format = PNG_FORMAT_BGRA;
  HeadlessPicture read(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, read.pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  for (uint32_t& c : read.pixels) c &= 0xFFFFFFu;
  *picture = std::move(read);
  return true;
#else
  (void)path;
  (void)picture;
  return false;
#endif
}
