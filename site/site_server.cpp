#include "site/site_server.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "site/pages.h"
#include "site/player_name.h"
#include "site/rate_limiter.h"
#include "site/submission.h"

namespace site {
namespace {

constexpr char kHtml[] = "text/html; charset=utf-8";

struct Site {
  Site(Store& s, const SiteOptions& o) : store(s), options(o), limiter(o.registrationsPerMinute) {}
  Store& store;
  SiteOptions options;
  RateLimiter limiter;
  HomeView home;

  int64_t Now() const { return static_cast<int64_t>(std::time(nullptr)) + options.clockShift; }

  std::string ClientAddress(const httplib::Request& req) const {
    return options.trustedProxies.ClientAddress(req.remote_addr, req.get_header_value("X-Forwarded-For"));
  }
};

void SendPage(httplib::Response& res, int status, const std::string& html) {
  res.status = status;
  res.set_content(html, kHtml);
}

void SendError(httplib::Response& res, int status, const std::string& heading, const std::string& message) {
  SendPage(res, status, RenderError(heading, message));
}

// The raw query of the target: the game sends "Z" and hex digits, no key=value.
std::string RawQuery(const httplib::Request& req) {
  size_t q = req.target.find('?');
  return q == std::string::npos ? "" : req.target.substr(q + 1);
}

// A positive decimal number no larger than max, or false.
bool ParseCount(const std::string& text, int64_t max, int64_t* out) {
  if (text.empty() || text.size() > 18 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  int64_t v = std::stoll(text);
  if (v < 1 || v > max) return false;
  *out = v;
  return true;
}

const char* OutcomeName(RegisterOutcome o) {
  switch (o) {
    case RegisterOutcome::kNew: return "new";
    case RegisterOutcome::kImproved: return "improved";
    case RegisterOutcome::kSame: return "same";
    case RegisterOutcome::kNotBetter: return "kept";
    case RegisterOutcome::kRenamed: return "renamed";
    case RegisterOutcome::kBarred: return "";
  }
  return "";
}

std::string OutcomeNotice(const std::string& name) {
  if (name == "new") return "ランキングに登録しました！";
  if (name == "improved") return "記録を更新しました！";
  if (name == "same") return "この記録はすでに登録されています。";
  if (name == "renamed") return "名前を変更しました。";
  if (name == "kept") return "登録済みの記録の方が良いタイムなので、総合ランキングはそのままです。";
  return "";
}

void ShowSubmission(Site& site, const Submission& s, const std::string& payload, httplib::Response& res,
                    int status, const std::string& name, const std::string& error) {
  const int64_t now = site.Now();
  SubmissionView view;
  view.payload = payload;
  view.scoreText = s.entry.scoreText;
  view.rankAll = site.store.RankFor(Period::kAllTime, now, s.entry.scoreMs, s.entry.stamp);
  view.rankWeek = site.store.RankFor(Period::kWeek, now, s.entry.scoreMs, s.entry.stamp);
  view.rankToday = site.store.RankFor(Period::kToday, now, s.entry.scoreMs, s.entry.stamp);
  view.own = site.store.OwnBest(s.entry.stamp);
  view.name = name.empty() && view.own ? view.own->name : name;
  view.error = error;
  res.set_header("Cache-Control", "no-store");
  SendPage(res, status, RenderSubmission(view));
}

void RefuseSubmission(httplib::Response& res, const Submission& s) {
  SendError(res, 400, "記録を受け付けられません", SubmissionErrorMessage(s.error));
}

// Reads period, page and me of a ranking request and fetches the page: 200, or
// the status to refuse it with and the reason.
int ReadRankingRequest(Site& site, const httplib::Request& req, RankingView* view, std::string* error) {
  std::string period = req.has_param("period") ? req.get_param_value("period") : "all";
  if (!ParsePeriod(period, &view->period)) {
    *error = "期間の指定が正しくありません（all・week・today）。";
    return 400;
  }
  int64_t me = 0;
  if (req.has_param("me") && !ParseCount(req.get_param_value("me"), int64_t{1} << 53, &me)) {
    *error = "プレイヤーの指定が正しくありません。";
    return 400;
  }
  if (me) view->me = me;
  int64_t page = 1;
  const int64_t now = site.Now();
  if (req.has_param("page")) {
    if (!ParseCount(req.get_param_value("page"), 1000000, &page)) {
      *error = "ページの指定が正しくありません。";
      return 400;
    }
  } else if (me) {
    page = site.store.PageOf(view->period, now, me, kPageSize).value_or(1);
  }
  view->page = site.store.Page(view->period, now, static_cast<int>(page), kPageSize);
  if (page > view->page.pageCount) {
    *error = "そのページはありません。";
    return 404;
  }
  return 200;
}

void Register(Site& site, const httplib::Request& req, httplib::Response& res) {
  if (!site.limiter.Allow(site.ClientAddress(req))) {
    res.set_header("Retry-After", "60");
    SendError(res, 429, "しばらくお待ちください",
              "短い時間に登録が続いたため、受け付けを一時止めています。1分ほどたってからもう一度お試しください。");
    return;
  }
  const std::string payload = req.get_param_value("z");
  Submission s = CheckSubmission(payload);
  if (!s.ok()) return RefuseSubmission(res, s);
  const std::string typed = req.get_param_value("name");
  NameCheck name = CheckPlayerName(typed);
  if (!name.ok) return ShowSubmission(site, s, payload, res, 400, typed, name.error);

  Registration r{{s.entry.stamp[0], s.entry.stamp[1]}, s.entry.scoreMs, s.entry.scoreText, name.name};
  RegisterResult result = site.store.Register(r, site.Now());
  if (result.allTime == RegisterOutcome::kBarred)
    return SendError(res, 403, "登録できません", "この記録は登録を受け付けていません。");
  // Post/redirect/get: reloading the ranking page never registers again.
  int page = site.store.PageOf(Period::kAllTime, site.Now(), result.playerId, kPageSize).value_or(1);
  res.set_redirect(RankingHref(Period::kAllTime, page, result.playerId) + "&result=" +
                       OutcomeName(result.allTime) + "#me",
                   303);
}

void AddRoutes(httplib::Server& server, std::shared_ptr<Site> site) {
  server.Get("/", [site](const httplib::Request&, httplib::Response& res) {
    SendPage(res, 200, RenderHome(site->home));
  });
  server.Get("/style.css", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Cache-Control", "max-age=3600");
    res.set_content(*EmbeddedStyleSheet(), "text/css; charset=utf-8");
  });
  server.Get("/cgi-bin/ranking/rdiv.cgi", [site](const httplib::Request& req, httplib::Response& res) {
    const std::string query = RawQuery(req);
    Submission s = CheckSubmission(query);
    if (!s.ok()) return RefuseSubmission(res, s);
    ShowSubmission(*site, s, query, res, 200, "", "");
  });
  server.Post("/cgi-bin/ranking/rdiv.cgi", [site](const httplib::Request& req, httplib::Response& res) {
    if (req.get_header_value("Content-Type").rfind("application/x-www-form-urlencoded", 0) != 0)
      return SendError(res, 415, "送信の形式が正しくありません", "フォームから送信してください。");
    Register(*site, req, res);
  });
  server.Get("/ranking", [site](const httplib::Request& req, httplib::Response& res) {
    RankingView view;
    std::string error;
    if (int status = ReadRankingRequest(*site, req, &view, &error); status != 200)
      return SendError(res, status, "ランキングを表示できません", error);
    if (req.has_param("result")) view.notice = OutcomeNotice(req.get_param_value("result"));
    SendPage(res, 200, RenderRanking(view));
  });
  server.Get("/api/ranking", [site](const httplib::Request& req, httplib::Response& res) {
    RankingView view;
    std::string error;
    if (int status = ReadRankingRequest(*site, req, &view, &error); status != 200) {
      res.status = status;
      res.set_content(nlohmann::json{{"error", error}}.dump(), "application/json; charset=utf-8");
      return;
    }
    res.set_header("Access-Control-Allow-Origin", "*");
    res.set_content(RankingJson(view), "application/json; charset=utf-8");
  });
}

HomeView FindFiles(const std::string& dir) {
  namespace fs = std::filesystem;
  HomeView home;
  if (dir.empty()) return home;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(fs::path(dir) / "screenshots", ec))
    if (entry.path().extension() == ".png")
      home.screenshots.push_back("/files/screenshots/" + entry.path().filename().string());
  std::sort(home.screenshots.begin(), home.screenshots.end());
  for (const char* game : {"rodeo.zip", "rodeo.exe"})
    if (fs::is_regular_file(fs::path(dir) / game, ec)) home.download = std::string("/files/") + game;
  return home;
}

}  // namespace

