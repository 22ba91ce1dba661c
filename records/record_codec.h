// The scrambled hexadecimal codec of the stored record and the ranking address.
//
// A block goes out as upper-case hex digits after a front checksum byte, a
// rotation pass over every byte, a back checksum byte and a two-byte mask; a text
// comes back only if every step undoes cleanly. Pure computation on buffers:
// no files, no state. HexEncode and HexDecode are also used on their own, plain,
// for the installation stamp kept in "wconf.ini".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Thrown by HexDecode and RemoveChecksum (code 1); DecodeRecord turns it into 0.
struct CodecError {
  int code;
};

// Two upper-case digits per byte, high nibble first.
std::string HexEncode(const uint8_t* bytes, size_t count);

// Fills count bytes from the text's pairs (an odd last character is ignored).
// Throws CodecError{1} before writing anything when the text does not hold exactly
// count pairs, and at the first character outside '0'-'9', 'A'-'F' (the bytes
// converted before it stay in dest). A null text counts as empty.
void HexDecode(const char* text, uint8_t* dest, size_t count);

// The block with its 8-bit sum inserted: after the first byte (front = 1) or
// before the last one (front = 0). n + 1 bytes.
std::vector<uint8_t> InsertChecksum(const uint8_t* bytes, size_t n, int front);

// The block without the checksum byte at the place InsertChecksum put it (n - 1
// bytes). Throws CodecError{1} when the byte is not the sum of the others, or when
// the block is too short to hold a checksum beside a byte (n < 2).
std::vector<uint8_t> RemoveChecksum(const uint8_t* bytes, size_t n, int front);

// The encoded text of a block of n bytes: 2n + 4 digits, or "" when n < 2.
std::string EncodeRecord(const uint8_t* bytes, size_t n);

// How many plain bytes an encoded text holds: pairs - 2, or 0 below 3 pairs.
size_t DecodedLength(const char* text);

// 1 with the plain bytes in dest when the text decodes to exactly `expected` bytes;
// 0 for anything else (a bad digit, a checksum mismatch, a wrong length), with
// dest untouched.
int DecodeRecord(const char* text, uint8_t* dest, size_t expected);
