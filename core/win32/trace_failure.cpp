#include "core/win32/trace_failure.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "core/kl_core.h"
#include "core/win32/wide_text.h"

namespace {

void Trace(DWORD error, DWORD lastError, const char* call, va_list args) {
  char what[256];
  std::vsnprintf(what, sizeof what, call, args);
  wchar_t text[256] = {};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, text, 256, nullptr);
  std::string reason = length ? Utf8FromWide(text) : std::string();
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
    reason.pop_back();
  klTrace("%s failed: error %lu%s%s\n", what, static_cast<unsigned long>(error),
          reason.empty() ? "" : ": ", reason.c_str());
  SetLastError(lastError);  // for the caller's caller, as if nothing had been traced
}

}  // namespace

void TraceLastError(const char* call, ...) {
  DWORD error = GetLastError();
  va_list args;
  va_start(args, call);
  Trace(error, error, call, args);
  va_end(args);
}

void TraceError(unsigned long error, const char* call, ...) {
  DWORD lastError = GetLastError();
  va_list args;
  va_start(args, call);
  Trace(static_cast<DWORD>(error), lastError, call, args);
  va_end(args);
}
