// Builds RIFF/WAVE images chunk by chunk, including broken ones, for the reader's tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void PutLe(Bytes& b, uint32_t v, int width) {
  for (int i = 0; i < width; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// One chunk: id, size (the body's unless given), body, and the pad byte after an
// odd body unless told to leave it out.
inline Bytes Chunk(const char* id, const Bytes& body, bool pad = true, int64_t size = -1) {
  Bytes b(id, id + 4);
  PutLe(b, size < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(size), 4);
  b.insert(b.end(), body.begin(), body.end());
  if (pad && (body.size() & 1)) b.push_back(0);
  return b;
}

// The 16 format fields; extra (when given) follows as the extra size and its bytes.
inline Bytes FmtBody(uint16_t tag = 1, uint16_t channels = 1, uint32_t rate = 22050,
                     uint16_t bits = 8, const Bytes* extra = nullptr) {
  Bytes b;
  uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  PutLe(b, tag, 2);
  PutLe(b, channels, 2);
  PutLe(b, rate, 4);
  PutLe(b, rate * align, 4);
  PutLe(b, align, 2);
  PutLe(b, bits, 2);
  if (extra) {
    PutLe(b, static_cast<uint32_t>(extra->size()), 2);
    b.insert(b.end(), extra->begin(), extra->end());
  }
  return b;
}

inline Bytes Samples(size_t count) {
  Bytes b(count);
  for (size_t i = 0; i < count; ++i) b[i] = static_cast<uint8_t>(0x80 + i * 7);
  return b;
}

// "RIFF", size, "WAVE" and the chunks; the RIFF size is the true one unless given.
inline Bytes Riff(const std::vector<Bytes>& chunks, int64_t size = -1, const char* form = "WAVE") {
  Bytes inner(form, form + 4);
  for (const Bytes& c : chunks) inner.insert(inner.end(), c.begin(), c.end());
  Bytes b{'R', 'I', 'F', 'F'};
  PutLe(b, size < 0 ? static_cast<uint32_t>(inner.size()) : static_cast<uint32_t>(size), 4);
  b.insert(b.end(), inner.begin(), inner.end());
  return b;
}

inline Bytes Cut(Bytes b, size_t keep) {
  b.resize(keep);
  return b;
}
