#include "site/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace site {
namespace {

using Clock = std::chrono::steady_clock;

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

// One request on a connection, from its request line to the last byte of the answer.
struct Exchange {
  HttpRequest request;
  HttpResponse response;
  Clock::time_point start = Clock::now();
  Clock::time_point queued;  // when handed to the workers
  bool seen = false;        // the handler has had the headers
  bool dispatched = false;  // handed to a worker
  bool ready = false;       // the worker's answer is in `response`
  bool counted = false;     // counted as in flight
  int status = 0;           // what was sent, for the log
  size_t bytes = 0;
};

// One client connection; `receiving` while it owes the server a request.
struct Connection {
  int fd = -1;
  std::string peer;  // counted against its address's limit, when not empty
  std::atomic<bool> receiving{true};
  std::atomic<int64_t> sinceMs{NowMs()};
  std::unique_ptr<Exchange> current;
};

std::string AddressText(const sockaddr* sa) {
  char text[INET6_ADDRSTRLEN] = "";
  if (!sa) return text;
  if (sa->sa_family == AF_INET)
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, text, sizeof text);
  else if (sa->sa_family == AF_INET6)
    inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(sa)->sin6_addr, text, sizeof text);
  return text;
}

std::string PeerAddress(MHD_Connection* c) {
  const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  return AddressText(info ? info->client_addr : nullptr);
}

// Bytes that do not belong in a log line are written %XX.
std::string LogSafe(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c <= 0x20 || c >= 0x7f || c == '"' || c == '%') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out.empty() ? "-" : out;
}

}  // namespace

std::string HttpRequest::Header(const std::string& name) const {
  for (const auto& [key, value] : headers)
    if (SameName(key, name)) return value;
  return "";
}

bool HttpRequest::HasHeader(const std::string& name) const {
  for (const auto& header : headers)
    if (SameName(header.first, name)) return true;
  return false;
}

struct HttpServer::Impl {
  HttpLimits limits;
  Callbacks callbacks;
  FILE* log = nullptr;
  bool ownLog = false;
  std::mutex logMutex;

  MHD_Daemon* daemon = nullptr;
  int listenFd = -1;

  std::mutex connectionsMutex;
  std::unordered_set<Connection*> connections;
  std::unordered_map<std::string, int> perAddress;  // open connections by limited address

  // Counted when accepted, so that connections accepted at once by several event
  // threads cannot slip past the limit; uncounted when closed. (libmicrohttpd's own
  // per-address limit cannot spare a trusted proxy.) A connection that libmicrohttpd
  // fails to set up after accepting it, out of memory, is never uncounted.
  MHD_Result Admit(const sockaddr* sa) {
    if (limits.perAddress <= 0) return MHD_YES;
    const std::string address = AddressText(sa);
    if (limits.unlimitedAddress && limits.unlimitedAddress(address)) return MHD_YES;
    std::lock_guard<std::mutex> lock(connectionsMutex);
    int& open = perAddress[address];
    if (open >= limits.perAddress) return MHD_NO;
    ++open;
    return MHD_YES;
  }

  // Called with connectionsMutex held.
  void Uncount(const std::string& address) {
    auto found = perAddress.find(address);
    if (found != perAddress.end() && --found->second <= 0) perAddress.erase(found);
  }
  std::atomic<int> inFlight{0};
  std::atomic<bool> stopping{false};

  struct Job {
    MHD_Connection* connection;
    Exchange* exchange;
  };
  std::mutex jobsMutex;
  std::condition_variable jobsReady;
  std::deque<Job> jobs;
  std::vector<std::thread> workers;

  std::thread reaper;
  std::mutex reaperMutex;
  std::condition_variable reaperWake;
  bool reaperStop = false;

  // --- the access log
  void Log(const Exchange& x) {
    if (!log || x.status == 0) return;
    char when[32];
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", &tm);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - x.start).count();
    const std::string address = callbacks.clientAddress ? callbacks.clientAddress(x.request) : x.request.peer;
    const std::string target = callbacks.loggedTarget ? callbacks.loggedTarget(x.request) : x.request.target;
    std::lock_guard<std::mutex> lock(logMutex);
    std::fprintf(log, "%s %s %s %s %d %zu %.1fms\n", when, LogSafe(address).c_str(),
                 LogSafe(x.request.method).c_str(), LogSafe(target).c_str(), x.status, x.bytes, ms);
    std::fflush(log);
  }

