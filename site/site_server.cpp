#include "site/site_server.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "site/form_token.h"
#include "site/http_server.h"
#include "site/pages.h"
#include "site/player_name.h"
#include "site/rate_limiter.h"
#include "site/submission.h"

namespace site {
namespace {

constexpr char kHtml[] = "text/html; charset=utf-8";
constexpr char kJson[] = "application/json; charset=utf-8";
constexpr char kSubmissionPath[] = "/cgi-bin/ranking/rdiv.cgi";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// application/x-www-form-urlencoded: '+' is a space, %XX a byte.
std::string FormDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The fields of a query or a form body; the first of a repeated name counts.
class Fields {
 public:
  explicit Fields(const std::string& encoded) {
    size_t start = 0;
    while (start <= encoded.size()) {
      size_t end = encoded.find('&', start);
      if (end == std::string::npos) end = encoded.size();
      std::string pair = encoded.substr(start, end - start);
      if (!pair.empty()) {
        size_t eq = pair.find('=');
        fields_.emplace_back(FormDecode(pair.substr(0, eq)),
                             eq == std::string::npos ? "" : FormDecode(pair.substr(eq + 1)));
      }
      start = end + 1;
    }
  }
  bool Has(const std::string& name) const {
    return std::any_of(fields_.begin(), fields_.end(), [&](const auto& f) { return f.first == name; });
  }
  std::string Get(const std::string& name) const {
    for (const auto& [key, value] : fields_)
      if (key == name) return value;
    return "";
  }

 private:
  std::vector<std::pair<std::string, std::string>> fields_;
};

struct Site {
  Site(Store& s, const SiteOptions& o) : store(s), options(o), limiter(o.registrationsPerMinute),
                                         tokens(o.formSecret) {}
  Store& store;
  SiteOptions options;
  RateLimiter limiter;
  FormTokens tokens;
  HomeView home;

  int64_t Now() const { return static_cast<int64_t>(std::time(nullptr)) + options.clockShift; }

