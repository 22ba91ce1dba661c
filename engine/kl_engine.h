// Engine-wide state and routines shared by the engine's own files.
#pragma once

#include "engine/mg_host.h"

extern KlWindow klEngineWindow;   // the game view, stored by Init
extern int klShutDown;            // 0 until Shutdown, then 1

// Fatal error: shows "where : what" in a system-modal "Error" box, closes the
// application and returns 0, which the failing operation returns in turn.
int klError(const char* where, const char* what);

// Debug text to the debugger output; returns the number of characters formatted.
// Texts longer than 1023 characters are cut, never overflowed.
int klTrace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
