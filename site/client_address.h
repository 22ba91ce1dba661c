// Whose request it is, when proxies stand in front of the site. Each proxy appends
// the address it was reached from to X-Forwarded-For; anything left of that is the
// client's say and may be forged. So the header is believed only from configured
// proxies, and read from the right: the first address that is not one of them is
// the client.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace site {

class TrustedProxies {
 public:
  // "127.0.0.1", "::1", "10.0.0.0/8", "fd00::/8"; false when it is not one.
  bool Add(const std::string& entry);
  bool Contains(const std::string& address) const;
  bool empty() const { return ranges_.empty(); }

  // The client's address for a request from `peer` carrying `forwardedFor`
  // (the X-Forwarded-For header, empty when absent).
  std::string ClientAddress(const std::string& peer, const std::string& forwardedFor) const;

 private:
  struct Range {
    std::array<uint8_t, 16> address;  // IPv4 as IPv4-mapped IPv6
    int bits;                         // of the 128
  };
  std::vector<Range> ranges_;
};

}  // namespace site
