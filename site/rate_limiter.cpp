#include "site/rate_limiter.h"

namespace site {
namespace {
constexpr auto kWindow = std::chrono::seconds(60);
}

bool RateLimiter::Allow(const std::string& address, Clock::time_point now) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (now - lastSweep_ > kWindow) Forget(now);
  auto& times = recent_[address];
  while (!times.empty() && now - times.front() >= kWindow) times.pop_front();
  if (static_cast<int>(times.size()) >= perMinute_) return false;
  times.push_back(now);
  return true;
}

void RateLimiter::Forget(Clock::time_point now) {
  for (auto it = recent_.begin(); it != recent_.end();) {
    if (it->second.empty() || now - it->second.back() >= kWindow)
      it = recent_.erase(it);
    else
      ++it;
  }
  lastSweep_ = now;
}

}  // namespace site