std::unique_ptr<httplib::Server> MakeSiteServer(Store& store, const SiteOptions& options) {
  auto server = std::make_unique<httplib::Server>();
  auto site = std::make_shared<Site>(store, options);
  site->home = FindFiles(options.filesDir);
  const int threads = std::max(1, options.threads);
  server->new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
  server->set_payload_max_length(kMaxRequestBody);
  server->set_read_timeout(kReadTimeoutSeconds);
  server->set_write_timeout(kWriteTimeoutSeconds);
  server->set_tcp_nodelay(true);  // small answers go out at once, not after a delayed ACK
  server->set_keep_alive_timeout(5);
  server->set_keep_alive_max_count(100);
  // The submission address carries the installation's stamp: no referrer may leak it.
  server->set_default_headers({
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"},
      {"X-Frame-Options", "DENY"},
      {"Content-Security-Policy",
       "default-src 'none'; style-src 'self'; img-src 'self'; form-action 'self'; base-uri 'none'; "
       "frame-ancestors 'none'"},
  });
  if (!options.filesDir.empty()) server->set_mount_point("/files", options.filesDir);
  AddRoutes(*server, site);
  server->set_error_handler(httplib::Server::HandlerWithResponse(
      [](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    switch (res.status) {
      case 404: SendError(res, 404, "ページが見つかりません", "お探しのページはありません。"); break;
      case 413: SendError(res, 413, "送信が大きすぎます", "送られたデータが大きすぎます。"); break;
      default: SendError(res, res.status, "リクエストを処理できません", "リクエストが正しくありません。");
    }
    return httplib::Server::HandlerResponse::Handled;
  }));
  server->set_exception_handler([](const httplib::Request& req, httplib::Response& res, std::exception_ptr ep) {
    std::string what = "unknown";
    try {
      std::rethrow_exception(ep);
    } catch (const std::exception& e) {
      what = e.what();
    } catch (...) {
    }
    std::fprintf(stderr, "rodeo-site: %s %s failed: %s\n", req.method.c_str(), req.path.c_str(), what.c_str());
    SendError(res, 503, "ただいま混み合っています", "しばらくたってからもう一度お試しください。");
  });
  return server;
}

}  // namespace site
