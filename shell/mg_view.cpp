#include "shell/mg_view.h"

#include "framework/application.h"
#include "shell/mg_frame.h"

bool CMgView::PreCreateWindow(CREATESTRUCTW& cs) {
  if (!CWnd::PreCreateWindow(cs)) return false;
  cs.dwExStyle |= WS_EX_STATICEDGE;
  cs.style &= ~static_cast<DWORD>(WS_BORDER);
  // Double-clicks arrive as messages of their own, which count like presses.
  cs.lpszClass = RegisterWindowClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
  return cs.lpszClass != nullptr;
}

CMgFrame* CMgView::Frame() {
  CWinApp* app = CWinApp::Instance();
  return app ? dynamic_cast<CMgFrame*>(app->mainWindow) : nullptr;
}

LRESULT CMgView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CMgFrame* frame = Frame();
  if (frame && frame->IsEngineReady()) {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        frame->OnViewPress();
        break;
      default:
        break;
    }
    // The press may have ended the program (a fatal error posts its close, so
    // the frame is still there, but look again all the same).
    if ((frame = Frame()) != nullptr) frame->FilterMessage(GetCurrentMessage());
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
  CMgFrame* frame = Frame();
  if (frame && frame->IsEngineReady()) {
    frame->TickForPaint();  // the engine draws on its own
  } else {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  EndPaint(hwnd_, &ps);
}
