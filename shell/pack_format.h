// The asset pack as stored in the PACK_DATA resource: reading it back (the game)
// and writing it (the build's packbuild tool). Pure code, no Windows headers.
//
// Layout, every number unsigned 32-bit little-endian, no alignment:
//   pack magic 0x54549022, entry count,
//   per entry: entry magic 0x98982133, name length, data size, name bytes (no NUL),
//   then the entries' data back to back in header order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kPackMagic = 0x54549022;
constexpr uint32_t kPackEntryMagic = 0x98982133;

enum class PackError {
  kNone,
  kTruncatedHeader,  // the pack magic, the count or an entry header runs past the end
  kBadPackMagic,
  kBadEntryMagic,
  kBadName,          // empty, a path separator, "." or "..", a control byte, a cut character
  kDataPastEnd,      // the entries' data need more bytes than the pack has
};

const char* PackErrorText(PackError error);

// One entry as found in a pack: its name (code page 932 bytes, as stored) and where
// its data sits, counted from the start of the pack.
struct PackEntry {
  std::string name;
  size_t offset;
  uint32_t size;
};

// Checks every header field against `size` before any entry is reported, so a
// damaged pack yields no entries at all. Bytes after the last entry's data are
// allowed. Entries whose names differ only in letter case are all kept, in order.
PackError ParsePack(const uint8_t* data, size_t size, std::vector<PackEntry>* entries);

// A name may only name a file inside the directory it is unpacked to: not empty, no
// '/', '\\' or ':' as single-byte characters (the second byte of a double-byte code
// page 932 character may be 0x5C and is allowed), no control bytes, not "." or "..",
// and no lead byte without its second byte.
bool IsSafePackName(const std::string& name);

struct PackFile {
  std::string name;
  std::vector<uint8_t> data;
};

// Lays the files out in the order given. Refuses (returns false) an unsafe name or a
// pack whose sizes do not fit 32 bits.
bool BuildPack(const std::vector<PackFile>& files, std::vector<uint8_t>* pack);
