// The core every layer uses: the engine window, fatal errors and debug text.
// After the first klError the program is closing: klFatalRaised() tells every
// layer to do nothing more, and the close itself happens after the failing call
// has returned (the engine's close hook posts it to the host).
#pragma once

struct HWND__;  // the platform's window handle (HWND on Windows)
typedef HWND__* KlWindow;

// The game view: stored by the engine's Init, used by the media library for the
// display, the palette and the sound device, and as the owner of the error box.
extern KlWindow klEngineWindow;

// Fatal error, once per run: the first call sets the fatal flag, hands the screen
// to GDI (the blank hook the display registered), shows "where : what" in a
// system-modal "Error" box, posts WM_CLOSE to the engine window and calls the
// close hook. Later calls only trace their text. Always returns 0, which the
// failing operation returns in turn.
int klError(const char* where, const char* what);

// Nonzero from the first klError on: every engine, media and game operation then
// returns at once with its failure result.
int klFatalRaised();
// Clears the fatal flag for a fresh run (the engine's Init; tests).
void klFatalReset();

// Called by klError before its box (null: none). The display sets klDrawToGDI.
void klSetFatalBlank(void (*blank)());
// Called by klError after its box (null: none). The engine sets a hook that asks
// the host to close the application; the host posts the close, never closes inside.
void klSetFatalClose(void (*close)());

// Debug text to the debugger output; returns the number of characters formatted.
// Texts longer than 1023 characters are cut, never overflowed.
int klTrace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
