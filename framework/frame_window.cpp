#include "framework/frame_window.h"

#include <algorithm>

#include "core/win32/trace_failure.h"
#include "framework/application.h"
#include "framework/dialog_bar.h"

const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

bool CFrameWnd::Create(const wchar_t* className, const wchar_t* title, DWORD style,
                       const RECT& rect, HWND parent, HMENU menu, DWORD exStyle) {
  if (!CreateEx(exStyle, className, title, style, rect, parent, 0, menu)) return false;
  RecalcLayout();
  return true;
}

bool CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
  if (!cs.lpszClass)
    cs.lpszClass = RegisterWindowClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return true;
}

void CFrameWnd::AddControlBar(CDialogBar* bar) {
  if (std::find(bars_.begin(), bars_.end(), bar) == bars_.end()) bars_.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CDialogBar* bar) {
  bars_.erase(std::remove(bars_.begin(), bars_.end(), bar), bars_.end());
}

void CFrameWnd::RecalcLayout() {
  if (!hwnd_) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  int top = client.top;
  for (CDialogBar* bar : bars_) {
    HWND barWindow = bar->GetSafeHwnd();
    // The bar's own visibility: the frame itself may still be hidden.
    if (!barWindow || !(GetWindowLongPtrW(barWindow, GWL_STYLE) & WS_VISIBLE)) continue;
    int height = bar->GetDefaultSize().cy;
    SetWindowPos(barWindow, nullptr, client.left, top, client.right - client.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    top += height;
  }
  if (HWND pane = GetDlgItem(hwnd_, kFirstPaneId)) {
    SetWindowPos(pane, nullptr, client.left, top, client.right - client.left,
                 std::max(0L, client.bottom - top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CFrameWnd::UpdateControlBars() {
  for (CDialogBar* bar : bars_) {
    HWND barWindow = bar->GetSafeHwnd();
    if (!barWindow) continue;
    for (HWND child = GetWindow(barWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      UINT id = static_cast<UINT>(GetDlgCtrlID(child));
      if (id == 0 || id == 0xFFFF) continue;  // unnamed statics
      CCommandState state(id, child);
      OnUpdateCommand(state);
    }
  }
}

bool CFrameWnd::OnUpdateCommand(CCommandState&) { return false; }

bool CFrameWnd::LoadAccelTable(UINT id) {
  // A table loaded from resources is freed with the module, never by hand.
  HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
  if (!table) {
    TraceLastError("LoadAcceleratorsW(%u)", id);
    return false;
  }
  accelerators_ = table;
  return true;
}

bool CFrameWnd::PreTranslateMessage(MSG* msg) {
  if (!accelerators_ || !hwnd_ || !msg->hwnd) return false;
  if (msg->hwnd != hwnd_ && !IsChild(hwnd_, msg->hwnd)) return false;
  return TranslateAcceleratorW(hwnd_, accelerators_, msg) != 0;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    LRESULT result = Default();
    if (wParam != SIZE_MINIMIZED) RecalcLayout();
    return result;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CFrameWnd::PostNcDestroy() {
  // The main window gone ends the message loop.
  CWinApp* app = CWinApp::Instance();
  if (app && app->mainWindow == this) {
    app->mainWindow = nullptr;
    PostQuitMessage(0);
  }
  if (deleteOnDestroy) delete this;
}
