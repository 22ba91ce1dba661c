// The asset pack unpacked for the media library, which reads pictures and sounds
// from files by path: every entry of the PACK_DATA resource becomes a temporary file
// "mgr????.TMP" in the temporary directory, found again by the entry's name.
// Owned by the main frame: Extract before the engine's Init, Release after its
// Shutdown (the destructor releases too).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CAssetPack {
 public:
  CAssetPack() = default;
  CAssetPack(const CAssetPack&) = delete;
  CAssetPack& operator=(const CAssetPack&) = delete;
  ~CAssetPack() { Release(); }

  // Unpacks the program's PACK_DATA resource of that number: 1 on success. A missing
  // or damaged pack, or a temporary file that cannot be made or written, gives 0 and
  // leaves no temporary file behind.
  int Extract(int resourceNumber);
  // The same for a pack already in memory.
  int ExtractFrom(const uint8_t* data, size_t size);
  // Deletes every temporary file and forgets the entries.
  void Release();
  // Path (UTF-8) of the first entry whose name matches regardless of letter case,
  // or null when none does or nothing is unpacked. Valid until the next Release.
  const char* FindPath(const char* fileName) const;
  // A fresh path in the temporary directory (prefix, a hex number, ".TMP") that no
  // file occupies, or "" when no temporary directory is known.
  static std::string MakeTempFileName(const char* prefix);

 private:
  struct AssetEntry {
    std::wstring name;  // from the pack's code page 932 bytes
    std::string path;   // UTF-8
    std::wstring widePath;
    int size;
  };

  int unpacked = 0;
  std::vector<AssetEntry> entries;
};
