// Code page 932 at the record's boundary: the record and the ranking block keep
// their texts as code page 932 bytes, the windows show UTF-16. Conversions never
// put a stand-in character ('?') in place of one the other side cannot hold.
#pragma once

#include <string>

// The code page 932 bytes of a wide text. *lossless (if given) is false when some
// character has no code page 932 form; such characters are left out, not replaced.
std::string Cp932FromWide(const std::wstring& text, bool* lossless = nullptr);

// The wide text of code page 932 bytes (a broken double-byte character at the end
// is dropped).
std::wstring WideFromCp932(const std::string& bytes);

// The number of code page 932 bytes of a wide text, or -1 when one of its
// characters has no code page 932 form.
int Cp932ByteCount(const std::wstring& text);
