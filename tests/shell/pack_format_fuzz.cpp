// libFuzzer entry: any byte string is either refused with no entries, or read into
// entries with safe names whose data lie inside the input, back to back after the
// headers; writing those entries again gives a pack that reads the same.
#include <algorithm>
#include <cstdlib>

#include "shell/pack_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<PackEntry> entries;
  if (ParsePack(data, size, &entries) != PackError::kNone) {
    if (!entries.empty()) std::abort();
    return 0;
  }
  std::vector<PackFile> files;
  size_t end = entries.empty() ? 8 : entries.front().offset;
  for (const PackEntry& entry : entries) {
    if (!IsSafePackName(entry.name)) std::abort();
    if (entry.offset != end || entry.offset > size || entry.size > size - entry.offset) std::abort();
    end = entry.offset + entry.size;
    files.push_back({entry.name, std::vector<uint8_t>(data + entry.offset, data + end)});
  }
  std::vector<uint8_t> again;
  if (!BuildPack(files, &again) || again.size() != end) std::abort();
  if (!std::equal(again.begin(), again.end(), data)) std::abort();
  return 0;
}
