// The name a player registers with: the game's own rule, at most 16 bytes of code
// page 932 and nothing outside it, checked on the UTF-8 text the browser sends.
#pragma once

#include <string>

namespace site {

constexpr size_t kMaxNameBytes = 16;  // in code page 932

struct NameCheck {
  bool ok = false;
  std::string name;   // the accepted name, UTF-8, surrounding spaces removed
  std::string error;  // Japanese, for the player, when not ok
};

NameCheck CheckPlayerName(const std::string& utf8);

}  // namespace site
