#include "records/cp932_text.h"

#include <cstring>

size_t Cp932CutLength(const char* text, size_t length, size_t maxBytes) {
  size_t at = 0;
  while (at < length) {
    size_t step = IsCp932LeadByte(static_cast<uint8_t>(text[at])) ? 2 : 1;
    if (step > length - at || step > maxBytes - at) break;
    at += step;
  }
  return at;
}

std::string Cp932Cut(const std::string& text, size_t maxBytes) {
  return text.substr(0, Cp932CutLength(text.data(), text.size(), maxBytes));
}

void CopyCp932Field(char* dest, size_t destSize, const char* src) {
  size_t length = Cp932CutLength(src, strnlen(src, destSize), destSize - 1);
  std::memmove(dest, src, length);
  std::memset(dest + length, 0, destSize - length);
}
