#include "ui/zoom_intro_dlg.h"

#include <algorithm>

#include "ui/dialog_ids.h"
#include "ui/window_messages.h"

namespace {

void DrawOutline(HDC dc, const ZoomOutline& q) {
  POINT p[5];
  for (int j = 0; j < 4; ++j) p[j] = POINT{q[j].x, q[j].y};
  p[4] = p[0];
  Polyline(dc, p, 5);
}

void DrawZoomRect(HDC dc, const ZoomRect& r) { Rectangle(dc, r.left, r.top, r.right, r.bottom); }

constexpr int kPenWidth = 2;

// The pixels a shape's pen can touch: its bounds widened by the pen on every side.
RECT Touched(const ZoomOutline& q) {
  RECT r{q[0].x, q[0].y, q[0].x, q[0].y};
  for (const ZoomPoint& p : q) {
    r.left = std::min(r.left, static_cast<LONG>(p.x));
    r.top = std::min(r.top, static_cast<LONG>(p.y));
    r.right = std::max(r.right, static_cast<LONG>(p.x));
    r.bottom = std::max(r.bottom, static_cast<LONG>(p.y));
  }
  InflateRect(&r, kPenWidth + 1, kPenWidth + 1);
  return r;
}

RECT Touched(const ZoomRect& z) {
  RECT r{z.left, z.top, z.right, z.bottom};
  InflateRect(&r, kPenWidth + 1, kPenWidth + 1);
  return r;
}

}  // namespace

bool ZoomJob::Run() {
  const ZoomGeometry& g = geometry;
  const int s = g.size;
  win32::WindowDc client(dialog);
  win32::MemoryDc canvas(CreateCompatibleDC(client.get()));
  snapshot.reset(CreateCompatibleBitmap(client.get(), s, s));
  win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, kPenWidth, RGB(170, 170, 170)));
  // Nothing to draw with: no animation, but the dialog still ends and the window opens.
  if (!client || !canvas || !snapshot || !pen) return true;
  win32::SelectedObject snapshotSelected(canvas.get(), snapshot.get());
  {
    win32::MemoryDc screen(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    BitBlt(canvas.get(), 0, 0, s, s, screen.get(), g.canvasX, g.canvasY, SRCCOPY);
  }
  snapshotTaken = true;
  // Asynchronous: the worker must never wait for the UI thread.
  SetWindowPos(dialog, nullptr, g.canvasX, g.canvasY, s, s,
               SWP_NOZORDER | SWP_NOREDRAW | SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);

  win32::SelectedObject penSelected(canvas.get(), pen.get());
  win32::SelectedObject brushSelected(canvas.get(), GetStockObject(NULL_BRUSH));
  SetROP2(canvas.get(), R2_XORPEN);

  // One phase: each step erases the oldest shape shown (XOR), draws the next, shows
  // the canvas and rests out its time; a stop request ends it after the step. The
  // first copy shows the whole canvas; after it only what the step's two shapes
  // touched can differ, and copying just that keeps each step within its few
  // milliseconds where the whole square would not (the dialog shows the same).
  bool wholeShown = false;
  auto phase = [&](int steps, int count, int shown, const auto& table, auto drawShape, auto stepMs) {
    for (int step = 0; step < steps; ++step) {
      DWORD tick = GetTickCount();
      ZoomStepDraws d = ZoomStep(step, count, shown);
      RECT changed{0, 0, 0, 0};
      for (int i : {d.erase, d.draw}) {
        if (i < 0) continue;
        drawShape(i);
        RECT touched = Touched(table[i]);
        UnionRect(&changed, &changed, &touched);
      }
      if (!wholeShown) changed = RECT{0, 0, s, s};
      wholeShown = true;
      BitBlt(client.get(), changed.left, changed.top, changed.right - changed.left,
             changed.bottom - changed.top, canvas.get(), changed.left, changed.top, SRCCOPY);
      GdiFlush();
      FrameShown(stepsDone++);
      if (!SleepUntil(tick, static_cast<DWORD>(stepMs(step)))) return false;
    }
    return true;
  };
  firstStepAt = GetTickCount();
  completed = phase(kZoomOutlineSteps, kZoomOutlineCount, kZoomOutlinesShown, outlines,
                    [&](int i) { DrawOutline(canvas.get(), outlines[i]); },
                    [](int) { return kZoomOutlineStepMs; }) &&
              phase(kZoomRectSteps, kZoomRectCount, kZoomRectsShown, rects,
                    [&](int i) { DrawZoomRect(canvas.get(), rects[i]); },
                    [](int step) { return ZoomRectStepMs(step); });
  lastStepAt = GetTickCount();
  return completed;
}

void ZoomJob::Completed() { PostMessageW(dialog, WM_ZOOM_DONE, 0, 0); }

CZoomIntroDlg::CZoomIntroDlg(const RECT& target)
    : CDialog(IDD_ZOOMINTRO), target_(target), job_(std::make_shared<ZoomJob>()) {}

CZoomIntroDlg::~CZoomIntroDlg() { worker_.Stop(); }

BOOL CZoomIntroDlg::OnInitDialog() {
  job_->dialog = hwnd_;
  job_->geometry = ComputeZoomGeometry(ZoomRect{target_.left, target_.top, target_.right, target_.bottom});
  job_->outlines = BuildZoomOutlines(job_->geometry);
  job_->rects = BuildZoomRects(job_->geometry);
  if (!worker_.Start(job_)) PostMessageW(hwnd_, WM_ZOOM_DONE, 0, 0);  // no animation: go on at once
  return FALSE;  // no focus to any control
}

LRESULT CZoomIntroDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ZOOM_DONE:
      EndDialog(IDOK);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      ValidateRect(hwnd_, nullptr);
      return 0;
    case WM_WINDOWPOSCHANGING:
      if (!job_->snapshotTaken.load()) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
      break;
    case WM_DESTROY:
      worker_.Stop();
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
