// The hidden field of the registration form: proof that a registration was typed
// into a form this site served, for this very submission, not long ago. It is the
// issue time and an HMAC-SHA256 of that time and the submission under the site's
// secret, so that another site's page cannot make a visitor's browser register.
#pragma once

#include <cstdint>
#include <string>

namespace site {

class FormTokens {
 public:
  static constexpr int64_t kLifetimeSeconds = 3 * 3600;

  // An empty secret picks a random one: tokens then hold for this process only.
  explicit FormTokens(std::string secret);

  std::string Issue(const std::string& payload, int64_t now) const;
  bool Check(const std::string& token, const std::string& payload, int64_t now) const;

 private:
  std::string Mac(int64_t issued, const std::string& payload) const;
  std::string secret_;
};

}  // namespace site
