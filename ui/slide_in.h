// The control bar's opening animation, drawn by a worker thread: the seven button
// pictures slide from the Start button's place to their own while three pictures
// tremble in the game view's area, for at least 1850 ms.
//
// The worker draws only through its own device contexts and the frame's client DC,
// and talks to the UI thread only through revealState and one posted message: when
// it has finished it posts doneMessage to the bar, and the bar (on the UI thread)
// shows the buttons and tells the frame. A stop request (revealState 2) ends it
// within a frame, with nothing shown.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

struct SlideInJob {
  enum State : int { kIdle = 0, kRunning = 1, kStopRequested = 2 };
  static constexpr int kButtonCount = 7;

  struct Button {
    HBITMAP picture = nullptr;  // the button's current picture, or none
    int width = 0, height = 0;
    int target = 0;  // its left edge in bar coordinates
  };

  std::atomic<int> revealState{kIdle};
  HWND frame = nullptr;
  HWND bar = nullptr;
  UINT doneMessage = 0;
  POINT barOrigin{};   // the bar's top-left in the frame's client coordinates
  RECT view{};         // the view in the frame's client coordinates
  POINT start{};       // the Start button's top-left in bar coordinates
  int canvasWidth = 0;   // Start's left edge to Exit's right edge
  int canvasHeight = 0;  // the Exit button's height
  Button buttons[kButtonCount];
};

// Starts the worker; it keeps the job alive for as long as it runs. Returns the
// thread's handle (the caller closes it), or null if no thread could be made (the
// job's revealState is then back to kIdle).
HANDLE StartSlideInWorker(std::shared_ptr<SlideInJob> job);
