// libFuzzer entry: whatever the stored value and the stamp copies hold, the loaded
// record is safe to use (texts terminated inside their fields and never cut inside
// a character, the table an unbroken run), the user's stamp copy holds its stamp, and
// saving and loading it again gives the same bytes.
//
// Input: a mode byte, then either the plain record (mode bit 0 set: 364 bytes,
// zero-padded, stored encoded, so the load gets past the checksums) followed by
// the stamp text, or the stored text, a line feed and the stamp text. Mode bit 1
// puts the stamp into the Windows directory's copy instead of the user's.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fake_record_platform.h"
#include "records/cp932_text.h"
#include "records/record_codec.h"
#include "records/stored_record.h"

namespace {

void CheckText(const char* field, size_t maxText) {
  size_t length = strnlen(field, maxText + 1);
  if (length > maxText || Cp932CutLength(field, length, maxText) != length) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  FakeRecordPlatform system;
  std::string stamp;
  if (mode & 1) {
    uint8_t plain[kMgInfoBytes] = {};
    std::memcpy(plain, rest.data(), std::min(rest.size(), sizeof plain));
    system.StoredRecord() = EncodeRecord(plain, sizeof plain);
    stamp = rest.size() > sizeof plain ? rest.substr(sizeof plain) : "";
  } else {
    size_t split = std::min(rest.find('\n'), rest.size());
    system.StoredRecord() = rest.substr(0, split).c_str();
    stamp = split < rest.size() ? rest.substr(split + 1) : "";
  }
  (mode & 2 ? system.WindowsStamp() : system.UserStamp()) = stamp.c_str();

  MgInfo record;
  LoadRecord("QM100", system, &record);
  CheckText(record.lastPlayerName, kNameBytes);
  bool used = true;
  for (const HighScoreEntry& e : record.table) {
    CheckText(e.scoreText, sizeof e.scoreText - 1);
    CheckText(e.playerName, kNameBytes);
    if (!used && e.scoreText[0]) std::abort();
    used = e.scoreText[0] != '\0';
  }
  uint8_t bytes[kMgInfoBytes], again[kMgInfoBytes];
  RecordToBytes(record, bytes);
  uint8_t stampCopy[8];
  try {
    HexDecode(system.UserStamp().c_str(), stampCopy, sizeof stampCopy);
  } catch (const CodecError&) {
    std::abort();
  }
  if (std::memcmp(stampCopy, bytes, sizeof stampCopy) != 0) std::abort();

  SaveRecord("QM100", system, record);
  MgInfo reloaded;
  if (!LoadRecord("QM100", system, &reloaded)) std::abort();
  RecordToBytes(reloaded, again);
  if (std::memcmp(bytes, again, sizeof bytes) != 0) std::abort();
  return 0;
}
