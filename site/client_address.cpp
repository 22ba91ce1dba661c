#include "site/client_address.h"

#include <arpa/inet.h>

#include <cstring>
#include <optional>

namespace site {
namespace {

using Address = std::array<uint8_t, 16>;

// Either family, IPv4 written as IPv4-mapped IPv6 so that "::ffff:127.0.0.1" is 127.0.0.1.
std::optional<Address> ParseAddress(const std::string& text, bool* v4) {
  Address a{};
  in_addr four;
  if (inet_pton(AF_INET, text.c_str(), &four) == 1) {
    a[10] = a[11] = 0xff;
    std::memcpy(a.data() + 12, &four, 4);
    *v4 = true;
    return a;
  }
  *v4 = false;
  if (inet_pton(AF_INET6, text.c_str(), a.data()) == 1) return a;
  return std::nullopt;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

}  // namespace

bool TrustedProxies::Add(const std::string& entry) {
  size_t slash = entry.find('/');
  bool v4 = false;
  auto address = ParseAddress(entry.substr(0, slash), &v4);
  if (!address) return false;
  int bits = v4 ? 32 : 128;
  if (slash != std::string::npos) {
    const std::string n = entry.substr(slash + 1);
    if (n.empty() || n.size() > 3 || n.find_first_not_of("0123456789") != std::string::npos) return false;
    int given = std::stoi(n);
    if (given > bits) return false;
    bits = given;
  }
  ranges_.push_back(Range{*address, v4 ? 96 + bits : bits});
  return true;
}

bool TrustedProxies::Contains(const std::string& text) const {
  bool v4 = false;
  auto address = ParseAddress(text, &v4);
  if (!address) return false;
  for (const Range& r : ranges_) {
    int bits = r.bits, i = 0;
    for (; bits >= 8; bits -= 8, ++i)
      if ((*address)[i] != r.address[i]) break;
    if (bits >= 8) continue;
    const uint8_t mask = static_cast<uint8_t>(0xff00 >> bits);
    if (bits == 0 || ((*address)[i] & mask) == (r.address[i] & mask)) return true;
  }
  return false;
}

std::string TrustedProxies::ClientAddress(const std::string& peer, const std::string& forwardedFor) const {
  if (!Contains(peer)) return peer;
  // From the right: each trusted hop vouches for the address before it.
  std::string client = peer;
  size_t end = forwardedFor.size();
  while (end != std::string::npos && end > 0) {
    size_t comma = forwardedFor.rfind(',', end - 1);
    const size_t begin = comma == std::string::npos ? 0 : comma + 1;
    const std::string hop = Trim(forwardedFor.substr(begin, end - begin));
    bool v4 = false;
    if (!ParseAddress(hop, &v4)) return client;  // not written by a proxy: the last hop's word stands
    client = hop;
    if (!Contains(hop)) return client;
    end = comma;
  }
  return client;
}

}  // namespace site
