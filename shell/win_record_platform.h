// The stored record's system side on Windows: the application's profile values in
// the registry (CRegistryProfile), "wconf.ini" through the private profile calls,
// GetTickCount, time() and the work area.
//
// The stamp's copy is written to the user's application data folder
// (%APPDATA%\<registry key>\wconf.ini): a bare "wconf.ini" would mean the Windows
// directory, which a standard user cannot write. A copy that an earlier
// installation left in the Windows directory is still read.
//
// The frame loads the record once, in ShowAndLoad, and saves it at WM_DESTROY and
// at the end of the session (no WM_DESTROY follows that), with the application's
// profile, whose registry key and profile name are set by then.
#pragma once

#include <string>

#include "framework/registry_profile.h"
#include "records/mg_info.h"
#include "records/record_platform.h"

class CWinRecordPlatform : public RecordPlatform {
 public:
  // The profile is used, not copied: its registry key and profile name are set.
  explicit CWinRecordPlatform(const CRegistryProfile& profile) : profile_(profile) {}

  std::string ReadProfileValue(const char* section, const char* entry) override;
  void WriteProfileValue(const char* section, const char* entry, const std::string& value) override;
  std::string ReadIniValue(IniFolder folder, const char* file, const char* section, const char* key) override;
  void WriteIniValue(const char* file, const char* section, const char* key, const std::string& value) override;
  uint32_t TickCount() override;
  uint32_t UnixTime() override;
  WorkArea GetWorkArea() override;

  // The full path of the user's copy of `file`, "" when the folder is unknown.
  std::string UserIniPath(const char* file) const;

 private:
  const CRegistryProfile& profile_;
};

// The stored record, or the defaults (silently) when it is missing or damaged;
// the stamp's copy in "wconf.ini" is brought in line. True when the stored one was
// taken.
bool LoadStoredRecord(const CRegistryProfile& profile, const char* code, MgInfo* record);
void SaveStoredRecord(const CRegistryProfile& profile, const char* code, const MgInfo& record);
