#include "records/stored_record.h"

#include <cstring>
#include <string>

#include "records/little_endian.h"
#include "records/record_codec.h"

namespace {

// "あなた" (you) in code page 932.
constexpr char kDefaultPlayerName[] = "\x82\xA0\x82\xC8\x82\xBD";
constexpr char kMissingStamp[] = "_default";

// The stamp in a "wconf.ini" value, when it holds one.
bool StampFromText(const std::string& text, MgInfo* record) {
  if (text.empty() || text == kMissingStamp) return false;
  uint8_t bytes[8];
  try {
    HexDecode(text.c_str(), bytes, sizeof bytes);
  } catch (const CodecError&) {
    return false;
  }
  record->installStamp[0] = LoadLe32(bytes);
  record->installStamp[1] = LoadLe32(bytes + 4);
  return true;
}

}  // namespace

void WriteStamp(const char* code, RecordPlatform& platform, const MgInfo& record) {
  uint8_t bytes[8];
  StoreLe32(bytes, record.installStamp[0]);
  StoreLe32(bytes + 4, record.installStamp[1]);
  platform.WriteIniValue(kStampFile, kStampSection, code, HexEncode(bytes, sizeof bytes));
}

void ReadStamp(const char* code, RecordPlatform& platform, MgInfo* record) {
  if (StampFromText(platform.ReadIniValue(IniFolder::kUser, kStampFile, kStampSection, code), record)) return;
  // An earlier installation's copy is carried over into the user's file.
  if (!StampFromText(platform.ReadIniValue(IniFolder::kWindowsDirectory, kStampFile, kStampSection, code),
                     record)) {
    record->installStamp[0] = platform.TickCount();
    record->installStamp[1] = platform.UnixTime();
  }
  WriteStamp(code, platform, *record);
}

void MakeDefaultRecord(const char* code, RecordPlatform& platform, MgInfo* record) {
  std::memset(record, 0, sizeof *record);
  ReadStamp(code, platform, record);
  WorkArea area = platform.GetWorkArea();
  record->windowX = (area.right - area.left - kDefaultWindowWidth) / 2;
  record->windowY = (area.bottom - area.top - kDefaultWindowHeight) / 2;
  std::memcpy(record->lastPlayerName, kDefaultPlayerName, sizeof kDefaultPlayerName);
}

bool LoadRecord(const char* code, RecordPlatform& platform, MgInfo* record) {
  std::string text = platform.ReadProfileValue(kRecordSection, code);
  uint8_t bytes[kMgInfoBytes];
  if (DecodedLength(text.c_str()) != kMgInfoBytes || !DecodeRecord(text.c_str(), bytes, kMgInfoBytes)) {
    MakeDefaultRecord(code, platform, record);
    return false;
  }
  RecordFromBytes(bytes, record);
  SanitizeRecord(record);
  WriteStamp(code, platform, *record);
  return true;
}

void SaveRecord(const char* code, RecordPlatform& platform, const MgInfo& record) {
  uint8_t bytes[kMgInfoBytes];
  RecordToBytes(record, bytes);
  platform.WriteProfileValue(kRecordSection, code, EncodeRecord(bytes, sizeof bytes));
}