  // --- answering
  MHD_Result Queue(MHD_Connection* c, Exchange* x) {
    HttpResponse& r = x->response;
    MHD_Response* response = nullptr;
    size_t bytes = r.body.size();
    if (!r.file.empty()) {
      int fd = open(r.file.c_str(), O_RDONLY | O_CLOEXEC);
      struct stat st {};
      if (fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        response = MHD_create_response_from_fd(static_cast<size_t>(st.st_size), fd);  // owns fd
        bytes = static_cast<size_t>(st.st_size);
      } else {
        if (fd >= 0) close(fd);
        r = HttpResponse{};
        callbacks.refuse(404, r);
        bytes = r.body.size();
      }
    }
    if (!response)
      response = MHD_create_response_from_buffer(r.body.size(), r.body.data(), MHD_RESPMEM_MUST_COPY);
    if (!response) return MHD_NO;
    for (const auto& [name, value] : callbacks.defaultHeaders)
      MHD_add_response_header(response, name.c_str(), value.c_str());
    if (!r.contentType.empty()) MHD_add_response_header(response, "Content-Type", r.contentType.c_str());
    for (const auto& [name, value] : r.headers) MHD_add_response_header(response, name.c_str(), value.c_str());
    if (stopping) MHD_add_response_header(response, "Connection", "close");
    MHD_Result result = MHD_queue_response(c, static_cast<unsigned>(r.status), response);
    MHD_destroy_response(response);
    x->status = r.status;
    x->bytes = x->request.method == "HEAD" ? 0 : bytes;
    return result;
  }

  MHD_Result Refuse(MHD_Connection* c, Exchange* x, int status) {
    x->response = HttpResponse{};
    callbacks.refuse(status, x->response);
    return Queue(c, x);
  }

  void Run(Exchange* x) {
    try {
      callbacks.handle(x->request, x->response);
    } catch (...) {
      x->response = HttpResponse{};
      callbacks.refuse(503, x->response);
    }
  }

  MHD_Result Access(MHD_Connection* c, const char* url, const char* method, const char* upload, size_t* size,
                    void** context) {
    auto* x = static_cast<Exchange*>(*context);
    if (!x) return MHD_NO;
    if (!x->seen) {
      x->seen = true;
      x->counted = true;
      ++inFlight;
      HttpRequest& q = x->request;
      q.method = method;
      q.path = url;
      q.peer = PeerAddress(c);
      MHD_get_connection_values(
          c, MHD_HEADER_KIND,
          [](void* cls, MHD_ValueKind, const char* key, const char* value) -> MHD_Result {
            static_cast<HttpRequest*>(cls)->headers.emplace_back(key, value ? value : "");
            return MHD_YES;
          },
          &q);
      const std::string length = q.Header("Content-Length");
      if (!length.empty() && (length.size() > 12 || std::strtoull(length.c_str(), nullptr, 10) > limits.maxBody))
        return Refuse(c, x, 413);
      return MHD_YES;
    }
    if (*size) {
      if (x->request.body.size() + *size > limits.maxBody) return MHD_NO;  // a chunked flood: closed
      x->request.body.append(upload, *size);
      *size = 0;
      return MHD_YES;
    }
    if (x->ready) return Queue(c, x);
    if (x->dispatched) return MHD_YES;
    if (auto* conn = ConnectionOf(c)) conn->receiving = false;
    if (!callbacks.needsWorker(x->request)) {
      Run(x);
      return Queue(c, x);
    }
    {
      std::lock_guard<std::mutex> lock(jobsMutex);
      // Full, or no workers any more (stopping): answered at once, never parked.
      if (workersStop || jobs.size() >= limits.maxQueued) return Refuse(c, x, 503);
      x->dispatched = true;
      x->queued = Clock::now();
      MHD_suspend_connection(c);
      jobs.push_back({c, x});
    }
    jobsReady.notify_one();
    return MHD_YES;
  }

