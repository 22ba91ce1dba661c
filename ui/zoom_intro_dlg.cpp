#include "ui/zoom_intro_dlg.h"

#include "ui/dialog_ids.h"
#include "ui/window_messages.h"

namespace {

void Pause(DWORD since, int ms) {
  while (GetTickCount() - since < static_cast<DWORD>(ms)) Sleep(1);
}

void DrawOutline(HDC dc, const ZoomOutline& q) {
  POINT p[5];
  for (int j = 0; j < 4; ++j) p[j] = POINT{q[j].x, q[j].y};
  p[4] = p[0];
  Polyline(dc, p, 5);
}

void DrawZoomRect(HDC dc, const ZoomRect& r) { Rectangle(dc, r.left, r.top, r.right, r.bottom); }

constexpr int kPenWidth = 2;

DWORD WINAPI ZoomThread(void* parameter) {
  auto* owned = static_cast<std::shared_ptr<ZoomJob>*>(parameter);
  std::shared_ptr<ZoomJob> job = *owned;
  delete owned;
  if (job->revealState.load() != ZoomJob::kRunning) {
    job->revealState = ZoomJob::kIdle;
    return 0;
  }
  const ZoomGeometry& g = job->geometry;
  const int s = g.size;
  HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  HDC client = GetDC(job->dialog);
  HDC canvas = CreateCompatibleDC(client);
  job->snapshot = CreateCompatibleBitmap(client, s, s);
  HGDIOBJ oldBitmap = SelectObject(canvas, job->snapshot);
  BitBlt(canvas, 0, 0, s, s, screen, g.canvasX, g.canvasY, SRCCOPY);
  DeleteDC(screen);
  job->snapshotTaken = true;
  // Posted, not sent: the worker must never wait for the UI thread.
  SetWindowPos(job->dialog, nullptr, g.canvasX, g.canvasY, s, s,
               SWP_NOZORDER | SWP_NOREDRAW | SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);

  HPEN pen = CreatePen(PS_SOLID, kPenWidth, RGB(170, 170, 170));
  HGDIOBJ oldPen = SelectObject(canvas, pen);
  HGDIOBJ oldBrush = SelectObject(canvas, GetStockObject(NULL_BRUSH));
  SetROP2(canvas, R2_XORPEN);

  // One phase: each step erases the oldest shape shown (XOR), draws the next, shows
  // the canvas and waits out its time; a stop request ends it after the step.
  bool stopped = false;
  auto phase = [&](int steps, int count, int shown, auto drawShape, auto stepMs) {
    for (int step = 0; step < steps && !stopped; ++step) {
      DWORD tick = GetTickCount();
      ZoomStepDraws d = ZoomStep(step, count, shown);
      if (d.erase >= 0) drawShape(d.erase);
      if (d.draw >= 0) drawShape(d.draw);
      BitBlt(client, 0, 0, s, s, canvas, 0, 0, SRCCOPY);
      GdiFlush();
      ++job->stepsDone;
      Pause(tick, stepMs(step));
      stopped = job->revealState.load() == ZoomJob::kStopRequested;
    }
  };
  job->firstStepAt = GetTickCount();
  phase(kZoomOutlineSteps, kZoomOutlineCount, kZoomOutlinesShown,
        [&](int i) { DrawOutline(canvas, job->outlines[i]); }, [](int) { return kZoomOutlineStepMs; });
  phase(kZoomRectSteps, kZoomRectCount, kZoomRectsShown,
        [&](int i) { DrawZoomRect(canvas, job->rects[i]); }, [](int step) { return ZoomRectStepMs(step); });
  job->lastStepAt = GetTickCount();
  SelectObject(canvas, oldPen);
  SelectObject(canvas, oldBrush);
  SelectObject(canvas, oldBitmap);
  DeleteObject(pen);
  DeleteDC(canvas);
  ReleaseDC(job->dialog, client);
  job->completed = !stopped;
  if (!stopped) PostMessageW(job->dialog, WM_ZOOM_DONE, 0, 0);
  job->revealState = ZoomJob::kIdle;
  return 0;
}

}  // namespace

ZoomJob::~ZoomJob() {
  if (snapshot) DeleteObject(snapshot);
}

CZoomIntroDlg::CZoomIntroDlg(const RECT& target)
    : CDialog(IDD_ZOOMINTRO), target_(target), job_(std::make_shared<ZoomJob>()) {}

CZoomIntroDlg::~CZoomIntroDlg() {
  StopWorker();
  if (worker_) CloseHandle(worker_);
}

BOOL CZoomIntroDlg::OnInitDialog() {
  job_->dialog = hwnd_;
  job_->geometry = ComputeZoomGeometry(ZoomRect{target_.left, target_.top, target_.right, target_.bottom});
  job_->outlines = BuildZoomOutlines(job_->geometry);
  job_->rects = BuildZoomRects(job_->geometry);
  job_->revealState = ZoomJob::kRunning;
  auto* parameter = new std::shared_ptr<ZoomJob>(job_);
  worker_ = CreateThread(nullptr, 0, ZoomThread, parameter, 0, nullptr);
  if (!worker_) {
    delete parameter;
    job_->revealState = ZoomJob::kIdle;
    PostMessageW(hwnd_, WM_ZOOM_DONE, 0, 0);  // no animation: go on at once
  }
  return FALSE;  // no focus to any control
}

void CZoomIntroDlg::StopWorker() {
  int running = ZoomJob::kRunning;
  job_->revealState.compare_exchange_strong(running, ZoomJob::kStopRequested);
  // Bounded: the worker never waits for this thread and stops within a step.
  if (worker_) WaitForSingleObject(worker_, 500);
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
      StopWorker();
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
