#include "site/player_name.h"

#include <iconv.h>

#include <cerrno>

namespace site {
namespace {

// The text in code page 932, or false when some character has no place there (or
// the UTF-8 is broken). No transliteration: what is stored is what was typed.
bool ToCp932(const std::string& utf8, std::string* out) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in = utf8;
  char buffer[256];
  char* src = in.data();
  size_t srcLeft = in.size();
  bool ok = true;
  out->clear();
  while (srcLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out->append(buffer, dst);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
    if (r != static_cast<size_t>(-1) && r > 0) {  // irreversible conversions count as failures
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  return ok;
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

}  // namespace

NameCheck CheckPlayerName(const std::string& utf8) {
  NameCheck check;
  size_t begin = 0, end = utf8.size();
  while (begin < end && IsSpace(utf8[begin])) ++begin;
  while (end > begin && IsSpace(utf8[end - 1])) --end;
  std::string name = utf8.substr(begin, end - begin);
  if (name.empty()) {
    check.error = "名前を入力してください。";
    return check;
  }
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) {
      check.error = "名前に制御文字は使えません。";
      return check;
    }
  }
  // A bound before converting: UTF-8 never takes fewer bytes than code page 932.
  const char* tooLong = "名前が長すぎます。半角16文字（全角8文字）までです。";
  if (name.size() > 4 * kMaxNameBytes) {
    check.error = tooLong;
    return check;
  }
  std::string cp932;
  if (!ToCp932(name, &cp932)) {
    check.error = "名前に使えない文字が含まれています。";
    return check;
  }
  if (cp932.size() > kMaxNameBytes) {
    check.error = tooLong;
    return check;
  }
  check.ok = true;
  check.name = name;
  return check;
}

}  // namespace site
