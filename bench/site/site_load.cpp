// A bounded load on one running rodeo-site over loopback: C connections, each
// sending requests one after another until N requests in all or S seconds have
// gone by. Prints requests per second and the latency quantiles.
//
//   site_load PORT page|submission|register N C S
//
// page:       GET /ranking?period=all&page=k, k cycling over the first pages
// submission: GET the ranking address the game opens (ranks in three periods)
// register:   the submission's page and its form posted; every one a new installation
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "records/ranking_block.h"
#include "records/record_codec.h"
#include "site/submission.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string Query(uint32_t ms, uint32_t installation) {
  RankingEntry e{};
  e.code = site::kGameCode;
  e.scoreMs = ms;
  e.scoreText = site::GameScoreText(ms);
  e.stamp[0] = installation;
  e.stamp[1] = 1765000000;
  std::vector<uint8_t> block = BuildRankingBlock(e);
  return "Z" + EncodeRecord(block.data(), block.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: site_load PORT page|submission|register N C S\n");
    return 2;
  }
  const int port = std::atoi(argv[1]);
  const std::string mode = argv[2];
  const long total = std::atol(argv[3]);
  const int connections = std::atoi(argv[4]);
  const auto deadline = Clock::now() + std::chrono::seconds(std::atoi(argv[5]));

  std::atomic<long> next{0}, errors{0};
  std::vector<std::vector<double>> latencies(connections);
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (int c = 0; c < connections; ++c) {
    threads.emplace_back([&, c] {
      httplib::Client client("127.0.0.1", port);
      client.set_keep_alive(true);
      client.set_tcp_nodelay(true);
      for (long i; (i = next++) < total && Clock::now() < deadline;) {
        const auto t0 = Clock::now();
        const uint32_t ms = 1000 + static_cast<uint32_t>((i * 7919) % 900000);
        httplib::Result res = [&] {
          if (mode == "page") return client.Get("/ranking?period=all&page=" + std::to_string(1 + i % 10));
          if (mode == "submission")
            return client.Get("/cgi-bin/ranking/rdiv.cgi?" + Query(ms, static_cast<uint32_t>(i)));
          // As a player does: the submission's page, then its form with the page's token.
          const std::string q = Query(ms, 0x40000000u + static_cast<uint32_t>(i));
          std::string token;
          if (auto page = client.Get("/cgi-bin/ranking/rdiv.cgi?" + q)) {
            const std::string field = "name=\"t\" value=\"";
            size_t at = page->body.find(field);
            if (at != std::string::npos) {
              at += field.size();
              token = page->body.substr(at, page->body.find('"', at) - at);
            }
          }
          httplib::Params form{{"z", q}, {"name", "ロードテスト"}, {"t", token}};
          return client.Post("/cgi-bin/ranking/rdiv.cgi", form);
        }();
        const int want = mode == "register" ? 303 : 200;
        if (!res || res->status != want) ++errors;
        latencies[c].push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
      }
    });
  }
  for (auto& t : threads) t.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::vector<double> all;
  for (auto& l : latencies) all.insert(all.end(), l.begin(), l.end());
  std::sort(all.begin(), all.end());
  auto quantile = [&](double q) { return all.empty() ? 0.0 : all[static_cast<size_t>(q * (all.size() - 1))]; };
  std::printf("%s %zu %ld %.1f %.2f %.2f\n", mode.c_str(), all.size(), errors.load(), all.size() / seconds,
              quantile(0.50), quantile(0.99));
  return 0;
}
