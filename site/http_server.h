// HTTP/1.1 for the site on libmicrohttpd: epoll event threads that only read and
// write, a pool of workers for requests that need the store (their connection is
// suspended meanwhile), bounded connections, and an access log.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace site {

struct HttpRequest {
  std::string method;  // "GET", "HEAD", "POST", ...
  std::string path;    // percent-decoded, without the query
  std::string query;   // raw, after '?'
  std::string target;  // raw, as in the request line
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  std::string peer;  // the socket's remote address

  // The first value of a header (names compare without case), or "".
  std::string Header(const std::string& name) const;
  bool HasHeader(const std::string& name) const;
};

struct HttpResponse {
  int status = 200;
  std::string contentType;
  std::string body;
  std::string file;  // when set, the response is this file's contents instead of body
  std::vector<std::pair<std::string, std::string>> headers;
};

struct HttpLimits {
  size_t maxBody = 4096;
  size_t connectionMemory = 16 * 1024;
  int idleSeconds = 5;
  int requestSeconds = 10;
  int stopSeconds = 5;
  int perAddress = 64;  // open connections per client address; 0: unlimited
  // Addresses the per-address limit does not apply to (a trusted proxy's).
  std::function<bool(const std::string& address)> unlimitedAddress;
  unsigned maxConnections = 10000;
  int workers = 8;
  size_t maxQueued = 1024;  // requests waiting for a worker; more: 503
  std::chrono::milliseconds maxQueueWait{1500};  // waited longer: 503 without touching the store
};

class HttpServer {
 public:
  struct Callbacks {
    // Answers a request; runs on a worker when needsWorker says so, else on an event thread.
    std::function<void(const HttpRequest&, HttpResponse&)> handle;
    std::function<bool(const HttpRequest&)> needsWorker;
    // A refusal made by the server itself: 413, 503.
    std::function<void(int status, HttpResponse&)> refuse;
    // For the access log: the client's address as the site trusts it, and the
    // target with anything private left out.
    std::function<std::string(const HttpRequest&)> clientAddress;
    std::function<std::string(const HttpRequest&)> loggedTarget;
    std::vector<std::pair<std::string, std::string>> defaultHeaders;
  };

  HttpServer(HttpLimits limits, Callbacks callbacks, const std::string& accessLog);
  ~HttpServer();
  int Start(const std::string& host, int port);  // the port, or -1
  void Stop();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace site
