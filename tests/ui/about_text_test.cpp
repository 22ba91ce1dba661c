// The About box's title line and its two totals.
#include "ui/about_text.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutText, TitleLine) {
  EXPECT_EQ(AboutTitleLine("ポムルのロデオ", "1.00"), "ポムルのロデオ Version1.00");
}

TEST(AboutText, PlayTime) {
  struct Case {
    uint32_t ms;
    const char* text;
  } cases[] = {
      {0, "0秒"},
      {999, "0秒"},
      {59999, "59秒"},
      {60000, "1分0秒"},
      {3599999, "59分59秒"},
      {3600000, "1時間0分0秒"},
      {3661000, "1時間1分1秒"},
      {90000000, "25時間0分0秒"},  // hours are not wrapped at a day
      {4294967295u, "1193時間2分47秒"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatPlayTime(c.ms), c.text) << c.ms;
}

TEST(AboutText, ClickCountIsUnsignedInFull) {
  EXPECT_EQ(FormatClickCount(0), "0回");
  EXPECT_EQ(FormatClickCount(1234), "1234回");
  EXPECT_EQ(FormatClickCount(4294967295u), "4294967295回");
}

}  // namespace
