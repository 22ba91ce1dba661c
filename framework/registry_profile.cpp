#include "framework/registry_profile.h"

#include <windows.h>

#include <vector>

#include "core/win32/wide_text.h"

namespace {

// Opens HKCU\Software\<key>\<profile>\<section> for reading and writing, making
// each missing level on the way. Null when that fails.
HKEY OpenSectionKey(const std::string& registryKey, const std::string& profileName,
                    const std::string& section) {
  if (registryKey.empty() || profileName.empty() || section.empty()) return nullptr;
  std::wstring path = L"Software\\" + WideFromUtf8(registryKey.c_str()) + L"\\" +
                      WideFromUtf8(profileName.c_str()) + L"\\" + WideFromUtf8(section.c_str());
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

}  // namespace

std::string CRegistryProfile::GetString(const std::string& section, const std::string& entry,
                                        const std::string& fallback) const {
  HKEY key = OpenSectionKey(registryKey_, profileName_, section);
  if (!key) return fallback;
  std::wstring name = WideFromUtf8(entry.c_str());
  std::string result = fallback;
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      type == REG_SZ) {
    // One spare character, so a stored text without its terminator still ends.
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) == ERROR_SUCCESS &&
        type == REG_SZ)
      result = Utf8FromWide(text.data());
  }
  RegCloseKey(key);
  return result;
}

bool CRegistryProfile::WriteString(const std::string& section, const std::string& entry,
                                   const std::string& value) const {
  HKEY key = OpenSectionKey(registryKey_, profileName_, section);
  if (!key) return false;
  std::wstring name = WideFromUtf8(entry.c_str());
  std::wstring text = WideFromUtf8(value.c_str());
  LONG status = RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}
