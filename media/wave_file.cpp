#include "media/wave_file.h"

#include <cstring>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr size_t kChunkHeader = 8;
constexpr size_t kFormatFields = 16;  // tag, channels, rate, bytes per second, align, bits

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Le32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Chunk {
  size_t offset;  // of the chunk's contents
  uint32_t size;
};

enum class Search { found, absent, broken };

// Walks the chunks of [begin, end) in order, as a searching descent does, until
// the one named id. A chunk header cut off by the end ends the walk; a chunk whose
// contents would run past the end breaks the image when it is the one sought.
Search FindChunk(const uint8_t* bytes, size_t begin, size_t end, const char* id, Chunk* found) {
  size_t pos = begin;
  while (end - pos >= kChunkHeader) {
    uint32_t chunkSize = Le32(bytes + pos + 4);
    size_t contents = pos + kChunkHeader;
    bool fits = chunkSize <= end - contents;
    if (std::memcmp(bytes + pos, id, 4) == 0) {
      if (!fits) return Search::broken;
      *found = Chunk{contents, chunkSize};
      return Search::found;
    }
    if (!fits) return Search::absent;
    size_t padded = static_cast<size_t>(chunkSize) + (chunkSize & 1);
    if (padded > end - contents) return Search::absent;
    pos = contents + padded;
  }
  return Search::absent;
}

}  // namespace

bool klParseWave(const uint8_t* bytes, size_t size, KlWaveImage* out) {
  if (!bytes || size < 12) return false;
  if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return false;
  uint32_t riffSize = Le32(bytes + 4);
  if (riffSize < 4) return false;
  // Some writers leave a RIFF size larger than what they wrote: the file bounds it.
  size_t riffEnd = riffSize <= size - 8 ? 8 + static_cast<size_t>(riffSize) : size;

  Chunk fmt{};
  if (FindChunk(bytes, 12, riffEnd, "fmt ", &fmt) != Search::found) return false;
  if (fmt.size < kFormatFields) return false;
  const uint8_t* fields = bytes + fmt.offset;
  uint16_t extra = 0;
  if (Le16(fields) != kFormatPcm) {
    if (fmt.size < kFormatFields + 2) return false;
    extra = Le16(fields + kFormatFields);
    if (extra > fmt.size - kFormatFields - 2) return false;
  }

  Chunk data{};
  if (FindChunk(bytes, 12, riffEnd, "data", &data) != Search::found) return false;

  out->format.assign(fields, fields + kFormatFields);
  out->format.push_back(static_cast<uint8_t>(extra));
  out->format.push_back(static_cast<uint8_t>(extra >> 8));
  if (extra) {
    const uint8_t* extraBytes = fields + kFormatFields + 2;
    out->format.insert(out->format.end(), extraBytes, extraBytes + extra);
  }
  out->dataOffset = data.offset;
  out->dataSize = data.size;
  return true;
}