  void Work() {
    for (;;) {
      Job job;
      {
        std::unique_lock<std::mutex> lock(jobsMutex);
        jobsReady.wait(lock, [&] { return !jobs.empty() || workersStop; });
        if (jobs.empty()) return;
        job = jobs.front();
        jobs.pop_front();
      }
      Exchange* x = job.exchange;
      if (Clock::now() - x->queued > limits.maxQueueWait) {
        x->response = HttpResponse{};
        callbacks.refuse(503, x->response);
      } else {
        Run(x);
      }
      x->ready = true;
      MHD_resume_connection(job.connection);
    }
  }
  bool workersStop = false;

  static Connection* ConnectionOf(MHD_Connection* c) {
    const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info ? static_cast<Connection*>(info->socket_context) : nullptr;
  }

  // Closes the connections that have taken too long to send their request. Their
  // socket is shut down; the event thread then sees it end and frees it.
  void Reap() {
    std::unique_lock<std::mutex> wait(reaperMutex);
    while (!reaperWake.wait_for(wait, std::chrono::milliseconds(500), [&] { return reaperStop; })) {
      const int64_t limit = NowMs() - int64_t{limits.requestSeconds} * 1000;
      std::lock_guard<std::mutex> lock(connectionsMutex);
      for (Connection* conn : connections)
        if (conn->receiving && conn->sinceMs < limit) shutdown(conn->fd, SHUT_RDWR);
    }
  }
};

namespace {

void* StartRequest(void* cls, const char* uri, MHD_Connection* c) {
  auto* conn = HttpServer::Impl::ConnectionOf(c);
  if (!conn) return nullptr;
  conn->current = std::make_unique<Exchange>();
  std::string target = uri ? uri : "";
  size_t q = target.find('?');
  conn->current->request.target = target;
  conn->current->request.query = q == std::string::npos ? "" : target.substr(q + 1);
  (void)cls;
  return conn->current.get();
}

void Completed(void* cls, MHD_Connection* c, void** context, MHD_RequestTerminationCode) {
  auto* impl = static_cast<HttpServer::Impl*>(cls);
  auto* x = static_cast<Exchange*>(*context);
  auto* conn = HttpServer::Impl::ConnectionOf(c);
  if (x) {
    impl->Log(*x);
    if (x->counted) --impl->inFlight;
    if (conn && conn->current.get() == x) conn->current.reset();
    *context = nullptr;
  }
  if (conn) {
    conn->sinceMs = NowMs();
    conn->receiving = true;
  }
}

void ConnectionEvent(void* cls, MHD_Connection* c, void** socketContext, MHD_ConnectionNotificationCode code) {
  auto* impl = static_cast<HttpServer::Impl*>(cls);
  if (code == MHD_CONNECTION_NOTIFY_STARTED) {
    auto* conn = new Connection;
    const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CONNECTION_FD);
    conn->fd = info ? info->connect_fd : -1;
    if (impl->limits.perAddress > 0) {
      conn->peer = PeerAddress(c);
      if (impl->limits.unlimitedAddress && impl->limits.unlimitedAddress(conn->peer)) conn->peer.clear();
    }
    *socketContext = conn;
    std::lock_guard<std::mutex> lock(impl->connectionsMutex);
    impl->connections.insert(conn);
  } else if (auto* conn = static_cast<Connection*>(*socketContext)) {
    {
      std::lock_guard<std::mutex> lock(impl->connectionsMutex);
      impl->connections.erase(conn);
      if (!conn->peer.empty()) impl->Uncount(conn->peer);
    }
    if (conn->current && conn->current->counted) --impl->inFlight;
    delete conn;
    *socketContext = nullptr;
  }
}

MHD_Result AdmitConnection(void* cls, const sockaddr* addr, socklen_t) {
  return static_cast<HttpServer::Impl*>(cls)->Admit(addr);
}

MHD_Result AccessHandler(void* cls, MHD_Connection* c, const char* url, const char* method, const char*,
                         const char* upload, size_t* size, void** context) {
  return static_cast<HttpServer::Impl*>(cls)->Access(c, url, method, upload, size, context);
}

