// Cutting code page 932 text: never inside a double-byte character.
#include "records/cp932_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Cp932Text, LeadBytes) {
  for (int b = 0; b < 256; ++b) {
    bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsCp932LeadByte(static_cast<uint8_t>(b)), lead) << b;
  }
}

TEST(Cp932Text, CutsOnlyBetweenCharacters) {
  const std::string you = "\x82\xA0\x82\xC8\x82\xBD";  // three double-byte characters
  const std::string kana = "\xB1\xB2";                  // half-width kana: single bytes
  struct Case {
    std::string text;
    size_t max;
    std::string cut;
  } cases[] = {
      {"abc", 16, "abc"},
      {"abcdefghijklmnopq", 16, "abcdefghijklmnop"},
      {you, 6, you},
      {you, 5, you.substr(0, 4)},
      {you, 1, ""},
      {"a" + you, 6, "a" + you.substr(0, 4)},
      {std::string(15, 'a') + "\x82\xA0", 16, std::string(15, 'a')},
      {std::string(14, 'a') + "\x82\xA0", 16, std::string(14, 'a') + "\x82\xA0"},
      {kana + kana, 3, kana + "\xB1"},
      {"\x82\x40\xE0\x40\xFC\x40", 5, "\x82\x40\xE0\x40"},  // a trail byte may look like ASCII
      {"ab\x82", 16, "ab"},                                  // a broken last character
      {"", 16, ""},
      {"abc", 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Cp932Cut(c.text, c.max), c.cut) << c.text << " / " << c.max;
}

TEST(Cp932Text, CopyIntoAFieldTerminatesAndClearsTheRest) {
  char field[9];
  std::memset(field, 'x', sizeof field);
  CopyCp932Field(field, sizeof field, "1234567\x82\xA0");
  EXPECT_STREQ(field, "1234567");
  EXPECT_EQ(field[8], '\0');
  CopyCp932Field(field, sizeof field, "123456789");
  EXPECT_STREQ(field, "12345678");
  CopyCp932Field(field, 1, "abc");
  EXPECT_EQ(field[0], '\0');
}

}  // namespace
