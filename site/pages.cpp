#include "site/pages.h"

#include <mstch/mstch.hpp>
#include <nlohmann/json.hpp>

const std::string* EmbeddedFile(const std::string& name);  // generated from the templates

namespace site {
namespace {

const std::string& Template(const char* name) {
  const std::string* text = EmbeddedFile(name);
  if (!text) throw std::logic_error(std::string("missing template ") + name);
  return *text;
}

std::string Render(const char* page, const std::string& title, mstch::map context) {
  context.emplace("title", title);
  return mstch::render(Template("layout.mustache"), context, {{"body", Template(page)}});
}

// The game pads its text on the left ("  4.321"); the pages show it trimmed.
std::string Trimmed(const std::string& text) {
  size_t start = text.find_first_not_of(' ');
  return start == std::string::npos ? "" : text.substr(start);
}

std::optional<ScoreRow> FindRow(const RankingView& view) {
  if (!view.me) return std::nullopt;
  for (const ScoreRow& row : view.page.rows)
    if (row.playerId == *view.me) return row;
  return std::nullopt;
}

}  // namespace

std::string RankingHref(Period period, int page, int64_t me) {
  std::string href = std::string("/ranking?period=") + PeriodName(period);
  if (page > 1) href += "&page=" + std::to_string(page);
  if (me) href += "&me=" + std::to_string(me);
  return href;
}

std::string RenderHome(const HomeView& view) {
  mstch::array shots;
  for (const std::string& src : view.screenshots)
    shots.push_back(mstch::map{{"src", src}, {"alt", std::string("ゲーム画面")}});
  mstch::map context{{"screenshots", shots}};
  if (!view.download.empty()) {
    context.emplace("download", view.download);
    context.emplace("downloadName", view.downloadName);
  }
  return Render("home.mustache", "ホーム", context);
}

std::string RenderSubmission(const SubmissionView& view) {
  mstch::map context{
      {"payload", view.payload},
      {"token", view.token},
      {"scoreText", Trimmed(view.scoreText)},
      {"rankAll", std::to_string(view.rankAll)},
      {"rankWeek", std::to_string(view.rankWeek)},
      {"rankToday", std::to_string(view.rankToday)},
      {"name", view.name},
  };
  if (view.own)
    context.emplace("own", mstch::map{{"ownScoreText", Trimmed(view.own->scoreText)},
                                      {"ownName", view.own->name}});
  if (!view.error.empty()) context.emplace("error", view.error);
  return Render("submission.mustache", "あなたの記録", context);
}

std::string RenderRanking(const RankingView& view) {
  const int64_t me = view.me.value_or(0);
  mstch::array periods;
  for (Period p : {Period::kAllTime, Period::kWeek, Period::kToday})
    periods.push_back(mstch::map{{"href", RankingHref(p, 1, me)},
                                 {"title", std::string(PeriodTitle(p))},
                                 {"current", p == view.period}});
  mstch::array rows;
  for (const ScoreRow& row : view.page.rows)
    rows.push_back(mstch::map{{"rank", std::to_string(row.rank)},
                              {"name", row.name},
                              {"scoreText", Trimmed(row.scoreText)},
                              {"when", JapanTimeText(row.achievedAt) + " JST"},
                              {"me", me != 0 && row.playerId == me}});
  const RankingPage& page = view.page;
  mstch::map context{
      {"periodTitle", std::string(PeriodTitle(view.period))},
      {"periods", periods},
      {"rows", rows},
      {"hasRows", !page.rows.empty()},
      {"page", std::to_string(page.page)},
      {"pageCount", std::to_string(page.pageCount)},
      {"total", std::to_string(page.total)},
  };
  if (page.page > 1) context.emplace("prev", RankingHref(view.period, page.page - 1, me));
  if (page.page < page.pageCount) context.emplace("next", RankingHref(view.period, page.page + 1, me));
  if (!view.notice.empty()) context.emplace("notice", view.notice);
  if (auto mine = FindRow(view))
    context.emplace("mine", mstch::map{{"rank", std::to_string(mine->rank)}});
  return Render("ranking.mustache", std::string(PeriodTitle(view.period)) + "ランキング", context);
}

std::string RenderError(const std::string& heading, const std::string& message) {
  return Render("error.mustache", heading, mstch::map{{"heading", heading}, {"message", message}});
}

std::string RankingJson(const RankingView& view) {
  nlohmann::json rows = nlohmann::json::array();
  for (const ScoreRow& row : view.page.rows) {
    nlohmann::json item{{"rank", row.rank},
                        {"playerId", row.playerId},
                        {"name", row.name},
                        {"scoreMs", row.scoreMs},
                        {"scoreText", row.scoreText},
                        {"achievedAt", row.achievedAt}};
    if (view.me && row.playerId == *view.me) item["me"] = true;
    rows.push_back(std::move(item));
  }
  nlohmann::json out{{"period", PeriodName(view.period)},
                     {"page", view.page.page},
                     {"pageCount", view.page.pageCount},
                     {"pageSize", kPageSize},
                     {"total", view.page.total},
                     {"entries", rows}};
  // Names are checked UTF-8, but a bad byte must never break the whole answer.
  return out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

const std::string* EmbeddedStyleSheet() { return EmbeddedFile("style.css"); }

}  // namespace site
