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

constexpr char kIdeographicSpace[] = "\xE3\x80\x80";  // U+3000, typed with a Japanese input method

// The length of the space at text[at]: ASCII space, tab, or the ideographic space.
size_t SpaceAt(const std::string& text, size_t at) {
  if (text[at] == ' ' || text[at] == '\t') return 1;
  return text.compare(at, 3, kIdeographicSpace) == 0 ? 3 : 0;
}

// True when some character is in the private use area (U+E000..U+F8FF, and the
// planes 15 and 16): code page 932 maps its user-defined characters there, which
// show differently, or not at all, on every other computer.
bool HasPrivateUse(const std::string& utf8) {
  for (size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c == 0xEE || (c == 0xEF && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA4))
      return true;  // U+E000..U+EFFF, U+F000..U+F8FF
    if (c == 0xF3 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0xB0) return true;
    if (c == 0xF4 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0x90) return true;
  }
  return false;
}

}  // namespace

NameCheck CheckPlayerName(const std::string& utf8) {
  NameCheck check;
  if (utf8.empty()) {
    check.error = "名前を入力してください。";
    return check;
  }
  size_t begin = 0, end = utf8.size();
  while (begin < end && SpaceAt(utf8, begin)) begin += SpaceAt(utf8, begin);
  while (end > begin && (utf8[end - 1] == ' ' || utf8[end - 1] == '\t')) --end;
  while (end >= begin + 3 && utf8.compare(end - 3, 3, kIdeographicSpace) == 0) {
    end -= 3;
    while (end > begin && (utf8[end - 1] == ' ' || utf8[end - 1] == '\t')) --end;
  }
  std::string name = utf8.substr(begin, end - begin);
  if (name.empty()) {
    check.error = "空白だけの名前は使えません。";
    return check;
  }
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) {
      check.error = "名前に制御文字は使えません。";
      return check;
    }
  }
  if (HasPrivateUse(name)) {
    check.error = "名前に外字（私用領域の文字）は使えません。";
    return check;
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
