#include "core/win32/wide_text.h"

#include <windows.h>

std::wstring WideFromUtf8(const char* text) {
  if (!text || !*text) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, &out[0], n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

std::string Utf8FromWide(const wchar_t* text) {
  if (!text || !*text) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}
