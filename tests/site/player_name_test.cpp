// The name rule: at most 16 bytes of code page 932, nothing outside it.
#include <gtest/gtest.h>

#include "site/player_name.h"

namespace {

TEST(PlayerName, TableOfCases) {
  struct Case {
    const char* name;
    bool ok;
    const char* stored;
  } cases[] = {
      {"ポムル", true, "ポムル"},
      {"  ポムル  ", true, "ポムル"},                          // surrounding spaces go
      {"1234567890123456", true, "1234567890123456"},          // 16 ASCII bytes
      {"12345678901234567", false, ""},                        // 17
      {"あいうえおかきく", true, "あいうえおかきく"},          // 8 double-byte = 16
      {"あいうえおかきくけ", false, ""},                      // 18 bytes
      {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀ", true, "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀ"},  // half-width kana: 1 byte each
      {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁ", false, ""},
      {"ABCDEFGHIJKLMNOあ", false, ""},  // 15 + 2: no cutting inside a character
      {"ABCDEFGHIJKLMNあ", true, "ABCDEFGHIJKLMNあ"},
      {"①髙﨑", true, "①髙﨑"},  // code page 932's own additions
      {"", false, ""},
      {"   ", false, ""},
      {"😀", false, ""},      // no place in code page 932
      {"한국", false, ""},
      {"tab\there", false, ""},
      {"new\nline", false, ""},
      {"\xff\xfe", false, ""},  // not UTF-8
      {"<script>", true, "<script>"},  // accepted as text; the pages escape it
      {"\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000", false, ""},  // ideographic spaces only
      {" \u3000\t\u3000 ", false, ""},
      {"\u3000ポムル\u3000 ", true, "ポムル"},  // trimmed like the ASCII ones
      {"ポム\u3000ル", true, "ポム\u3000ル"},   // inside a name it stays
      {"\ue000", false, ""},                    // private use: code page 932's user-defined area
      {"ab\ue757", false, ""},
      {"\uf8ff", false, ""},
      {"\U000F0000", false, ""},
  };
  for (const Case& c : cases) {
    site::NameCheck check = site::CheckPlayerName(c.name);
    EXPECT_EQ(check.ok, c.ok) << c.name;
    EXPECT_EQ(check.name, c.stored) << c.name;
    EXPECT_EQ(check.error.empty(), c.ok) << c.name;
  }
}

// Each refusal says why, in the form's own words.
TEST(PlayerName, RefusalsSayWhy) {
  EXPECT_EQ(site::CheckPlayerName("").error, "名前を入力してください。");
  EXPECT_EQ(site::CheckPlayerName("\u3000\u3000").error, "空白だけの名前は使えません。");
  EXPECT_EQ(site::CheckPlayerName("   ").error, "空白だけの名前は使えません。");
  EXPECT_EQ(site::CheckPlayerName("x\ue001").error, "名前に外字（私用領域の文字）は使えません。");
  EXPECT_EQ(site::CheckPlayerName("a\x01").error, "名前に制御文字は使えません。");
}

}  // namespace
