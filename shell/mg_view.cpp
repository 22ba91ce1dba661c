#include "shell/mg_view.h"

bool CMgView::PreCreateWindow(CREATESTRUCTW& cs) {
  if (!CWnd::PreCreateWindow(cs)) return false;
  cs.dwExStyle |= WS_EX_STATICEDGE;
  cs.style &= ~static_cast<DWORD>(WS_BORDER);
  // Double-clicks arrive as messages of their own, which count like presses.
  cs.lpszClass = RegisterWindowClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
  return cs.lpszClass != nullptr;
}

LRESULT CMgView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (host_.IsEngineReady()) {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        host_.OnViewPress();
        break;
      default:
        break;
    }
    // A fatal error inside the press only posts the close, so the frame is still
    // there and still the host.
    host_.PassToEngine(GetCurrentMessage());
  }
  // A fatal error posts WM_CLOSE to the view as well as to the frame; the view goes
  // with the frame, after the engine's Shutdown, not on its own before it.
  if (message == WM_CLOSE) return 0;
  if (message == WM_PAINT) {
    OnPaint();
    return 0;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CMgView::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (host_.IsEngineReady()) {
    host_.TickForPaint();  // the engine draws on its own
  } else {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  EndPaint(hwnd_, &ps);
}
