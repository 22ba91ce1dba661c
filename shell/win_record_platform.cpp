#include "shell/win_record_platform.h"

#include <windows.h>
#include <shlobj.h>

#include <ctime>

#include "core/win32/wide_text.h"
#include "framework/private_profile.h"
#include "records/stored_record.h"

namespace {

std::string UserFolder(const std::string& registryKey) {
  wchar_t path[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  std::string folder = Utf8FromWide(path);
  if (folder.empty()) return {};
  return folder + "\\" + (registryKey.empty() ? std::string("rodeo") : registryKey);
}

std::string IniValue(const std::string& file, const char* section, const char* key) {
  return GetIniString(file, section, key, std::string());
}

}  // namespace

std::string CWinRecordPlatform::ReadProfileValue(const char* section, const char* entry) {
  return profile_.GetString(section, entry, std::string());
}

void CWinRecordPlatform::WriteProfileValue(const char* section, const char* entry,
                                           const std::string& value) {
  profile_.WriteString(section, entry, value);
}

std::string CWinRecordPlatform::UserIniPath(const char* file) const {
  std::string folder = UserFolder(profile_.GetRegistryKey());
  return folder.empty() ? std::string() : folder + "\\" + file;
}

std::string CWinRecordPlatform::ReadIniValue(IniFolder folder, const char* file, const char* section,
                                             const char* key) {
  if (folder == IniFolder::kWindowsDirectory) return IniValue(file, section, key);
  std::string path = UserIniPath(file);
  return path.empty() ? std::string() : IniValue(path, section, key);
}

void CWinRecordPlatform::WriteIniValue(const char* file, const char* section, const char* key,
                                       const std::string& value) {
  std::string folder = UserFolder(profile_.GetRegistryKey());
  if (folder.empty()) return;
  // The private profile call does not make the folder.
  CreateDirectoryW(WideFromUtf8(folder.c_str()).c_str(), nullptr);
  WriteIniString(folder + "\\" + file, section, key, value);
}

uint32_t CWinRecordPlatform::TickCount() { return GetTickCount(); }

uint32_t CWinRecordPlatform::UnixTime() { return static_cast<uint32_t>(std::time(nullptr)); }

WorkArea CWinRecordPlatform::GetWorkArea() {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
    r.right = GetSystemMetrics(SM_CXSCREEN);
    r.bottom = GetSystemMetrics(SM_CYSCREEN);
  }
  return WorkArea{r.left, r.top, r.right, r.bottom};
}

bool LoadStoredRecord(const CRegistryProfile& profile, const char* code, MgInfo* record) {
  CWinRecordPlatform platform(profile);
  return LoadRecord(code, platform, record);
}

void SaveStoredRecord(const CRegistryProfile& profile, const char* code, const MgInfo& record) {
  CWinRecordPlatform platform(profile);
  SaveRecord(code, platform, record);
}
