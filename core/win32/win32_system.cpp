#include "core/win32/win32_system.h"

#include <windows.h>
#include <mmsystem.h>

#include "core/win32/wide_text.h"

uint32_t Win32System::Time() { return timeGetTime(); }
uint32_t Win32System::TickCount() { return GetTickCount(); }

KlPoint Win32System::CursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return {p.x, p.y};
}

void Win32System::SetCursorPos(KlPoint p) { ::SetCursorPos(p.x, p.y); }

KlPoint Win32System::ClientOrigin(KlWindow window) {
  POINT p{0, 0};
  ::ClientToScreen(window, &p);
  return {p.x, p.y};
}

void Win32System::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

bool Win32System::KeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

void Win32System::DebugOutput(const char* text) { OutputDebugStringA(text); }

void Win32System::ErrorBox(KlWindow owner, const char* text) {
  MessageBoxW(owner, WideFromUtf8(text).c_str(), L"Error", MB_SYSTEMMODAL | MB_ICONEXCLAMATION);
}

void Win32System::PostClose(KlWindow window) { PostMessageW(window, WM_CLOSE, 0, 0); }

void Win32System::DestroyWindow(KlWindow window) {
  if (window) ::DestroyWindow(window);
}

void Win32System::QuitApplication(KlWindow view, const char* message) {
  HWND main = view ? GetAncestor(view, GA_ROOT) : nullptr;
  if (message) {
    if (main) ShowWindow(main, SW_HIDE);
    MessageBoxW(main, WideFromUtf8(message).c_str(), L"強制終了", MB_ICONSTOP);
  }
  // Posted, not destroyed here: the engine call that failed is still on the stack,
  // and the frame's WM_DESTROY frees what that call is using.
  if (main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
  } else {
    PostQuitMessage(0);
  }
}

void* Win32System::Alloc(size_t bytes, bool zeroFill) {
  return GlobalAlloc(zeroFill ? GPTR : GMEM_FIXED, bytes ? bytes : 1);
}

void Win32System::Free(void* block) {
  if (block) GlobalFree(block);
}

KlSystem* klDefaultSystem() {
  static Win32System system;
  return &system;
}
