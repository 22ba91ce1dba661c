// The record through the real registry and "wconf.ini" under Wine: a first run's
// defaults, saved and loaded again, a damaged value falling back to the defaults
// with the stamp kept, an earlier installation's copy in the Windows directory, and
// the window's position taken at the end and checked against the monitors at start.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "core/win32/wide_text.h"
#include "framework/private_profile.h"
#include "framework/registry_profile.h"
#include "records/high_score_table.h"
#include "shell/win_record_platform.h"
#include "shell/window_position.h"

namespace {

constexpr wchar_t kTestKey[] = L"Software\\RodeoDialogsTest";
constexpr char kCode[] = "QM100";

class RecordStore : public ::testing::Test {
 protected:
  CRegistryProfile profile;
  void SetUp() override {
    profile.SetRegistryKey("RodeoDialogsTest");
    profile.SetProfileName("ポムルのロデオ");
    Clean();
  }
  void TearDown() override { Clean(); }
  void Clean() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    DeleteFileW(WideFromUtf8(UserIni().c_str()).c_str());
    WritePrivateProfileStringW(L"vertical settings", L"QM100", nullptr, L"wconf.ini");
  }
  std::string UserIni() {
    CWinRecordPlatform platform(profile);
    return platform.UserIniPath("wconf.ini");
  }
  std::string UserStamp() { return GetIniString(UserIni(), "vertical settings", kCode, ""); }
  std::string StoredValue() {
    HKEY key;
    std::wstring path = std::wstring(kTestKey) + L"\\ポムルのロデオ\\mgInfo";
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    wchar_t data[1024];
    DWORD size = sizeof data, type = 0;
    LONG r = RegQueryValueExW(key, L"QM100", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return "<no value>";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    return Utf8FromWide(data);
  }
  static std::string StampHex(const MgInfo& r) {
    char text[17];
    const uint8_t* b = reinterpret_cast<const uint8_t*>(r.installStamp);
    for (int i = 0; i < 8; ++i) std::snprintf(text + 2 * i, 3, "%02X", b[i]);
    return text;
  }
};

TEST_F(RecordStore, FirstRunDefaultsThenSavedAtExitAndLoadedAtTheNextStart) {
  MgInfo first;
  EXPECT_FALSE(LoadStoredRecord(profile, kCode, &first));
  EXPECT_EQ(StoredValue(), "<no value>") << "the read made the keys, not the value";
  RECT area;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_EQ(first.windowX, (area.right - area.left - 406) / 2);
  EXPECT_EQ(first.windowY, (area.bottom - area.top - 361) / 2);
  EXPECT_STREQ(first.lastPlayerName, "\x82\xA0\x82\xC8\x82\xBD");  // あなた
  EXPECT_EQ(first.table[0].scoreText[0], '\0');
  EXPECT_NE(first.installStamp[1], 0u);
  EXPECT_EQ(UserStamp(), StampHex(first)) << "the stamp's copy is in " << UserIni();

  // A ride, a name, totals: saved as the frame does at WM_DESTROY.
  first.totalClicks = 77;
  first.totalPlayMs = 123456;
  ASSERT_EQ(InsertResult(&first, " 12.345", 12345), 0);
  StorePlayerName(&first, 0, "\x83\x7C\x83\x80\x83\x8B");  // ポムル
  SaveStoredRecord(profile, kCode, first);
  std::string stored = StoredValue();
  EXPECT_EQ(stored.size(), 732u);

  MgInfo second;
  std::memset(&second, 0xCC, sizeof second);
  EXPECT_TRUE(LoadStoredRecord(profile, kCode, &second));
  EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
}

TEST_F(RecordStore, ADamagedValueGivesTheDefaultsAndKeepsTheStamp) {
  MgInfo saved;
  LoadStoredRecord(profile, kCode, &saved);
  saved.totalClicks = 5;
  InsertResult(&saved, "  1.000", 1000);
  SaveStoredRecord(profile, kCode, saved);
  std::string value = StoredValue();
  const std::string damaged[] = {
      value.substr(0, 700),                                  // cut
      value + "00",                                          // lengthened
      value.substr(0, 100) + (value[100] == '0' ? "1" : "0") + value.substr(101),  // one digit
      "not a record at all",
  };
  for (const std::string& text : damaged) {
    ASSERT_TRUE(profile.WriteString("mgInfo", kCode, text));
    MgInfo loaded;
    EXPECT_FALSE(LoadStoredRecord(profile, kCode, &loaded)) << text;
    EXPECT_EQ(loaded.totalClicks, 0u);
    EXPECT_EQ(loaded.table[0].scoreText[0], '\0');
    EXPECT_EQ(loaded.installStamp[0], saved.installStamp[0]) << "the stamp comes from wconf.ini";
    EXPECT_EQ(loaded.installStamp[1], saved.installStamp[1]);
  }
}

TEST_F(RecordStore, AnEarlierInstallationsCopyInTheWindowsDirectoryIsCarriedOver) {
  ASSERT_TRUE(WriteIniString("wconf.ini", "vertical settings", kCode, "0102030405060708"));
  MgInfo loaded;
  LoadStoredRecord(profile, kCode, &loaded);
  EXPECT_EQ(StampHex(loaded), "0102030405060708");
  EXPECT_EQ(UserStamp(), "0102030405060708") << "now also in the user's copy";
  // Lower case is no stamp: a new one is made.
  WritePrivateProfileStringW(L"vertical settings", L"QM100", nullptr, WideFromUtf8(UserIni().c_str()).c_str());
  ASSERT_TRUE(WriteIniString("wconf.ini", "vertical settings", kCode, "0102030405060a0b"));
  LoadStoredRecord(profile, kCode, &loaded);
  EXPECT_NE(StampHex(loaded), "0102030405060A0B");
  EXPECT_EQ(UserStamp(), StampHex(loaded));
}

TEST(WindowPosition, TheNormalPositionIsTakenInScreenCoordinates) {
  HWND window = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW, 123, 87, 406, 361,
                                nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  MgInfo record{};
  TakeWindowPosition(window, &record);
  EXPECT_EQ(record.windowX, 123);
  EXPECT_EQ(record.windowY, 87);
  DestroyWindow(window);
}

// A stored position off every monitor, hostile or merely stale, comes back whole on
// the screen's work area; one that is whole on it stays.
TEST(WindowPosition, AStoredPositionOffTheMonitorsComesBackOnTheWorkArea) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  ASSERT_FALSE(MonitorWorkAreas().empty());
  const int w = 406, h = 361;
  struct Stored {
    int x, y;
  } hostile[] = {{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {INT_MAX - 100, 0}, {work.right + 500, work.top},
                 {work.left - 300, work.bottom - 10}};
  for (const Stored& s : hostile) {
    shell::ScreenPoint p = PlaceOnMonitors(s.x, s.y, w, h);
    EXPECT_TRUE(p.x >= work.left && p.y >= work.top && p.x + w <= work.right && p.y + h <= work.bottom)
        << s.x << ", " << s.y << " -> " << p.x << ", " << p.y;
  }
  shell::ScreenPoint kept = PlaceOnMonitors(work.left + 10, work.top + 20, w, h);
  EXPECT_EQ(kept.x, work.left + 10);
  EXPECT_EQ(kept.y, work.top + 20);
}

}  // namespace
