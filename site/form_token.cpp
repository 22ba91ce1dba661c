#include "site/form_token.h"

#include <nettle/hmac.h>
#include <nettle/memops.h>
#include <sys/random.h>

#include <stdexcept>

namespace site {
namespace {

std::string Hex(const uint8_t* data, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < size; ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

}  // namespace

FormTokens::FormTokens(std::string secret) : secret_(std::move(secret)) {
  if (secret_.empty()) {
    uint8_t random[32];
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
      throw std::runtime_error("no random bytes for the form secret");
    secret_.assign(reinterpret_cast<const char*>(random), sizeof random);
  }
}

std::string FormTokens::Mac(int64_t issued, const std::string& payload) const {
  hmac_sha256_ctx ctx;
  hmac_sha256_set_key(&ctx, secret_.size(), reinterpret_cast<const uint8_t*>(secret_.data()));
  const std::string message = "register." + std::to_string(issued) + "." + payload;
  hmac_sha256_update(&ctx, message.size(), reinterpret_cast<const uint8_t*>(message.data()));
  uint8_t digest[SHA256_DIGEST_SIZE];
  hmac_sha256_digest(&ctx, sizeof digest, digest);
  return Hex(digest, sizeof digest);
}

std::string FormTokens::Issue(const std::string& payload, int64_t now) const {
  return std::to_string(now) + "." + Mac(now, payload);
}

bool FormTokens::Check(const std::string& token, const std::string& payload, int64_t now) const {
  const size_t dot = token.find('.');
  if (dot == std::string::npos || dot == 0 || dot > 12) return false;
  int64_t issued = 0;
  for (size_t i = 0; i < dot; ++i) {
    if (token[i] < '0' || token[i] > '9') return false;
    issued = issued * 10 + (token[i] - '0');
  }
  if (issued > now + 60 || now - issued > kLifetimeSeconds) return false;
  const std::string expected = Mac(issued, payload);
  const std::string given = token.substr(dot + 1);
  return given.size() == expected.size() &&
         memeql_sec(given.data(), expected.data(), expected.size());
}

}  // namespace site
