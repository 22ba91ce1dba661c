// The system services on the Windows API. Tests derive from it to
// replace the blocking parts (the error box) while keeping the real rest.
#pragma once

#include "core/kl_system.h"

class Win32System : public KlSystem {
 public:
  uint32_t Time() override;
  uint32_t TickCount() override;
  KlPoint CursorPos() override;
  void SetCursorPos(KlPoint p) override;
  KlPoint ClientOrigin(KlWindow window) override;
  void ShowCursor(bool show) override;
  bool KeyDown(int virtualKey) override;
  void DebugOutput(const char* text) override;
  void ErrorBox(KlWindow owner, const char* text) override;
  void PostClose(KlWindow window) override;
  void DestroyWindow(KlWindow window) override;
  void QuitApplication(KlWindow view, const char* message) override;
  void* Alloc(size_t bytes, bool zeroFill) override;
  void Free(void* block) override;
};
