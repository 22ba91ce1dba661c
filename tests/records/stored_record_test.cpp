// Loading and saving the record over a fake system: the first run, damaged and
// missing values, the stamp's two copies, and save-load identity.
#include "records/stored_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "fake_record_platform.h"
#include "records/record_codec.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr char kCode[] = "QM100";
constexpr char kYou[] = "\x82\xA0\x82\xC8\x82\xBD";  // "あなた"

Bytes ToBytes(const MgInfo& record) {
  Bytes bytes(kMgInfoBytes);
  RecordToBytes(record, bytes.data());
  return bytes;
}

// A stored record with a stamp, totals and three named entries.
MgInfo PlayedRecord() {
  MgInfo r;
  std::memset(&r, 0, sizeof r);
  r.installStamp[0] = 0x11223344;
  r.installStamp[1] = 0x55667788;
  r.windowX = -12;
  r.windowY = 40;
  r.totalClicks = 4000000000u;
  r.totalPlayMs = 90000000;
  std::strcpy(r.lastPlayerName, "\x83\x7C\x83\x80\x83\x8B");  // "ポムル"
  const char* texts[] = {" 12.345", "  9.001", "  0.016"};
  for (int i = 0; i < 3; ++i) {
    std::strcpy(r.table[i].scoreText, texts[i]);
    std::strcpy(r.table[i].playerName, i ? "abc" : "\x83\x7C\x83\x80\x83\x8B");
    r.table[i].scoreMs = static_cast<uint32_t>(12345 / (i + 1));
  }
  return r;
}

void Store(FakeRecordPlatform& system, const MgInfo& record) { SaveRecord(kCode, system, record); }

TEST(StoredRecord, BytesAreTheStoredLayout) {
  MgInfo r = PlayedRecord();
  r.table[1].reserved[0] = 0xAB;
  Bytes b = ToBytes(r);
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), (Bytes{0x44, 0x33, 0x22, 0x11, 0x88, 0x77, 0x66, 0x55}));
  EXPECT_EQ(Bytes(b.begin() + 8, b.begin() + 12), (Bytes{0xF4, 0xFF, 0xFF, 0xFF}));  // -12
  EXPECT_EQ(Bytes(b.begin() + 16, b.begin() + 20), (Bytes{0x00, 0x28, 0x6B, 0xEE}));  // 4000000000
  EXPECT_EQ(std::memcmp(&b[24], "\x83\x7C\x83\x80\x83\x8B", 7), 0);
  EXPECT_EQ(std::memcmp(&b[44 + 32], "  9.001", 8), 0);
  EXPECT_EQ(std::memcmp(&b[44 + 32 + 9], "abc", 4), 0);
  EXPECT_EQ(b[44 + 32 + 26], 0xAB);
  EXPECT_EQ(Bytes(b.begin() + 44 + 32 + 28, b.begin() + 44 + 64), (Bytes{0x1C, 0x18, 0, 0}));  // 6172
  MgInfo back;
  RecordFromBytes(b.data(), &back);
  EXPECT_EQ(ToBytes(back), b);
}

TEST(StoredRecord, FirstRunGivesTheDefaultsAndANewStampInBothCopies) {
  FakeRecordPlatform system;
  MgInfo r;
  EXPECT_FALSE(LoadRecord(kCode, system, &r));
  EXPECT_EQ(r.installStamp[0], system.tick);
  EXPECT_EQ(r.installStamp[1], system.unixTime);
  EXPECT_EQ(system.UserStamp(), "EFCDAB0040C33369");  // both words little-endian
  EXPECT_EQ(r.windowX, 309);
  EXPECT_EQ(r.windowY, 203);
  EXPECT_EQ(r.totalClicks, 0u);
  EXPECT_EQ(r.totalPlayMs, 0u);
  EXPECT_STREQ(r.lastPlayerName, kYou);
  for (const HighScoreEntry& e : r.table) {
    EXPECT_EQ(e.scoreText[0], '\0');
    EXPECT_EQ(e.playerName[0], '\0');
  }
  EXPECT_EQ(system.profileWrites, 0);
}

