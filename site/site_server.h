// The site's routes on an event-driven libmicrohttpd server:
//   GET  /                               home page
//   GET  /cgi-bin/ranking/rdiv.cgi?Z...  a submission: the result and a name form
//   POST /cgi-bin/ranking/rdiv.cgi       registers it (form fields z, name, t)
//   GET  /ranking?period=&page=&me=      the rankings, pages of 50
//   GET  /api/ranking?...                the same as JSON
//   GET  /healthz                        "ok" when the store answers, 503 when not
// Only POST changes data; every refusal is a Japanese page with a 4xx status.
//
// A few event threads read and write every connection; the store's work runs on a
// separate pool of workers while its connection waits, suspended. Every connection
// is bounded in memory (request line and headers), in time (to send its request,
// and idle), and in number per client address.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "site/client_address.h"
#include "site/store.h"

namespace site {

struct SiteOptions {
  int registrationsPerMinute = 10;  // per client address
  TrustedProxies trustedProxies;    // whose X-Forwarded-For is believed
  std::string filesDir;             // served under /files/: screenshots/*.png, the game
  int64_t clockShift = 0;           // seconds added to the clock (--pretend-time)
  int threads = 8;                  // workers for the store's work
  int connectionsPerAddress = 64;   // 0: no limit; trusted proxies are never limited
  std::string accessLog = "-";      // a file, "-" for standard error, "" for none
  std::string formSecret;           // keys the form tokens; empty: a random one per process
};

// Limits that keep one client from tying up the server.
constexpr size_t kMaxRequestBody = 4096;         // larger: 413
constexpr size_t kConnectionMemory = 16 * 1024;  // request line and headers beyond it: 431
constexpr int kIdleSeconds = 5;                  // a silent connection, keep-alive included, is closed
constexpr int kRequestSeconds = 10;              // to send a whole request, else closed
constexpr int kStopSeconds = 5;                  // SIGTERM: in-flight requests finish within this

class SiteServer {
 public:
  virtual ~SiteServer() = default;
  // Listens on host:port (port 0: any free one) and serves from other threads;
  // returns the port, or -1 when it cannot listen.
  virtual int Start(const std::string& host, int port) = 0;
  // Stops accepting, lets the requests in flight finish (at most kStopSeconds),
  // then closes every connection.
  virtual void Stop() = 0;
};

std::unique_ptr<SiteServer> MakeSiteServer(Store& store, const SiteOptions& options);

// Raises the open-file limit to its hard maximum, for many connections; returns it.
long RaiseFileLimit();

}  // namespace site
