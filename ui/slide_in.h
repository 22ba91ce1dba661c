// The control bar's opening animation, drawn by an animation worker: the seven
// button pictures slide from the Start button's place to their own while three
// pictures tremble in the game view's area, for at least 1850 ms.
//
// The job draws through its own device contexts and the frame's client DC, with
// copies of the buttons' pictures that it owns (the buttons may be gone before a
// stalled worker is), and frees them when its run ends. When it has finished it
// posts doneMessage to the bar, and the bar (on the UI thread) shows the buttons
// and tells the frame. A stop request ends it within a frame, with nothing shown.
#pragma once

#include <windows.h>

#include "core/win32/handle_owners.h"
#include "ui/animation_worker.h"

class SlideInJob : public AnimationJob {
 public:
  static constexpr int kButtonCount = 7;
  static constexpr DWORD kFirstPauseMs = 50;
  static constexpr DWORD kMinimumMs = 1850;
  static constexpr DWORD kFrameMs = 16;

  struct Button {
    win32::GdiObject<HBITMAP> picture;  // the job's copy of the button's picture, or none
    int width = 0, height = 0;
    int target = 0;  // its left edge in bar coordinates
  };

  HWND frame = nullptr;
  HWND bar = nullptr;
  UINT doneMessage = 0;
  POINT barOrigin{};     // the bar's top-left in the frame's client coordinates
  RECT view{};           // the view in the frame's client coordinates
  POINT start{};         // the Start button's top-left in bar coordinates
  int canvasWidth = 0;   // Start's left edge to Exit's right edge
  int canvasHeight = 0;  // the Exit button's height
  Button buttons[kButtonCount];

  // Button i slides to target with a copy of picture (none: it slides unseen).
  void SetButton(int i, HBITMAP picture, int target);

 protected:
  bool Run() override;
  void Completed() override;
};
