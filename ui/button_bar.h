// CButtonBar: the strip of picture buttons at the top of the main frame (template
// 130): Start, Stop, Reset, High score, Help, Version and Exit, two etched
// separators and the logo that opens the home page. The buttons' clicks reach the
// frame as WM_COMMAND with their ids (the dialog bar passes them on); the frame
// enables them and sets the Stop button's check (GetButton).
//
// The buttons stay hidden until the slide-in (StartSlideIn) has ended; then the bar
// shows them and posts WM_MG_OPENINGDONE to the frame. Destroying the bar during
// the slide-in stops it at once (or after the frame being drawn), and nothing is
// shown.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "framework/dialog_bar.h"
#include "ui/animation_worker.h"
#include "ui/bar_button.h"
#include "ui/bar_ids.h"
#include "ui/etched_line.h"
#include "ui/slide_in.h"
#include "ui/window_messages.h"

class CButtonBar : public CDialogBar {
 public:
  static constexpr UINT kBarId = 100;
  static constexpr DWORD kBarStyle = kAlignTop | kBorderBottom;  // 0x2800
  static constexpr int kHeight = 36;  // in pixels, whatever the dialog font's size
  static constexpr int kButtonCount = 7;

  CButtonBar() = default;
  ~CButtonBar() override;

  // Makes the bar from template 130 as the frame's docked bar and sets it up
  // (buttons bound, pictures, layout, logo, hand cursor). False if the template
  // does not load.
  bool Create(CFrameWnd* frame);

  // Once, after the frame has been shown: the opening animation over the frame's
  // client area (the buttons' strip and the view's rectangle).
  void StartSlideIn(HWND frameWindow, HWND viewWindow);

  // Before StartSlideIn: called on the slide-in's worker after each frame has
  // reached the window (tests look at the frames through it).
  void WatchSlideInFrames(std::function<void(int frame)> frameShown) { slideInFrameShown_ = std::move(frameShown); }

  // The button with that command id, or null.
  CBarButton* GetButton(UINT id);
  int GetRevealState() const { return slideInWorker_.RevealState(); }
  // The running or finished slide-in's job, or null before StartSlideIn.
  const std::shared_ptr<SlideInJob>& SlideIn() const { return slideIn_; }
  bool IsHomePageBusy() const { return homePageBusy_->load(); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void SetUp();
  void PlaceLogo(int barWidth);
  void FinishSlideIn();
  void StopSlideIn();
  void OpenHomePage();

  CWnd logo_;
  CEtchedLine separators_[2];
  CBarButton buttons_[kButtonCount];  // in layout order: Start ... Exit
  HCURSOR handCursor_ = nullptr;
  std::shared_ptr<SlideInJob> slideIn_;
  std::function<void(int frame)> slideInFrameShown_;
  AnimationWorker slideInWorker_{500};  // the bar's destruction waits at most 500 ms
  // Shared with the home-page worker, which may outlive the bar.
  std::shared_ptr<std::atomic<bool>> homePageBusy_ = std::make_shared<std::atomic<bool>>(false);
  HWND frameWindow_ = nullptr;
};
