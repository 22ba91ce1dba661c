// Code page 932 byte strings as the record and the ranking block store them: cut
// and copied only at character boundaries. A lead byte (0x81-0x9F, 0xE0-0xFC)
// starts a two-byte character; every other byte is a character of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr bool IsCp932LeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The length of the longest start of text[0..length) that holds at most maxBytes
// bytes and ends between characters. A lead byte with nothing after it is
// a broken character and is left out.
size_t Cp932CutLength(const char* text, size_t length, size_t maxBytes);

std::string Cp932Cut(const std::string& text, size_t maxBytes);

// Copies the NUL-terminated src into a field of destSize bytes (destSize >= 1),
// cut at a character boundary so that the terminator fits; the rest of the field
// is cleared.
void CopyCp932Field(char* dest, size_t destSize, const char* src);
