// A stand-in for the main frame: 400 x 336 client, a view as first pane, the
// control bar, and a record of the commands and opening messages it got.
#pragma once

#include <windows.h>

#include <cstdio>
#include <vector>

#include "framework/frame_window.h"
#include "ui/button_bar.h"

class TestFrame : public CFrameWnd {
 public:
  std::vector<UINT> commands;
  int openingsDone = 0;
  bool idleGame = true;  // Stop and Reset disabled, as while no ride runs
  bool echo = false;     // print what arrives, and let Exit close the window (the preview)

 protected:
  // As the program's frame: no client edge.
  bool PreCreateWindow(CREATESTRUCTW& cs) override {
    if (!CFrameWnd::PreCreateWindow(cs)) return false;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return true;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MG_OPENINGDONE) {
      ++openingsDone;
      if (echo) Print("opening done");
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  bool OnCommand(UINT id, UINT, HWND) override {
    commands.push_back(id);
    if (echo) {
      char line[32];
      std::snprintf(line, sizeof(line), "command %u", id);
      Print(line);
      if (id == IDC_EXIT) DestroyWindow();
    }
    return true;
  }
  static void Print(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
  }
};

// A view that paints itself black, as the game's view does before the engine starts.
class BlackView : public CWnd {
 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_PAINT) return CWnd::WindowProc(message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(hwnd_, &ps);
    return 0;
  }
};

struct BarWindow {
  TestFrame frame;
  BlackView view;
  CButtonBar bar;
  bool created = false;

  explicit BarWindow(bool visible = false, int clientWidth = 400, bool echo = false) {
    frame.deleteOnDestroy = false;
    frame.echo = echo;
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT rect = {100, 100, 100 + clientWidth, 436};
    AdjustWindowRectEx(&rect, style, FALSE, 0);
    created = frame.Create(nullptr, L"ポムルのロデオ", style, rect) &&
              view.CreateEx(WS_EX_STATICEDGE, nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{},
                            frame.GetSafeHwnd(), CFrameWnd::kFirstPaneId) &&
              bar.Create(&frame);
    if (!created) return;
    if (frame.idleGame) {
      EnableWindow(Control(IDC_STOP), FALSE);
      EnableWindow(Control(IDC_RESET), FALSE);
    }
    if (visible) ShowWindow(frame.GetSafeHwnd(), SW_SHOW);
  }
  HWND Control(UINT id) const { return GetDlgItem(bar.GetSafeHwnd(), static_cast<int>(id)); }
  RECT RectInBar(UINT id) const {
    RECT r;
    GetWindowRect(Control(id), &r);
    MapWindowPoints(nullptr, bar.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};
