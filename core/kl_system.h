// What the engine and the media library need from the operating system, behind one
// interface so the portable code runs natively under tests with an injected clock
// and cursor. The Windows implementation lives in core/win32; tests supply their own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kl_core.h"

struct KlPoint {
  int x;
  int y;
};

class KlSystem {
 public:
  virtual ~KlSystem() {}
  virtual uint32_t Time() = 0;        // multimedia clock, milliseconds (timeGetTime)
  virtual uint32_t TickCount() = 0;   // system tick count, milliseconds (GetTickCount)
  virtual KlPoint CursorPos() = 0;
  virtual void SetCursorPos(KlPoint p) = 0;
  virtual KlPoint ClientOrigin(KlWindow window) = 0;  // screen position of client 0,0
  virtual void ShowCursor(bool show) = 0;
  virtual bool KeyDown(int virtualKey) = 0;  // key held at this moment (GetAsyncKeyState)
  virtual void DebugOutput(const char* text) = 0;
  // The system-modal "Error" box of a fatal failure, owned by window (may be null).
  virtual void ErrorBox(KlWindow owner, const char* text) = 0;
  virtual void PostClose(KlWindow window) = 0;        // posts WM_CLOSE
  virtual void DestroyWindow(KlWindow window) = 0;
  // Closes the application whose main window holds view, once the current call has
  // returned: with a message, hides the main window and shows the message in a
  // "強制終了" box first; then posts WM_CLOSE to the main window (WM_QUIT when
  // there is none). The frame's WM_CLOSE destroys it, and its WM_DESTROY shuts the
  // engine down: never inside the engine call that asked for the close.
  virtual void QuitApplication(KlWindow view, const char* message) = 0;
  // Fixed global-heap memory; Alloc returns null when there is none.
  virtual void* Alloc(size_t bytes, bool zeroFill) = 0;
  virtual void Free(void* block) = 0;
};

KlSystem* klSystem();
// Installs the system the engine uses; returns the previous one. Null restores the default.
KlSystem* klSetSystem(KlSystem* system);
// The platform's own implementation (Windows API, or a plain one natively).
KlSystem* klDefaultSystem();
