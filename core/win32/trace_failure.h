// A failed Windows call, traced through klTrace with its error code and the
// system's text for it, so that a failure says why:
//   if (!RegisterClassW(&wc)) TraceLastError("RegisterClassW(%s)", name);
// traces "RegisterClassW(...) failed: error 1410: <the system's text>".
// The call's description is a printf format; the last error is left as it was.
#pragma once

#if defined(__GNUC__)
#define TRACE_FAILURE_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define TRACE_FAILURE_FORMAT(f, a)
#endif

// For calls that report through GetLastError(), read first thing.
void TraceLastError(const char* call, ...) TRACE_FAILURE_FORMAT(1, 2);
// For calls that return their error code (the registry's).
void TraceError(unsigned long error, const char* call, ...) TRACE_FAILURE_FORMAT(2, 3);
