#include "framework/private_profile.h"

#include <windows.h>

#include <vector>

#include "core/win32/trace_failure.h"
#include "core/win32/wide_text.h"

std::string GetIniString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback) {
  std::wstring wideFile = WideFromUtf8(file.c_str());
  std::wstring wideSection = WideFromUtf8(section.c_str());
  std::wstring wideKey = WideFromUtf8(key.c_str());
  std::wstring wideFallback = WideFromUtf8(fallback.c_str());
  // The call cuts a longer value to the buffer; grow until it fits.
  for (DWORD size = 256; size <= 65536; size *= 4) {
    std::vector<wchar_t> text(size, L'\0');
    DWORD length = GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(),
                                            wideFallback.c_str(), text.data(), size,
                                            wideFile.c_str());
    if (length < size - 1) return Utf8FromWide(text.data());
  }
  return fallback;
}

bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) {
  if (WritePrivateProfileStringW(WideFromUtf8(section.c_str()).c_str(),
                                 WideFromUtf8(key.c_str()).c_str(),
                                 WideFromUtf8(value.c_str()).c_str(),
                                 WideFromUtf8(file.c_str()).c_str()))
    return true;
  TraceLastError("WritePrivateProfileStringW(%s, [%s] %s)", file.c_str(), section.c_str(), key.c_str());
  return false;
}
