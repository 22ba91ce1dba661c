// Private profile (.ini) strings: GetPrivateProfileStringW / WritePrivateProfileStringW
// with UTF-8 texts. A file name without a folder means the Windows directory.
#pragma once

#include <string>

std::string GetIniString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback);
bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value);
