// CRegistryProfile: the application's settings as string values in the registry,
// under HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>. Every
// access, reads included, creates the keys that are missing. Texts are UTF-8.
#pragma once

#include <string>

class CRegistryProfile {
 public:
  void SetRegistryKey(const std::string& key) { registryKey_ = key; }
  void SetProfileName(const std::string& name) { profileName_ = name; }
  const std::string& GetRegistryKey() const { return registryKey_; }
  const std::string& GetProfileName() const { return profileName_; }

  // The value's text, or fallback when the value is missing, not a string, or the
  // section's key cannot be opened or made.
  std::string GetString(const std::string& section, const std::string& entry,
                        const std::string& fallback) const;
  // Stores the text as a REG_SZ value; false when the registry refuses.
  bool WriteString(const std::string& section, const std::string& entry,
                   const std::string& value) const;

 private:
  std::string registryKey_;
  std::string profileName_;
};
