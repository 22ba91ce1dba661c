// The site's routes on a cpp-httplib server:
//   GET  /                               home page
//   GET  /cgi-bin/ranking/rdiv.cgi?Z...  a submission: the result and a name form
//   POST /cgi-bin/ranking/rdiv.cgi       registers it (form fields z, name)
//   GET  /ranking?period=&page=&me=      the rankings, pages of 50
//   GET  /api/ranking?...                the same as JSON
// Only POST changes data; every refusal is a Japanese page with a 4xx status.
#pragma once

#include <httplib.h>

#include <cstdint>
#include <memory>
#include <string>

#include "site/client_address.h"
#include "site/store.h"

namespace site {

struct SiteOptions {
  int registrationsPerMinute = 10;  // per client address
  TrustedProxies trustedProxies;    // whose X-Forwarded-For is believed
  std::string filesDir;             // served under /files/: screenshots/*.png, rodeo.exe
  int64_t clockShift = 0;           // seconds added to the clock (--pretend-time)
  int threads = 8;
};

// Limits that keep one client from tying up the server.
constexpr size_t kMaxRequestBody = 4096;
constexpr time_t kReadTimeoutSeconds = 5;
constexpr time_t kWriteTimeoutSeconds = 5;

std::unique_ptr<httplib::Server> MakeSiteServer(Store& store, const SiteOptions& options);

}  // namespace site
