// Profile strings in the registry (keys made on every access, reads included) and
// in private profile files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/win32/wide_text.h"
#include "framework/application.h"
#include "framework/private_profile.h"

namespace {

const wchar_t kTestRoot[] = L"Software\\RodeoFrameworkTest";

bool KeyExists(const std::wstring& path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class Profile : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    app.SetRegistryKey("RodeoFrameworkTest");
    app.SetProfileName("ポムルのロデオ");
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }
  CWinApp app;
  const std::wstring section = std::wstring(kTestRoot) + L"\\ポムルのロデオ\\mgInfo";
};

TEST_F(Profile, AReadOfAMissingValueMakesTheKeysAndGivesTheFallback) {
  ASSERT_FALSE(KeyExists(kTestRoot));
  EXPECT_EQ(app.GetProfileValue("mgInfo", "QM100", "none"), "none");
  EXPECT_TRUE(KeyExists(section));
}

TEST_F(Profile, WrittenStringsReadBackAndAreStoredAsRegSz) {
  ASSERT_TRUE(app.WriteProfileValue("mgInfo", "QM100", "0A1B ポムル"));
  EXPECT_EQ(app.GetProfileValue("mgInfo", "QM100", "none"), "0A1B ポムル");

  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, section.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  wchar_t data[32] = {};
  DWORD type = 0, size = sizeof(data);
  EXPECT_EQ(RegQueryValueExW(key, L"QM100", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(data, L"0A1B ポムル");

  ASSERT_TRUE(app.WriteProfileValue("mgInfo", "QM100", ""));
  EXPECT_EQ(app.GetProfileValue("mgInfo", "QM100", "none"), "");
}

TEST_F(Profile, AValueOfAnotherTypeReadsAsTheFallback) {
  app.GetProfileValue("mgInfo", "x", "");
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, section.c_str(), 0, KEY_WRITE, &key), ERROR_SUCCESS);
  DWORD number = 5;
  RegSetValueExW(key, L"QM100", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof(number));
  RegCloseKey(key);
  EXPECT_EQ(app.GetProfileValue("mgInfo", "QM100", "none"), "none");
}

TEST(ProfileNames, WithoutTheNamesNothingIsReadOrWritten) {
  CWinApp app;
  EXPECT_EQ(app.GetProfileValue("mgInfo", "QM100", "none"), "none");
  EXPECT_FALSE(app.WriteProfileValue("mgInfo", "QM100", "x"));
}

TEST(PrivateProfile, StringsRoundTripThroughTheFile) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::string file = Utf8FromWide(folder) + "framework_test_設定.ini";
  DeleteFileW(WideFromUtf8(file.c_str()).c_str());
  EXPECT_EQ(GetIniString(file, "vertical settings", "QM100", "none"), "none");
  ASSERT_TRUE(WriteIniString(file, "vertical settings", "QM100", "00000123ABCDEF00"));
  EXPECT_EQ(GetIniString(file, "vertical settings", "QM100", "none"), "00000123ABCDEF00");
  std::string longValue(1000, 'A');
  ASSERT_TRUE(WriteIniString(file, "vertical settings", "long", longValue));
  EXPECT_EQ(GetIniString(file, "vertical settings", "long", ""), longValue);
  EXPECT_TRUE(DeleteFileW(WideFromUtf8(file.c_str()).c_str()));
}

}  // namespace
