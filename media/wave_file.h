// RIFF/WAVE parsing over a byte buffer: no files, no Windows, no globals, so the
// same code reads sound files and program resources and is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// What a sound buffer needs from a WAVE image.
struct KlWaveImage {
  // The format block as WAVEFORMATEX lays it out: the first 16 bytes of "fmt ",
  // the 16-bit extra size, then that many extra bytes (18 + extra in all).
  std::vector<uint8_t> format;
  size_t dataOffset = 0;  // where the samples of the "data" chunk start in the buffer
  uint32_t dataSize = 0;  // their count in bytes
};

// Reads the "fmt " and "data" chunks of a RIFF/WAVE image of size bytes. Every
// chunk that is looked at must lie inside the buffer (and inside the RIFF chunk);
// chunks of odd size are followed by one pad byte; a "fmt " chunk is at least
// 16 bytes, and a format other than PCM (tag 1) carries its extra size and
// extra bytes inside the chunk. Returns false, leaving out untouched, otherwise.
bool klParseWave(const uint8_t* bytes, size_t size, KlWaveImage* out);
