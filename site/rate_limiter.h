// At most N registrations per client address in any 60 seconds. Kept in memory by
// each server process; with several processes each counts on its own, so the
// reverse proxy should limit too (see the README).
#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace site {

class RateLimiter {
 public:
  using Clock = std::chrono::steady_clock;
  explicit RateLimiter(int perMinute) : perMinute_(perMinute) {}

  // True, and counted, when the address may go on; false once it used its share.
  bool Allow(const std::string& address, Clock::time_point now = Clock::now());

 private:
  void Forget(Clock::time_point now);  // drops addresses with nothing in the window

  int perMinute_;
  std::mutex mutex_;
  std::unordered_map<std::string, std::deque<Clock::time_point>> recent_;
  Clock::time_point lastSweep_{};
};

}  // namespace site