TEST(StoredRecord, DefaultWindowPositionCentresInTheWorkAreaSize) {
  struct Case {
    WorkArea area;
    int x, y;
  } cases[] = {
      {{0, 0, 1024, 768}, 309, 203},
      {{0, 0, 800, 600}, 197, 119},
      {{0, 0, 1024, 738}, 309, 188},
      {{64, 30, 1088, 798}, 309, 203},  // the area's own corner is not added
      {{0, 0, 300, 200}, -53, -80},     // smaller than the window: truncated toward zero
  };
  for (const Case& c : cases) {
    FakeRecordPlatform system;
    system.area = c.area;
    MgInfo r;
    LoadRecord(kCode, system, &r);
    EXPECT_EQ(r.windowX, c.x) << c.area.right << " x " << c.area.bottom;
    EXPECT_EQ(r.windowY, c.y) << c.area.right << " x " << c.area.bottom;
  }
}

TEST(StoredRecord, SaveThenLoadGivesTheSameBytes) {
  FakeRecordPlatform system;
  MgInfo r = PlayedRecord();
  r.table[0].reserved[1] = 0x5A;
  r.table[2].playerName[10] = 'x';  // bytes after a terminator carry over too
  Store(system, r);
  EXPECT_EQ(system.StoredRecord().size(), 732u);
  MgInfo back;
  ASSERT_TRUE(LoadRecord(kCode, system, &back));
  EXPECT_EQ(ToBytes(back), ToBytes(r));
  // And a record of random bytes once its texts are in order.
  std::mt19937 rng(364);
  Bytes noise(kMgInfoBytes);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(rng());
  RecordFromBytes(noise.data(), &r);
  SanitizeRecord(&r);
  Store(system, r);
  ASSERT_TRUE(LoadRecord(kCode, system, &back));
  EXPECT_EQ(ToBytes(back), ToBytes(r));
}

TEST(StoredRecord, ASuccessfulLoadRewritesTheStampCopyFromTheRecord) {
  FakeRecordPlatform system;
  Store(system, PlayedRecord());
  system.UserStamp() = "0000000000000000";
  MgInfo r;
  ASSERT_TRUE(LoadRecord(kCode, system, &r));
  EXPECT_EQ(system.UserStamp(), "4433221188776655");
}

TEST(StoredRecord, DamagedValuesGiveTheDefaultsAndKeepTheStamp) {
  FakeRecordPlatform clean;
  Store(clean, PlayedRecord());
  const std::string good = clean.StoredRecord();
  std::string changed = good;
  changed[100] = changed[100] == '0' ? '1' : '0';
  std::string lower = good;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  uint8_t short_block[363] = {};
  const std::string values[] = {
      "",                                        // missing
      changed,                                   // checksum no longer matches
      good.substr(0, 730),                       // truncated by a pair
      good + "00",                               // lengthened by a pair
      lower,                                     // lower-case digits
      EncodeRecord(short_block, sizeof short_block),  // a whole, but shorter, record
      "not a record at all",
  };
  for (const std::string& value : values) {
    FakeRecordPlatform system;
    system.StoredRecord() = value;
    system.UserStamp() = "0102030405060708";
    MgInfo r;
    EXPECT_FALSE(LoadRecord(kCode, system, &r)) << value;
    EXPECT_EQ(r.installStamp[0], 0x04030201u) << value;
    EXPECT_EQ(r.installStamp[1], 0x08070605u) << value;
    EXPECT_EQ(system.UserStamp(), "0102030405060708");
    EXPECT_EQ(system.iniWrites, 0) << "a stamp that was read is not written again";
    EXPECT_EQ(r.totalClicks, 0u);
    EXPECT_EQ(r.table[0].scoreText[0], '\0');
    EXPECT_STREQ(r.lastPlayerName, kYou);
  }
}