  std::string ClientAddress(const HttpRequest& req) const {
    return options.trustedProxies.ClientAddress(req.peer, req.Header("X-Forwarded-For"));
  }
};

void SendPage(HttpResponse& res, int status, const std::string& html) {
  res.status = status;
  res.contentType = kHtml;
  res.body = html;
}

void SendError(HttpResponse& res, int status, const std::string& heading, const std::string& message) {
  SendPage(res, status, RenderError(heading, message));
}

void SendRefusal(int status, HttpResponse& res) {
  switch (status) {
    case 404: SendError(res, 404, "ページが見つかりません", "お探しのページはありません。"); break;
    case 413: SendError(res, 413, "送信が大きすぎます", "送られたデータが大きすぎます。"); break;
    case 503:
      SendError(res, 503, "ただいま混み合っています", "しばらくたってからもう一度お試しください。");
      break;
    default: SendError(res, status, "リクエストを処理できません", "リクエストが正しくありません。");
  }
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
  if (name == "renamed") return "登録済みの記録の名前を変更しました。";
  if (name == "same") return "この記録はすでに登録されています。";
  if (name == "kept") return "登録済みの記録の方が良いタイムなので、総合ランキングはそのままです。";
  return "";
}

void ShowSubmission(Site& site, const Submission& s, const std::string& payload, HttpResponse& res, int status,
                    const std::string& name, const std::string& error) {
  const int64_t now = site.Now();
  SubmissionView view;
  view.payload = payload;
  view.token = site.tokens.Issue(payload, now);
  view.scoreText = s.entry.scoreText;
  view.rankAll = site.store.RankFor(Period::kAllTime, now, s.entry.scoreMs, s.entry.stamp);
  view.rankWeek = site.store.RankFor(Period::kWeek, now, s.entry.scoreMs, s.entry.stamp);
  view.rankToday = site.store.RankFor(Period::kToday, now, s.entry.scoreMs, s.entry.stamp);
  view.own = site.store.OwnBest(s.entry.stamp);
  view.name = name.empty() && view.own ? view.own->name : name;
  view.error = error;
  res.headers.emplace_back("Cache-Control", "no-store");
  SendPage(res, status, RenderSubmission(view));
}

void RefuseSubmission(HttpResponse& res, const Submission& s) {
  SendError(res, 400, "記録を受け付けられません", SubmissionErrorMessage(s.error));
}

// Reads period, page and me of a ranking request and fetches the page: 200, or
// the status to refuse it with and the reason.
int ReadRankingRequest(Site& site, const Fields& params, RankingView* view, std::string* error) {
  std::string period = params.Has("period") ? params.Get("period") : "all";
  if (!ParsePeriod(period, &view->period)) {
    *error = "期間の指定が正しくありません（all・week・today）。";
    return 400;
  }
  int64_t me = 0;
  if (params.Has("me") && !ParseCount(params.Get("me"), int64_t{1} << 53, &me)) {
    *error = "プレイヤーの指定が正しくありません。";
    return 400;
  }
  if (me) view->me = me;
  int64_t page = 1;
  const int64_t now = site.Now();
  if (params.Has("page")) {
    if (!ParseCount(params.Get("page"), 1000000, &page)) {
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

// A browser says where a form was posted from: Sec-Fetch-Site, or at least Origin,
// which must name this host. Clients that send neither rely on the token alone.
bool FromOwnPage(const HttpRequest& req) {
  if (req.HasHeader("Sec-Fetch-Site")) {
    const std::string site = req.Header("Sec-Fetch-Site");
    return site == "same-origin" || site == "none";
  }
  if (!req.HasHeader("Origin")) return true;
  const std::string origin = req.Header("Origin");
  const size_t scheme = origin.find("://");
  return scheme != std::string::npos && !req.Header("Host").empty() &&
         origin.substr(scheme + 3) == req.Header("Host");
}

void Register(Site& site, const HttpRequest& req, HttpResponse& res) {
  if (!FromOwnPage(req))
    return SendError(res, 403, "登録できません", "ほかのサイトのページからは登録できません。");
  const Fields form(req.body);
  const std::string payload = form.Get("z");
  Submission s = CheckSubmission(payload);
  if (!s.ok()) return RefuseSubmission(res, s);
  // Only this submission's form, shown by this site not long ago, may register it.
  if (!site.tokens.Check(form.Get("t"), payload, site.Now()))
    return SendError(res, 403, "登録できません",
                     "登録用のフォームが古くなったか、正しくありません。記録のページを開き直してから登録してください。");
  if (!site.limiter.Allow(site.ClientAddress(req))) {
    res.headers.emplace_back("Retry-After", "60");
    return SendError(res, 429, "しばらくお待ちください",
                     "短い時間に登録が続いたため、受け付けを一時止めています。1分ほどたってからもう一度お試しください。");
  }
  const std::string typed = form.Get("name");
  NameCheck name = CheckPlayerName(typed);
  if (!name.ok) return ShowSubmission(site, s, payload, res, 400, typed, name.error);

  Registration r{{s.entry.stamp[0], s.entry.stamp[1]}, s.entry.scoreMs, s.entry.scoreText, name.name};
  RegisterResult result = site.store.Register(r, site.Now());
  if (result.allTime == RegisterOutcome::kBarred)
    return SendError(res, 403, "登録できません", "この記録は登録を受け付けていません。");
  // Post/redirect/get: reloading the ranking page never registers again.
  int page = site.store.PageOf(Period::kAllTime, site.Now(), result.playerId, kPageSize).value_or(1);
  res.status = 303;
  res.headers.emplace_back("Location",
                           RankingHref(Period::kAllTime, page, result.playerId) + "&result=" +
                                               OutcomeName(result.allTime) + "#me");
}

void Ranking(Site& site, const HttpRequest& req, HttpResponse& res, bool json) {
  const Fields params(req.query);
  RankingView view;
  std::string error;
  if (int status = ReadRankingRequest(site, params, &view, &error); status != 200) {
    if (!json) return SendError(res, status, "ランキングを表示できません", error);
    res.status = status;
    res.contentType = kJson;
    res.body = nlohmann::json{{"error", error}}.dump();
    return;
  }
  if (json) {
    res.headers.emplace_back("Access-Control-Allow-Origin", "*");
    res.contentType = kJson;
    res.body = RankingJson(view);
    return;
  }
  if (params.Has("result")) view.notice = OutcomeNotice(params.Get("result"));
  SendPage(res, 200, RenderRanking(view));
}

void Health(Site& site, HttpResponse& res) {
  res.contentType = "text/plain; charset=utf-8";
  res.headers.emplace_back("Cache-Control", "no-store");
  try {
    site.store.Ping();
    res.body = "ok\n";
  } catch (const std::exception&) {
    res.status = 503;
    res.body = "unavailable\n";
  }
}

const char* FileType(const std::string& name) {
  const std::string ext = std::filesystem::path(name).extension().string();
  if (ext == ".png") return "image/png";
  if (ext == ".gif") return "image/gif";
  if (ext == ".zip") return "application/zip";
  if (ext == ".html") return "text/html; charset=utf-8";
  return "application/octet-stream";
}

// /files/...: a file under the files folder, never outside it nor hidden.
void ServeFile(const Site& site, const std::string& path, HttpResponse& res) {
  const std::string relative = path.substr(std::string("/files/").size());
  bool ok = !site.options.filesDir.empty() && !relative.empty() && relative.find('\0') == std::string::npos;
  for (size_t start = 0; ok && start <= relative.size();) {
    size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    const std::string part = relative.substr(start, end - start);
    ok = !part.empty() && part[0] != '.' && part.find('\\') == std::string::npos;
    start = end + 1;
  }
  if (!ok) return SendRefusal(404, res);
  res.file = site.options.filesDir + "/" + relative;
  res.contentType = FileType(relative);
  res.headers.emplace_back("Cache-Control", "max-age=3600");
}

bool NeedsStore(const HttpRequest& req) {
  return req.path == kSubmissionPath || req.path == "/ranking" || req.path == "/api/ranking" ||
         req.path == "/healthz";
}

void Route(Site& site, const HttpRequest& req, HttpResponse& res) {
  const bool get = req.method == "GET" || req.method == "HEAD";
  if (get && req.path == "/") return SendPage(res, 200, RenderHome(site.home));
  if (get && req.path == "/style.css") {
    res.headers.emplace_back("Cache-Control", "max-age=3600");
    res.contentType = "text/css; charset=utf-8";
    res.body = *EmbeddedStyleSheet();
    return;
  }
  if (get && req.path.rfind("/files/", 0) == 0) return ServeFile(site, req.path, res);
  if (get && req.path == "/healthz") return Health(site, res);
  if (get && req.path == "/ranking") return Ranking(site, req, res, false);
  if (get && req.path == "/api/ranking") return Ranking(site, req, res, true);
  if (get && req.path == kSubmissionPath) {
    // The raw query: the game sends "Z" and hex digits, no key=value.
    Submission s = CheckSubmission(req.query);
    if (!s.ok()) return RefuseSubmission(res, s);
    return ShowSubmission(site, s, req.query, res, 200, "", "");
  }
  if (req.method == "POST" && req.path == kSubmissionPath) {
    if (req.Header("Content-Type").rfind("application/x-www-form-urlencoded", 0) != 0)
      return SendError(res, 415, "送信の形式が正しくありません", "フォームから送信してください。");
    return Register(site, req, res);
  }
  SendRefusal(404, res);
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
  // The release package (rodeo-VERSION.zip, the newest name), else a plain zip or exe.
  std::vector<std::string> packages;
  for (const auto& entry : fs::directory_iterator(fs::path(dir), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("rodeo-", 0) == 0 && entry.path().extension() == ".zip" && entry.is_regular_file(ec))
      packages.push_back(name);
  }
  std::sort(packages.begin(), packages.end());
  if (!packages.empty()) packages = {packages.back()};
  packages.push_back("rodeo.zip");
  packages.push_back("rodeo.exe");
  for (const std::string& name : packages)
    if (fs::is_regular_file(fs::path(dir) / name, ec)) {
      home.download = "/files/" + name;
      home.downloadName = name;
      break;
    }
  return home;
}

class Server : public SiteServer {
 public:
  Server(Store& store, const SiteOptions& options) : site_(std::make_shared<Site>(store, options)) {
    site_->home = FindFiles(options.filesDir);
    HttpLimits limits;
    limits.maxBody = kMaxRequestBody;
    limits.connectionMemory = kConnectionMemory;
    limits.idleSeconds = kIdleSeconds;
    limits.requestSeconds = kRequestSeconds;
    limits.stopSeconds = kStopSeconds;
    // A trusted proxy brings every client's connections: it limits them per client itself.
    limits.perAddress = options.connectionsPerAddress;
    limits.unlimitedAddress = [proxies = options.trustedProxies](const std::string& address) {
      return proxies.Contains(address);
    };
    limits.workers = std::max(1, options.threads);
    const long files = RaiseFileLimit();
    limits.maxConnections = static_cast<unsigned>(std::clamp(files - 64 - 2L * limits.workers, 16L, 20000L));

    HttpServer::Callbacks callbacks;
    std::shared_ptr<Site> site = site_;
    callbacks.handle = [site](const HttpRequest& req, HttpResponse& res) {
      try {
        Route(*site, req, res);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "rodeo-site: %s %s failed: %s\n", req.method.c_str(), req.path.c_str(), e.what());
        res = HttpResponse{};
        SendRefusal(503, res);
      }
    };
    callbacks.needsWorker = NeedsStore;
    callbacks.refuse = SendRefusal;
    callbacks.clientAddress = [site](const HttpRequest& req) { return site->ClientAddress(req); };
    // The submission's query carries the installation's stamp: never logged.
    callbacks.loggedTarget = [](const HttpRequest& req) {
      return req.path == kSubmissionPath ? std::string(kSubmissionPath) : req.target;
    };
    // The submission address carries the installation's stamp: no referrer may leak it.
    callbacks.defaultHeaders = {
        {"X-Content-Type-Options", "nosniff"},
        {"Referrer-Policy", "no-referrer"},
        {"X-Frame-Options", "DENY"},
        {"Content-Security-Policy",
         "default-src 'none'; style-src 'self'; img-src 'self'; form-action 'self'; base-uri 'none'; "
         "frame-ancestors 'none'"},
    };
    http_ = std::make_unique<HttpServer>(limits, std::move(callbacks), options.accessLog);
  }

  int Start(const std::string& host, int port) override { return http_->Start(host, port); }
  void Stop() override { http_->Stop(); }

 private:
  std::shared_ptr<Site> site_;
  std::unique_ptr<HttpServer> http_;
};

}  // namespace

long RaiseFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
  if (limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
  }
  return limit.rlim_cur == RLIM_INFINITY ? 1L << 20 : static_cast<long>(limit.rlim_cur);
}

std::unique_ptr<SiteServer> MakeSiteServer(Store& store, const SiteOptions& options) {
  return std::make_unique<Server>(store, options);
}

}  // namespace site
