// A bounded load of GET requests on one running site over loopback: C keep-alive
// connections, each cycling through the given paths, for S seconds. Plain sockets,
// so it measures any server the same way. Prints: requests errors req/s p50 p99 (ms).
//
//   page_load PORT SECONDS CONNECTIONS PATH...
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int Connect(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  timeval tv{10, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// One request on a kept-alive connection; the status, or -1 when the connection failed.
int Get(int fd, const std::string& path, std::string& buffer) {
  const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) return -1;
  buffer.clear();
  size_t headerEnd = std::string::npos, length = 0;
  char chunk[65536];
  for (;;) {
    if (headerEnd == std::string::npos) {
      headerEnd = buffer.find("\r\n\r\n");
      if (headerEnd != std::string::npos) {
        std::string head = buffer.substr(0, headerEnd);
        for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        size_t cl = head.find("content-length:");
        if (cl == std::string::npos) return -1;
        length = std::strtoul(head.c_str() + cl + 15, nullptr, 10);
      }
    }
    if (headerEnd != std::string::npos && buffer.size() >= headerEnd + 4 + length) break;
    ssize_t got = recv(fd, chunk, sizeof chunk, 0);
    if (got <= 0) return -1;
    buffer.append(chunk, static_cast<size_t>(got));
  }
  return std::atoi(buffer.c_str() + 9);  // "HTTP/1.1 200"
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: page_load PORT SECONDS CONNECTIONS PATH...\n");
    return 2;
  }
  const int port = std::atoi(argv[1]);
  const auto deadline = Clock::now() + std::chrono::seconds(std::atoi(argv[2]));
  const int connections = std::atoi(argv[3]);
  std::vector<std::string> paths(argv + 4, argv + argc);
  std::atomic<long> errors{0};
  std::vector<std::vector<double>> latencies(connections);
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (int c = 0; c < connections; ++c) {
    threads.emplace_back([&, c] {
      std::string buffer;
      int fd = Connect(port);
      for (size_t i = c; Clock::now() < deadline; ++i) {
        const auto t0 = Clock::now();
        const std::string& path = paths[i % paths.size()];
        int status = fd < 0 ? -1 : Get(fd, path, buffer);
        if (status == -1) {  // the server may close a kept-alive connection: once more on a new one
          if (fd >= 0) close(fd);
          fd = Connect(port);
          status = fd < 0 ? -1 : Get(fd, path, buffer);
        }
        if (status != 200) {
          ++errors;
          if (fd >= 0) close(fd);
          fd = Connect(port);
          if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
          continue;
        }
        latencies[c].push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
      }
      if (fd >= 0) close(fd);
    });
  }
  for (auto& t : threads) t.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::vector<double> all;
  for (auto& l : latencies) all.insert(all.end(), l.begin(), l.end());
  std::sort(all.begin(), all.end());
  auto quantile = [&](double q) { return all.empty() ? 0.0 : all[static_cast<size_t>(q * (all.size() - 1))]; };
  std::printf("%zu %ld %.1f %.2f %.2f\n", all.size(), errors.load(), all.size() / seconds, quantile(0.5),
              quantile(0.99));
  return 0;
}
