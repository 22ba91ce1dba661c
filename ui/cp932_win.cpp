#include "ui/cp932_win.h"

#include <windows.h>

namespace {

constexpr UINT kCp932 = 932;

// One character (a code unit, or a surrogate pair) in code page 932: its bytes,
// or an empty string when it has none. Surrogates never have one.
std::string OneCharacter(const wchar_t* ch, int units) {
  if (units != 1 || (ch[0] >= 0xD800 && ch[0] <= 0xDFFF)) return std::string();
  char bytes[8];
  BOOL usedDefault = FALSE;
  // WC_NO_BEST_FIT_CHARS: no "nearest" look-alike either; only exact forms.
  int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, ch, 1, bytes, sizeof bytes, nullptr,
                              &usedDefault);
  if (n <= 0 || usedDefault) return std::string();
  // The round trip must give the character back (a best fit would not).
  wchar_t back[4];
  int m = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes, n, back, 4);
  if (m != 1 || back[0] != ch[0]) return std::string();
  return std::string(bytes, n);
}

// The bytes that make whole characters: a lead byte alone at the end is dropped.
size_t WholeCharacters(const std::string& bytes) {
  size_t at = 0;
  while (at < bytes.size()) {
    size_t step = IsDBCSLeadByteEx(kCp932, static_cast<BYTE>(bytes[at])) ? 2 : 1;
    if (step > bytes.size() - at) break;
    at += step;
  }
  return at;
}

}  // namespace

std::string Cp932FromWide(const std::wstring& text, bool* lossless) {
  std::string out;
  bool all = true;
  for (size_t i = 0; i < text.size();) {
    int units = (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                 text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
                    ? 2
                    : 1;
    std::string bytes = OneCharacter(text.data() + i, units);
    if (bytes.empty() && text[i] != L'\0') all = false;
    out += bytes;
    i += units;
  }
  if (lossless) *lossless = all;
  return out;
}

std::wstring WideFromCp932(const std::string& bytes) {
  size_t length = WholeCharacters(bytes);
  if (length == 0) return std::wstring();
  int n = MultiByteToWideChar(kCp932, 0, bytes.data(), static_cast<int>(length), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(n, L'\0');
  MultiByteToWideChar(kCp932, 0, bytes.data(), static_cast<int>(length), &out[0], n);
  return out;
}

int Cp932ByteCount(const std::wstring& text) {
  bool lossless = true;
  std::string bytes = Cp932FromWide(text, &lossless);
  return lossless ? static_cast<int>(bytes.size()) : -1;
}
