// CZoomIntroDlg (template 154): the start-up zoom. A border-less popup covers a
// square around the window's rectangle-to-be, shows a snapshot of the screen under
// it, and a worker draws into the snapshot with an XOR pen: grey outlines spinning
// in to the centre, then rectangles growing out to the window's rectangle. Every
// shape is drawn twice, so the picture ends as the screen was. The dialog ends
// itself when the animation has completed.
//
// The worker shares with the dialog only the job (revealState) and posts
// WM_ZOOM_DONE at the end; it never waits for the UI thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "framework/dialog.h"
#include "ui/animation_worker.h"
#include "ui/zoom_tables.h"

// The zoom, run by an animation worker. The job owns the tables and the snapshot.
class ZoomJob : public AnimationJob {
 public:
  std::atomic<int> stepsDone{0};   // outline and rectangle steps drawn so far
  std::atomic<bool> snapshotTaken{false};
  HWND dialog = nullptr;
  ZoomGeometry geometry{};
  ZoomOutlineTable outlines{};
  ZoomRectTable rects{};
  win32::GdiObject<HBITMAP> snapshot;
  // Written by the worker; read once it has ended.
  bool completed = false;
  DWORD firstStepAt = 0, lastStepAt = 0;  // tick counts of the first and last step's start

 protected:
  bool Run() override;
  void Completed() override;
};

class CZoomIntroDlg : public CDialog {
 public:
  // The window's rectangle in screen coordinates.
  explicit CZoomIntroDlg(const RECT& target);
  ~CZoomIntroDlg() override;

  const std::shared_ptr<ZoomJob>& Job() const { return job_; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnOK() override {}
  void OnCancel() override {}

 private:
  RECT target_;
  std::shared_ptr<ZoomJob> job_;
  AnimationWorker worker_{500};  // ending the dialog waits for the worker at most 500 ms
};
