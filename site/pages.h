// The site's pages, rendered from the Mustache templates in site/templates, and
// the JSON of a ranking. Every value goes through {{...}}, which HTML-escapes it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "site/periods.h"
#include "site/store.h"

namespace site {

constexpr int kPageSize = 50;

struct HomeView {
  std::vector<std::string> screenshots;  // addresses of the pictures
  std::string download;                  // address of the game, empty while there is none
  std::string downloadName;              // its file name
};

struct SubmissionView {
  std::string payload;  // the query as received, "Z..."
  std::string token;    // the form's proof of origin (FormTokens)
  std::string scoreText;
  int64_t rankAll = 0, rankWeek = 0, rankToday = 0;
  std::optional<ScoreRow> own;
  std::string name;   // what to put into the name box
  std::string error;  // why the last registration was refused
};

struct RankingView {
  Period period = Period::kAllTime;
  RankingPage page;
  std::optional<int64_t> me;  // the player's public id: their row is highlighted
  std::string notice;
};

std::string RenderHome(const HomeView& view);
std::string RenderSubmission(const SubmissionView& view);
std::string RenderRanking(const RankingView& view);
std::string RenderError(const std::string& heading, const std::string& message);
std::string RankingJson(const RankingView& view);

// The address of a ranking page (page 1-based; me 0 for none).
std::string RankingHref(Period period, int page, int64_t me);

const std::string* EmbeddedStyleSheet();

}  // namespace site
