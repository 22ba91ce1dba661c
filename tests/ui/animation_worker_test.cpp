// The animation worker's contract on real threads: revealState through a run, a
// stop request that wakes a resting worker at once, the completion told only after
// a run that ended by itself, and a worker stalled past the bound that keeps its job
// alive until it ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "ui/animation_worker.h"

namespace {

// Waits for a condition set by another thread (a guard against hanging only).
template <typename Done>
bool WaitUntil(Done done, DWORD deadlineMs = 10000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > deadlineMs) return false;
    Sleep(1);
  }
  return true;
}

struct Probe {
  std::atomic<int> runs{0}, completions{0}, stateAtCompletion{-1}, restResult{-1};
  std::atomic<bool> resting{false}, destroyed{false};
};

// Rests for restMs in steps of stepMs (or blocks on `hold` first, as a stalled
// machine would), then reports whether its last rest ran out.
class TestJob : public AnimationJob {
 public:
  TestJob(Probe& probe, DWORD restMs, HANDLE hold = nullptr) : probe_(probe), restMs_(restMs), hold_(hold) {}
  ~TestJob() override { probe_.destroyed = true; }

 protected:
  bool Run() override {
    ++probe_.runs;
    if (hold_) WaitForSingleObject(hold_, INFINITE);
    probe_.resting = true;
    bool ranOut = SleepUntil(GetTickCount(), restMs_);
    probe_.restResult = ranOut;
    return ranOut;
  }
  void Completed() override {
    probe_.stateAtCompletion = revealState.load();
    ++probe_.completions;
  }

 private:
  Probe& probe_;
  DWORD restMs_;
  HANDLE hold_;
};

TEST(AnimationWorker, ARunToItsEndIsToldOnceWithTheStateBackToIdle) {
  Probe probe;
  AnimationWorker worker(1000);
  EXPECT_EQ(worker.RevealState(), AnimationJob::kIdle);
  ASSERT_TRUE(worker.Start(std::make_shared<TestJob>(probe, 30)));
  EXPECT_NE(worker.RevealState(), AnimationJob::kIdle);  // running (or just ended)
  ASSERT_TRUE(WaitUntil([&] { return probe.completions.load() > 0; }));
  EXPECT_TRUE(worker.Stop());
  EXPECT_EQ(probe.runs.load(), 1);
  EXPECT_EQ(probe.completions.load(), 1);
  EXPECT_EQ(probe.stateAtCompletion.load(), AnimationJob::kIdle);
  EXPECT_EQ(worker.RevealState(), AnimationJob::kIdle);
  EXPECT_FALSE(worker.Start(std::make_shared<TestJob>(probe, 30))) << "one job per worker";
}

TEST(AnimationWorker, AStopRequestEndsALongRestAtOnceAndIsNotAnEnd) {
  Probe probe;
  AnimationWorker worker(5000);
  ASSERT_TRUE(worker.Start(std::make_shared<TestJob>(probe, 60000)));
  ASSERT_TRUE(WaitUntil([&] { return probe.resting.load(); }));
  DWORD asked = GetTickCount();
  EXPECT_TRUE(worker.Stop()) << "the worker ended within the bound";
  std::printf("worker: a stop during a 60 s rest ended it after %lu ms\n",
              static_cast<unsigned long>(GetTickCount() - asked));
  EXPECT_EQ(probe.restResult.load(), 0) << "the rest reports the stop";
  EXPECT_EQ(probe.completions.load(), 0);
  EXPECT_EQ(worker.RevealState(), AnimationJob::kIdle);
}

TEST(AnimationWorker, AWorkerStalledPastTheBoundKeepsItsJobUntilItEnds) {
  Probe probe;
  win32::KernelHandle hold(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  {
    AnimationWorker worker(50);
    ASSERT_TRUE(worker.Start(std::make_shared<TestJob>(probe, 60000, hold.get())));
    ASSERT_TRUE(WaitUntil([&] { return probe.runs.load() > 0; }));
    EXPECT_FALSE(worker.Stop()) << "the stalled worker outlives the bound";
    EXPECT_EQ(worker.RevealState(), AnimationJob::kStopRequested);
  }  // the window side is gone
  EXPECT_FALSE(probe.destroyed.load());
  SetEvent(hold.get());  // the machine goes on: the worker sees the stop request
  ASSERT_TRUE(WaitUntil([&] { return probe.destroyed.load(); }));
  EXPECT_EQ(probe.restResult.load(), 0);
  EXPECT_EQ(probe.completions.load(), 0);
}

}  // namespace
