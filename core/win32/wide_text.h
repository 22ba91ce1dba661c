// UTF-8 <-> UTF-16 at the Windows API boundary; our texts are UTF-8 everywhere else.
#pragma once

#include <string>

std::wstring WideFromUtf8(const char* text);
std::string Utf8FromWide(const wchar_t* text);