TEST(StoredRecord, StampCopiesThatDoNotHoldAStampAreReplaced) {
  const char* refused[] = {
      "_default",            // what a missing key reads as
      "0102030405060a0b",    // lower case
      "010203040506070",     // 15 digits
      "010203040506070809",  // 18
      "01020304050607G8",
      " 102030405060708",
  };
  for (const char* value : refused) {
    FakeRecordPlatform system;
    system.UserStamp() = value;
    MgInfo r;
    LoadRecord(kCode, system, &r);
    EXPECT_EQ(r.installStamp[0], system.tick) << value;
    EXPECT_EQ(r.installStamp[1], system.unixTime) << value;
    EXPECT_EQ(system.UserStamp(), "EFCDAB0040C33369") << value;
  }
  // A seventeenth character is ignored.
  FakeRecordPlatform system;
  system.UserStamp() = "0102030405060708;";
  MgInfo r;
  ReadStamp(kCode, system, &r);
  EXPECT_EQ(r.installStamp[0], 0x04030201u);
}

TEST(StoredRecord, AnEarlierInstallationsCopyInTheWindowsDirectoryIsReadAfterTheUsers) {
  struct Case {
    const char* user;
    const char* windows;
    const char* stamp;  // the stamp taken, as the user's copy holds it afterwards
  } cases[] = {
      {"", "A1A2A3A4A5A6A7A8", "A1A2A3A4A5A6A7A8"},          // carried over into the user's copy
      {"_default", "A1A2A3A4A5A6A7A8", "A1A2A3A4A5A6A7A8"},
      {"a1a2a3a4a5a6a7a8", "A1A2A3A4A5A6A7A8", "A1A2A3A4A5A6A7A8"},
      {"B1B2B3B4B5B6B7B8", "A1A2A3A4A5A6A7A8", "B1B2B3B4B5B6B7B8"},  // the user's copy first
      {"", "_default", "EFCDAB0040C33369"},                  // neither: a new stamp
      {"", "", "EFCDAB0040C33369"},
  };
  for (const Case& c : cases) {
    FakeRecordPlatform system;
    system.UserStamp() = c.user;
    system.WindowsStamp() = c.windows;
    MgInfo r;
    LoadRecord(kCode, system, &r);
    EXPECT_EQ(system.UserStamp(), c.stamp) << c.user << " / " << c.windows;
    uint8_t stamp[8];
    HexDecode(c.stamp, stamp, 8);
    EXPECT_EQ(std::memcmp(&ToBytes(r)[0], stamp, 8), 0) << c.user << " / " << c.windows;
    EXPECT_EQ(system.WindowsStamp(), c.windows) << "the Windows directory is never written";
  }
}

TEST(StoredRecord, ALoadedRecordIsMadeSafeToUse) {
  MgInfo r = PlayedRecord();
  std::memset(r.lastPlayerName, 'n', sizeof r.lastPlayerName);       // no terminator
  std::memset(r.table[0].scoreText, '9', sizeof r.table[0].scoreText);
  std::memcpy(r.table[1].playerName, "abcdefghijklmno\x82\xA0", 17);  // a character across the end
  r.table[2].scoreText[0] = '\0';                                     // a gap in the table
  std::strcpy(r.table[3].scoreText, " 99.999");
  FakeRecordPlatform system;
  Store(system, r);
  MgInfo back;
  ASSERT_TRUE(LoadRecord(kCode, system, &back));
  EXPECT_EQ(std::string(back.lastPlayerName), std::string(16, 'n'));
  EXPECT_EQ(std::string(back.table[0].scoreText), "99999999");
  EXPECT_EQ(std::string(back.table[1].playerName), "abcdefghijklmno");
  EXPECT_EQ(back.table[3].scoreText[0], '\0');
  EXPECT_EQ(std::string(back.table[1].scoreText), "  9.001");
}

}  // namespace
