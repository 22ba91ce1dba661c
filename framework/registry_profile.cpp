#include "framework/registry_profile.h"

#include <windows.h>

#include <vector>

#include "core/win32/handle_owners.h"
#include "core/win32/trace_failure.h"
#include "core/win32/wide_text.h"

namespace {

// Opens HKCU\Software\<key>\<profile>\<section> for reading and writing into key,
// making each missing level on the way. False when that fails.
bool OpenSectionKey(const std::string& registryKey, const std::string& profileName,
                    const std::string& section, win32::RegistryKey& key) {
  if (registryKey.empty() || profileName.empty() || section.empty()) return false;
  std::wstring path = L"Software\\" + WideFromUtf8(registryKey.c_str()) + L"\\" +
                      WideFromUtf8(profileName.c_str()) + L"\\" + WideFromUtf8(section.c_str());
  LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_READ | KEY_WRITE, nullptr, key.receive(), nullptr);
  if (status == ERROR_SUCCESS) return true;
  TraceError(static_cast<unsigned long>(status), "RegCreateKeyExW(HKCU\\Software\\%s\\%s\\%s)",
             registryKey.c_str(), profileName.c_str(), section.c_str());
  return false;
}

}  // namespace

std::string CRegistryProfile::GetString(const std::string& section, const std::string& entry,
                                        const std::string& fallback) const {
  win32::RegistryKey key;
  if (!OpenSectionKey(registryKey_, profileName_, section, key)) return fallback;
  std::wstring name = WideFromUtf8(entry.c_str());
  DWORD type = 0;
  DWORD bytes = 0;
  LONG status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes);
  if (status == ERROR_SUCCESS && type == REG_SZ) {
    // One spare character, so a stored text without its terminator still ends.
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(text.data()), &size);
    if (status == ERROR_SUCCESS && type == REG_SZ) return Utf8FromWide(text.data());
  }
  // A value not there yet is the usual case, not a failure.
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    TraceError(static_cast<unsigned long>(status), "RegQueryValueExW([%s] %s)", section.c_str(),
               entry.c_str());
  return fallback;
}

bool CRegistryProfile::WriteString(const std::string& section, const std::string& entry,
                                   const std::string& value) const {
  win32::RegistryKey key;
  if (!OpenSectionKey(registryKey_, profileName_, section, key)) return false;
  std::wstring name = WideFromUtf8(entry.c_str());
  std::wstring text = WideFromUtf8(value.c_str());
  LONG status = RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (status == ERROR_SUCCESS) return true;
  TraceError(static_cast<unsigned long>(status), "RegSetValueExW([%s] %s)", section.c_str(),
             entry.c_str());
  return false;
}