int ListenOn(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found) != 0) return -1;
  int fd = -1;
  for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
    if (fd < 0) continue;
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (bind(fd, a->ai_addr, a->ai_addrlen) != 0 || listen(fd, 1024) != 0) {
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  return fd;
}

int BoundPort(int fd) {
  sockaddr_storage addr{};
  socklen_t len = sizeof addr;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return -1;
  if (addr.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
  return ntohs(reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port);
}

}  // namespace

HttpServer::HttpServer(HttpLimits limits, Callbacks callbacks, const std::string& accessLog)
    : impl_(std::make_unique<Impl>()) {
  impl_->limits = limits;
  impl_->callbacks = std::move(callbacks);
  if (accessLog == "-") {
    impl_->log = stderr;
  } else if (!accessLog.empty()) {
    impl_->log = std::fopen(accessLog.c_str(), "ae");
    if (!impl_->log) throw std::runtime_error("cannot open the access log " + accessLog);
    impl_->ownLog = true;
  }
}

HttpServer::~HttpServer() {
  Stop();
  if (impl_->ownLog) std::fclose(impl_->log);
}

int HttpServer::Start(const std::string& host, int port) {
  Impl& s = *impl_;
  s.listenFd = ListenOn(host, port);
  if (s.listenFd < 0) return -1;
  const int bound = BoundPort(s.listenFd);
  for (int i = 0; i < std::max(1, s.limits.workers); ++i) s.workers.emplace_back([&s] { s.Work(); });
  s.reaper = std::thread([&s] { s.Reap(); });
  // One epoll event thread, no pool: it only moves bytes (the store's work is on the
  // workers), and libmicrohttpd 0.9.75 stops accepting safely only then: with a pool
  // its MHD_quiesce_daemon races each pool thread for the listening socket's removal
  // from that thread's epoll set and aborts the process when it loses.
  s.daemon = MHD_start_daemon(
      MHD_USE_EPOLL_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME | MHD_USE_TURBO, 0, &AdmitConnection, &s,
      &AccessHandler, &s,
      MHD_OPTION_LISTEN_SOCKET, static_cast<MHD_socket>(s.listenFd),
      MHD_OPTION_CONNECTION_LIMIT, s.limits.maxConnections,
      MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(s.limits.idleSeconds),
      MHD_OPTION_CONNECTION_MEMORY_LIMIT, s.limits.connectionMemory,
      MHD_OPTION_URI_LOG_CALLBACK, &StartRequest, &s,
      MHD_OPTION_NOTIFY_COMPLETED, &Completed, &s,
      MHD_OPTION_NOTIFY_CONNECTION, &ConnectionEvent, &s,
      MHD_OPTION_END);
  if (!s.daemon) {
    close(s.listenFd);
    s.listenFd = -1;
    Stop();
    return -1;
  }
  return bound;
}

void HttpServer::Stop() {
  Impl& s = *impl_;
  if (s.stopping.exchange(true)) return;
  const auto deadline = Clock::now() + std::chrono::seconds(s.limits.stopSeconds) - std::chrono::milliseconds(500);
  if (s.daemon) {
    MHD_socket fd = MHD_quiesce_daemon(s.daemon);  // no new connections from here on
    if (fd != MHD_INVALID_SOCKET) close(fd);
  }
  // Requests in flight get until the deadline; their answers close the connection.
  while (s.daemon && s.inFlight > 0 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // The workers finish what they hold and what waits for them, then end.
  {
    std::lock_guard<std::mutex> lock(s.jobsMutex);
    s.workersStop = true;
  }
  s.jobsReady.notify_all();
  for (std::thread& t : s.workers) t.join();
  s.workers.clear();
  if (s.daemon) MHD_stop_daemon(s.daemon);
  s.daemon = nullptr;
  {
    std::lock_guard<std::mutex> lock(s.reaperMutex);
    s.reaperStop = true;
  }
  s.reaperWake.notify_all();
  if (s.reaper.joinable()) s.reaper.join();
}

}  // namespace site
