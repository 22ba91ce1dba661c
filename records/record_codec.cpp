#include "records/record_codec.h"

#include <algorithm>
#include <cstring>

namespace {

// The two masks are each other's complement: even positions, odd positions.
constexpr uint8_t kEvenMask = 0x6B;
constexpr uint8_t kOddMask = 0x94;

uint8_t Sum(const uint8_t* bytes, size_t n) {
  uint8_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  return sum;
}

uint8_t RotateLeft(uint8_t v, unsigned k) { return static_cast<uint8_t>((v << k) | (v >> (8 - k))); }
uint8_t RotateRight(uint8_t v, unsigned k) { return static_cast<uint8_t>((v >> k) | (v << (8 - k))); }

void ApplyMask(std::vector<uint8_t>& block) {
  for (size_t i = 0; i < block.size(); ++i) block[i] ^= (i % 2 == 0) ? kEvenMask : kOddMask;
}

// Each byte in turn rotates all the others left by its low three bits, read at its
// turn. Rotations add up, so a byte ends rotated by the sum of every other turn's
// count, and its own count is read after the turns before it: one pass forward.
void RotationPass(std::vector<uint8_t>& b) {
  std::vector<unsigned> own(b.size());
  unsigned before = 0;  // sum of the counts of the turns so far
  for (size_t i = 0; i < b.size(); ++i) {
    own[i] = RotateLeft(b[i], before % 8) & 7;
    before += own[i];
  }
  for (size_t i = 0; i < b.size(); ++i) b[i] = RotateLeft(b[i], (before - own[i]) % 8);
}

// The turns run backwards, rotating right: at its turn a byte has been turned
// back by every later turn and holds its encoding-turn value again, from which its
// count is read; the earlier turns then undo the rest.
void ReverseRotationPass(std::vector<uint8_t>& b) {
  unsigned after = 0;  // sum of the counts of the later turns
  std::vector<unsigned> own(b.size());
  for (size_t i = b.size(); i-- > 0;) {
    b[i] = RotateRight(b[i], after % 8);
    own[i] = b[i] & 7;
    after += own[i];
  }
  unsigned before = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    b[i] = RotateRight(b[i], before % 8);
    before += own[i];
  }
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

size_t PairCount(const char* text) { return text ? std::strlen(text) / 2 : 0; }

}  // namespace

std::string HexEncode(const uint8_t* bytes, size_t count) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(2 * count);
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

void HexDecode(const char* text, uint8_t* dest, size_t count) {
  if (PairCount(text) != count) throw CodecError{1};
  for (size_t i = 0; i < count; ++i) {
    int high = DigitValue(text[2 * i]);
    if (high < 0) throw CodecError{1};
    dest[i] = static_cast<uint8_t>(high << 4);
    int low = DigitValue(text[2 * i + 1]);
    if (low < 0) throw CodecError{1};
    dest[i] = static_cast<uint8_t>(dest[i] | low);
  }
}

std::vector<uint8_t> InsertChecksum(const uint8_t* bytes, size_t n, int front) {
  std::vector<uint8_t> out(bytes, bytes + n);
  uint8_t sum = Sum(bytes, n);
  size_t at = front ? std::min<size_t>(1, n) : (n == 0 ? 0 : n - 1);
  out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), sum);
  return out;
}

std::vector<uint8_t> RemoveChecksum(const uint8_t* bytes, size_t n, int front) {
  if (n < 2) throw CodecError{1};
  size_t at = front ? 1 : n - 2;
  std::vector<uint8_t> out(bytes, bytes + n);
  out.erase(out.begin() + static_cast<std::ptrdiff_t>(at));
  if (Sum(out.data(), out.size()) != bytes[at]) throw CodecError{1};
  return out;
}

std::string EncodeRecord(const uint8_t* bytes, size_t n) {
  if (n < 2) return std::string();
  std::vector<uint8_t> b = InsertChecksum(bytes, n, 1);
  RotationPass(b);
  std::vector<uint8_t> c = InsertChecksum(b.data(), b.size(), 0);
  ApplyMask(c);
  return HexEncode(c.data(), c.size());
}

size_t DecodedLength(const char* text) {
  size_t pairs = PairCount(text);
  return pairs < 3 ? 0 : pairs - 2;
}

int DecodeRecord(const char* text, uint8_t* dest, size_t expected) {
  size_t pairs = PairCount(text);
  if (expected < 1 || pairs < 3) return 0;
  try {
    std::vector<uint8_t> c(pairs);
    HexDecode(text, c.data(), pairs);
    ApplyMask(c);
    std::vector<uint8_t> q = RemoveChecksum(c.data(), c.size(), 0);
    ReverseRotationPass(q);
    std::vector<uint8_t> plain = RemoveChecksum(q.data(), q.size(), 1);
    if (plain.size() != expected) return 0;
    std::memcpy(dest, plain.data(), expected);
    return 1;
  } catch (...) {
    return 0;
  }
}
