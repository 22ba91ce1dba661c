#include "shell/pack_format.h"

namespace {

const size_t kPackHeaderSize = 8;   // magic, count
const size_t kEntryHeaderSize = 12; // magic, name length, data size

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void AppendU32(std::vector<uint8_t>* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<uint8_t>(value >> shift));
}

bool IsLeadByte(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(uint8_t c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

}  // namespace

const char* PackErrorText(PackError error) {
  switch (error) {
    case PackError::kNone: return "ok";
    case PackError::kTruncatedHeader: return "header runs past the end of the pack";
    case PackError::kBadPackMagic: return "wrong pack magic";
    case PackError::kBadEntryMagic: return "wrong entry magic";
    case PackError::kBadName: return "entry name unsafe or malformed";
    case PackError::kDataPastEnd: return "entry data run past the end of the pack";
  }
  return "unknown";
}

bool IsSafePackName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const uint8_t c = static_cast<uint8_t>(name[i]);
    if (IsLeadByte(c)) {
      // The second byte of a double-byte character may look like '\\' (0x5C); it
      // belongs to the character and is no separator.
      if (i + 1 >= name.size() || !IsTrailByte(static_cast<uint8_t>(name[i + 1]))) return false;
      ++i;
      continue;
    }
    if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':') return false;
  }
  return true;
}

PackError ParsePack(const uint8_t* data, size_t size, std::vector<PackEntry>* entries) {
  entries->clear();
  if (size < 4) return PackError::kTruncatedHeader;
  if (ReadU32(data) != kPackMagic) return PackError::kBadPackMagic;
  if (size < kPackHeaderSize) return PackError::kTruncatedHeader;
  const uint32_t count = ReadU32(data + 4);
  // Every header takes at least 12 bytes: a count the pack cannot hold is refused
  // before anything is reserved for it.
  if (count > (size - kPackHeaderSize) / kEntryHeaderSize) return PackError::kTruncatedHeader;

  std::vector<PackEntry> found;
  found.reserve(count);
  size_t pos = kPackHeaderSize;
  for (uint32_t i = 0; i < count; ++i) {
    if (size - pos < kEntryHeaderSize) return PackError::kTruncatedHeader;
    if (ReadU32(data + pos) != kPackEntryMagic) return PackError::kBadEntryMagic;
    const uint32_t nameLength = ReadU32(data + pos + 4);
    const uint32_t dataSize = ReadU32(data + pos + 8);
    pos += kEntryHeaderSize;
    if (nameLength > size - pos) return PackError::kTruncatedHeader;
    PackEntry entry;
    entry.name.assign(reinterpret_cast<const char*>(data + pos), nameLength);
    entry.offset = 0;
    entry.size = dataSize;
    if (!IsSafePackName(entry.name)) return PackError::kBadName;
    pos += nameLength;
    found.push_back(std::move(entry));
  }

  // pos <= size holds here; each step keeps it so, so the subtraction cannot wrap.
  for (PackEntry& entry : found) {
    if (entry.size > size - pos) return PackError::kDataPastEnd;
    entry.offset = pos;
    pos += entry.size;
  }
  *entries = std::move(found);
  return PackError::kNone;
}

bool BuildPack(const std::vector<PackFile>& files, std::vector<uint8_t>* pack) {
  uint64_t total = kPackHeaderSize;
  for (const PackFile& file : files) {
    if (!IsSafePackName(file.name)) return false;
    total += kEntryHeaderSize + file.name.size() + file.data.size();
  }
  if (total > UINT32_MAX) return false;  // the resource size is 32 bits, and so is every field

  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(total));
  AppendU32(&out, kPackMagic);
  AppendU32(&out, static_cast<uint32_t>(files.size()));
  for (const PackFile& file : files) {
    AppendU32(&out, kPackEntryMagic);
    AppendU32(&out, static_cast<uint32_t>(file.name.size()));
    AppendU32(&out, static_cast<uint32_t>(file.data.size()));
    out.insert(out.end(), file.name.begin(), file.name.end());
  }
  for (const PackFile& file : files) out.insert(out.end(), file.data.begin(), file.data.end());
  *pack = std::move(out);
  return true;
}
