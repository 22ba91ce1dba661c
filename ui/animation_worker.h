// One worker thread per animation: the control bar's slide-in, the high-score
// table's reveal and the start-up zoom all run on it.
//
// The window (UI thread) and its worker share only the job: revealState (0 idle,
// 1 running, 2 stop requested) and an event that a stop request sets, so that a
// worker resting between frames wakes at once. The worker keeps the job alive for
// as long as it runs, and the job owns everything it draws with, so a worker that
// outlives its window's bounded wait (a stalled machine) still draws only with
// objects of its own. A worker reaches its window only by posted messages and never
// waits for the UI thread; the bound on the wait is a guard, not the way out.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "core/win32/handle_owners.h"

class AnimationJob {
 public:
  enum State : int { kIdle = 0, kRunning = 1, kStopRequested = 2 };

  AnimationJob();
  virtual ~AnimationJob() = default;
  AnimationJob(const AnimationJob&) = delete;
  AnimationJob& operator=(const AnimationJob&) = delete;

  // Shared by the window and the worker; written only by AnimationWorker and its
  // thread (start: 1, stop request: 1 -> 2, end of the run: 0).
  std::atomic<int> revealState{kIdle};

  bool StopRequested() const { return revealState.load() == kStopRequested; }

  // Called on the worker after each frame has reached the window, with the frame's
  // number from 0; the worker goes on when it returns. Set before the start (tests
  // look at the window here, or stall the worker as a slow machine would).
  std::function<void(int frame)> frameShown;

 protected:
  // On the worker, when it starts running: the animation. True when it ran to its
  // end; false when it stopped on a request or had nothing to draw with. Whatever
  // it drew with is released when it returns.
  virtual bool Run() = 0;
  // On the worker after a completed Run, once revealState is idle again: tells the
  // window, by posted messages only.
  virtual void Completed() {}

  // Rests until ms have passed since the tick count `since`; a stop request ends
  // the rest at once. False when a stop has been requested.
  bool SleepUntil(DWORD since, DWORD ms) const;
  void FrameShown(int frame) const {
    if (frameShown) frameShown(frame);
  }

 private:
  friend class AnimationWorker;
  win32::KernelHandle stopEvent_;  // manual reset; set by the stop request
};

// The window's side of one worker: start it, ask it to stop, wait for it (bounded).
class AnimationWorker {
 public:
  // stopBoundMs: how long Stop waits for the worker to end.
  explicit AnimationWorker(DWORD stopBoundMs) : stopBoundMs_(stopBoundMs) {}
  ~AnimationWorker() { Stop(); }
  AnimationWorker(const AnimationWorker&) = delete;
  AnimationWorker& operator=(const AnimationWorker&) = delete;

  // Sets the job's revealState to running and runs it on a thread of its own. False
  // if no thread could be made; revealState is then idle again and Run never comes.
  // One job per worker.
  bool Start(std::shared_ptr<AnimationJob> job);

  // If the job is running, asks it to stop (revealState 1 -> 2, waking its rest);
  // then waits for the thread to end, at most the bound. True when it has ended (or
  // never ran). A worker past the bound goes on with its own job.
  bool Stop();

  int RevealState() const { return job_ ? job_->revealState.load() : AnimationJob::kIdle; }
  bool Started() const { return job_ != nullptr; }

 private:
  static DWORD WINAPI ThreadMain(void* parameter);

  DWORD stopBoundMs_;
  std::shared_ptr<AnimationJob> job_;
  win32::KernelHandle thread_;
};
