#include "ui/animation_worker.h"

AnimationJob::AnimationJob() : stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

bool AnimationJob::SleepUntil(DWORD since, DWORD ms) const {
  for (;;) {
    if (StopRequested()) return false;
    DWORD elapsed = GetTickCount() - since;
    if (elapsed >= ms) return true;
    if (stopEvent_) {
      WaitForSingleObject(stopEvent_.get(), ms - elapsed);
    } else {
      Sleep(1);  // no event to wait on: look at the state every millisecond
    }
  }
}

bool AnimationWorker::Start(std::shared_ptr<AnimationJob> job) {
  if (job_ || !job) return false;
  job_ = std::move(job);
  job_->revealState = AnimationJob::kRunning;
  auto* parameter = new std::shared_ptr<AnimationJob>(job_);
  thread_.reset(CreateThread(nullptr, 0, ThreadMain, parameter, 0, nullptr));
  if (!thread_) {
    delete parameter;
    job_->revealState = AnimationJob::kIdle;
    return false;
  }
  return true;
}

bool AnimationWorker::Stop() {
  if (!job_) return true;
  int running = AnimationJob::kRunning;
  if (job_->revealState.compare_exchange_strong(running, AnimationJob::kStopRequested) && job_->stopEvent_)
    SetEvent(job_->stopEvent_.get());
  if (!thread_) return true;
  return WaitForSingleObject(thread_.get(), stopBoundMs_) == WAIT_OBJECT_0;
}

DWORD WINAPI AnimationWorker::ThreadMain(void* parameter) {
  auto* handed = static_cast<std::shared_ptr<AnimationJob>*>(parameter);
  std::shared_ptr<AnimationJob> job = std::move(*handed);
  delete handed;
  // A stop requested before the thread got going ends it without a frame.
  bool completed = job->revealState.load() == AnimationJob::kRunning && job->Run();
  job->revealState = AnimationJob::kIdle;
  if (completed) job->Completed();
  return 0;
}
