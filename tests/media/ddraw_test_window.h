// What a DirectDraw test program needs: a plain 400 x 300 window on the virtual
// display, a host that names it as the view, and the Windows system services
// with the blocking and closing parts replaced by records.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/kl_engine.h"
#include "support/quiet_win32_system.h"
#include "support/test_host.h"


inline LRESULT CALLBACK TestViewProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_PAINT) {
    ValidateRect(w, nullptr);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

// The view window, at a fixed place on the screen so screenshots find it.
inline HWND TestViewWindow() {
  static HWND window = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TestViewProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = L"RodeoMediaTestView";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"media test", WS_POPUP | WS_VISIBLE, 40, 30, 400, 300,
                             nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(w);
    return w;
  }();
  return window;
}

inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The depth DirectDraw reports on the X display the runner made (24 -> 32).
inline int ExpectedDepth() {
  const char* x = std::getenv("RODEO_X_DEPTH");
  int depth = x ? std::atoi(x) : 24;
  return depth == 24 ? 32 : depth;
}
