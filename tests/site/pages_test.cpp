// Pages with hostile names: whatever a player types comes out as text, never markup.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "site/pages.h"

namespace {

const char* const kHostileNames[] = {
    "<script>alert(1)</script>",
    "\"><img src=x onerror=alert(1)>",
    "' onmouseover='alert(1)",
    "{{title}}{{{title}}}",
    "&lt;b&gt;",
    "</td></tr></table>",
    "javascript:alert(1)",
};

// What {{...}} makes of a text.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      case '/': out += "&#x2F;"; break;
      default: out += c;
    }
  }
  return out;
}

site::ScoreRow Row(int64_t rank, int64_t id, const std::string& name) {
  return site::ScoreRow{rank, id, name, 12345, " 12.345", 1765000000};
}

void ExpectNoMarkupFrom(const std::string& html, const std::string& name) {
  EXPECT_EQ(html.find("<script"), std::string::npos) << name;
  EXPECT_EQ(html.find("<img"), std::string::npos) << name;
  EXPECT_EQ(html.find("onmouseover='"), std::string::npos) << name;
  EXPECT_EQ(html.find("</td></tr></table>"), std::string::npos) << name;
  EXPECT_EQ(html.find("&lt;b&gt;"), std::string::npos) << name;  // the & itself is escaped
}

TEST(Pages, HostileNamesInTheRankingAreText) {
  for (const char* name : kHostileNames) {
    site::RankingView view;
    view.page.rows = {Row(1, 7, name), Row(2, 8, "ポムル")};
    view.page.total = 2;
    view.me = 7;
    std::string html = site::RenderRanking(view);
    ExpectNoMarkupFrom(html, name);
    EXPECT_NE(html.find(Escaped(name)), std::string::npos) << name;
    EXPECT_NE(html.find("<tr class=\"me\" id=\"me\">"), std::string::npos);
  }
}

TEST(Pages, HostileNamesInTheSubmissionFormAreText) {
  for (const char* name : kHostileNames) {
    site::SubmissionView view;
    view.payload = "Z\"><script>";
    view.scoreText = " 12.345";
    view.name = name;
    view.own = Row(0, 7, name);
    view.error = name;
    std::string html = site::RenderSubmission(view);
    ExpectNoMarkupFrom(html, name);
    EXPECT_NE(html.find("12.345"), std::string::npos);
  }
}

TEST(Pages, ErrorPageEscapesItsMessage) {
  std::string html = site::RenderError("エラー", "<script>x</script>");
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_NE(html.find("&lt;script&gt;"), std::string::npos);
  EXPECT_NE(html.find("<html lang=\"ja\">"), std::string::npos);
}

TEST(Pages, JsonCarriesNamesAsTheyAre) {
  site::RankingView view;
  view.page.rows = {Row(1, 7, kHostileNames[0]), Row(1, 8, "ポムル")};
  view.page.total = 2;
  view.me = 8;
  auto json = nlohmann::json::parse(site::RankingJson(view));
  EXPECT_EQ(json["entries"][0]["name"], kHostileNames[0]);
  EXPECT_EQ(json["entries"][1]["name"], "ポムル");
  EXPECT_EQ(json["entries"][1]["rank"], 1);
  EXPECT_TRUE(json["entries"][1]["me"]);
  EXPECT_FALSE(json["entries"][0].contains("me"));
  EXPECT_EQ(json["period"], "all");
}

}  // namespace
