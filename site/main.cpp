// rodeo-site: the game's ranking web site.
//
//   rodeo-site [--listen ADDRESS:PORT] [--db sqlite:PATH | --db postgresql://...]
//              [--threads N] [--registrations-per-minute N] [--trusted-proxy ADDRESS[/BITS]]...
//              [--files DIR] [--pretend-time UNIX_SECONDS]
//              [--access-log FILE|-] [--form-secret-file FILE] [--connections-per-address N]
//
// Port 0 picks a free port; the first line on standard output says where it listens.
// The operator's subcommands (backup, moderation) are in site/operator_commands.h.
#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>

#include "site/operator_commands.h"
#include "site/site_server.h"
#include "site/store.h"

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage: rodeo-site [--listen ADDRESS:PORT] [--db sqlite:PATH | --db postgresql://...]\n"
               "                  [--threads N] [--registrations-per-minute N] [--trusted-proxy ADDRESS[/BITS]]...\n"
               "                  [--files DIR] [--pretend-time UNIX_SECONDS]\n"
               "                  [--access-log FILE|-] [--form-secret-file FILE] [--connections-per-address N]\n");
  site::PrintOperatorUsage();
  std::exit(2);
}

bool ParseInt(const char* text, long long min, long long max, long long* out) {
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text, &end, 10);
  if (errno || end == text || *end || v < min || v > max) return false;
  *out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && site::IsOperatorCommand(argv[1])) return site::RunOperatorCommand(argc - 1, argv + 1);
  std::string listen = "127.0.0.1:8080";
  std::string db = "sqlite:rodeo-site.db";
  site::SiteOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) Usage();
      return argv[++i];
    };
    long long n = 0;
    if (arg == "--listen") {
      listen = value();
    } else if (arg == "--db") {
      db = value();
    } else if (arg == "--threads") {
      if (!ParseInt(value(), 1, 256, &n)) Usage();
      options.threads = static_cast<int>(n);
    } else if (arg == "--registrations-per-minute") {
      if (!ParseInt(value(), 1, 1000000, &n)) Usage();
      options.registrationsPerMinute = static_cast<int>(n);
    } else if (arg == "--trusted-proxy") {
      if (!options.trustedProxies.Add(value())) Usage();
    } else if (arg == "--trust-proxy") {
      // A proxy on this machine.
      options.trustedProxies.Add("127.0.0.1");
      options.trustedProxies.Add("::1");
    } else if (arg == "--files") {
      options.filesDir = value();
    } else if (arg == "--access-log") {
      options.accessLog = value();  // "-": standard error, the default
    } else if (arg == "--form-secret-file") {
      // Several processes behind one proxy share the secret, so each accepts the others' forms.
      std::ifstream file(value(), std::ios::binary);
      options.formSecret.assign(std::istreambuf_iterator<char>(file), {});
      if (!file.good() && !file.eof()) Usage();
      if (options.formSecret.size() < 16) {
        std::fprintf(stderr, "rodeo-site: the form secret file needs at least 16 bytes\n");
        return 2;
      }
    } else if (arg == "--connections-per-address") {
      if (!ParseInt(value(), 0, 100000, &n)) Usage();
      options.connectionsPerAddress = static_cast<int>(n);
    } else if (arg == "--pretend-time") {
      // For trying the weekly and daily rankings: the clock starts at this time and runs on.
      if (!ParseInt(value(), 0, 1LL << 40, &n)) Usage();
      options.clockShift = n - static_cast<long long>(std::time(nullptr));
    } else {
      Usage();
    }
  }
  size_t colon = listen.rfind(':');
  long long port = 0;
  if (colon == std::string::npos || !ParseInt(listen.c_str() + colon + 1, 0, 65535, &port)) Usage();
  std::string host = listen.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  if (!site::IsDatabaseUrl(db)) Usage();

  // Stop cleanly on SIGINT and SIGTERM: one thread waits for them, the rest never see them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  try {
    site::Store store(db);
    auto server = site::MakeSiteServer(store, options);
    const int bound = server->Start(host, static_cast<int>(port));
    if (bound < 0) {
      std::fprintf(stderr, "rodeo-site: cannot listen on %s\n", listen.c_str());
      return 1;
    }
    std::printf("rodeo-site: listening on http://%s:%d/ with %s\n", host.c_str(), bound,
                db.rfind("sqlite:", 0) == 0 ? db.c_str() : "PostgreSQL");
    std::fflush(stdout);
    int sig = 0;
    sigwait(&stopSignals, &sig);
    // Stop accepting, let what is in flight finish, then leave with success.
    server->Stop();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rodeo-site: %s\n", e.what());
    return 1;
  }
  return 0;
}
