// A RecordPlatform in memory: profile values, the two "wconf.ini" folders, a fixed
// clock and work area, and a count of the writes.
#pragma once

#include <map>
#include <string>

#include "records/record_platform.h"

class FakeRecordPlatform : public RecordPlatform {
 public:
  using Values = std::map<std::string, std::string>;  // "section/name" -> value

  Values profile;
  Values userIni;     // keyed "file/section/key"
  Values windowsIni;  // the copy an earlier installation left in the Windows directory
  uint32_t tick = 0x00ABCDEF;
  uint32_t unixTime = 1765000000;
  WorkArea area{0, 0, 1024, 768};
  int profileWrites = 0;
  int iniWrites = 0;

  static std::string IniKey(const char* file, const char* section, const char* key) {
    return std::string(file) + "/" + section + "/" + key;
  }
  // The user's stamp copy for the game's code.
  std::string& UserStamp() { return userIni[IniKey("wconf.ini", "vertical settings", "QM100")]; }
  std::string& WindowsStamp() { return windowsIni[IniKey("wconf.ini", "vertical settings", "QM100")]; }
  std::string& StoredRecord() { return profile["mgInfo/QM100"]; }

  std::string ReadProfileValue(const char* section, const char* entry) override {
    return Find(profile, std::string(section) + "/" + entry);
  }
  void WriteProfileValue(const char* section, const char* entry, const std::string& value) override {
    profile[std::string(section) + "/" + entry] = value;
    ++profileWrites;
  }
  std::string ReadIniValue(IniFolder folder, const char* file, const char* section, const char* key) override {
    return Find(folder == IniFolder::kUser ? userIni : windowsIni, IniKey(file, section, key));
  }
  void WriteIniValue(const char* file, const char* section, const char* key, const std::string& value) override {
    userIni[IniKey(file, section, key)] = value;
    ++iniWrites;
  }
  uint32_t TickCount() override { return tick; }
  uint32_t UnixTime() override { return unixTime; }
  WorkArea GetWorkArea() override { return area; }

 private:
  static std::string Find(const Values& values, const std::string& key) {
    auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
  }
};
