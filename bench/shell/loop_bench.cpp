// The message loop of rodeo.exe during a ride, under Wine: the real shell (CMgApp,
// the frame, the bar's opening) with the rodeo, whose module counts the steps and
// times the drawn frames. The ride starts by itself and the rider is held up; after
// a second of it, SECONDS (60) are measured:
//   - the steps run against elapsed / 16 ms (the cadence);
//   - the interval between two drawn frames: median, 99th percentile, longest;
//   - the process's CPU time over that time, as a share of one core.
// The program then closes itself. RODEO_BUSY_LOOP=1 selects the loop that never
// rests, so bench/figures.sh prints the two side by side.
//   tools/wine-run <build>/bench/shell/loop_bench.exe [SECONDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/kl_core.h"
#include "engine/kl_task.h"
#include "engine/mg_engine.h"
#include "engine/mg_host.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"
#include "shell/mg_app.h"

namespace {

double Now() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Cpu {
  double processMs, threadMs;  // the whole process; the UI thread (the loop, the steps)
};

Cpu CpuNow() {
  FILETIME created, exited, kernel, user, threadKernel, threadUser;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetThreadTimes(GetCurrentThread(), &created, &exited, &threadKernel, &threadUser);
  auto ms = [](FILETIME a, FILETIME b) {
    auto value = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(value(a) + value(b)) / 10000.0;
  };
  return {ms(kernel, user), ms(threadKernel, threadUser)};
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t i = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

long long stepsRun = 0;
void CountStep() { ++stepsRun; }
const klStepFn kCountTable[] = {CountStep, CountStep};

double seconds = 60;

struct Figures {
  bool measured = false;
  double elapsedMs = 0, cpuMs = 0, uiThreadMs = 0;
  long long steps = 0;
  std::vector<double> frames;  // when each drawn step ended
  bool stillRiding = false;
} figures;

// The rodeo, timed: a ride starts half a second after Init and the rider stays up.
class TimedRide : public CMgEngine {
 public:
  int Init() override {
    int result = CMgEngine::Init();
    if (result == 0) klTaskCreate(kCountTable, 32000, 3, 4);
    initAt_ = Now();
    return result;
  }
  int Tick(int active) override {
    if (!active) return CMgEngine::Tick(active);
    rodeoState.lean = 0;  // a good player keeps the rider upright
    rodeoState.speed = 0.3f;
    long long before = stepsRun;
    int result = CMgEngine::Tick(active);
    double now = Now();
    CMgHost* host = GetMgHost();
    if (!host) return result;
    if (!asked_ && now - initAt_ > 500) {
      asked_ = true;
      host->RequestState(1);
    }
    if (rodeoState.rideStarted && startAt_ == 0) startAt_ = now + 1000;
    if (startAt_ != 0 && now >= startAt_ && !measuring_) {
      measuring_ = true;
      figures.frames.clear();
      stepsAtStart_ = stepsRun;
      cpuAtStart_ = CpuNow();
      measureFrom_ = now;
    }
    if (measuring_ && stepsRun != before) figures.frames.push_back(now);
    if (measuring_ && now - measureFrom_ >= seconds * 1000 && !figures.measured) {
      figures.measured = true;
      figures.elapsedMs = now - measureFrom_;
      Cpu cpu = CpuNow();
      figures.cpuMs = cpu.processMs - cpuAtStart_.processMs;
      figures.uiThreadMs = cpu.threadMs - cpuAtStart_.threadMs;
      figures.steps = stepsRun - stepsAtStart_;
      figures.stillRiding = !rodeoState.fallen;
      host->Quit(nullptr);
    }
    return result;
  }

 private:
  double initAt_ = 0, startAt_ = 0, measureFrom_ = 0;
  Cpu cpuAtStart_{};
  long long stepsAtStart_ = 0;
  bool asked_ = false, measuring_ = false;
};

CMgApp theApp;

}  // namespace

CMgGame* CreateMgGame() {
  klSetBootScene(StartRodeoScene);
  return new TimedRide;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (__argc > 1) seconds = std::max(1.0, _wtof(__wargv[1]));
  char busy[8] = {};
  GetEnvironmentVariableA("RODEO_BUSY_LOOP", busy, sizeof busy);
  int code = theApp.Main();
  const char* loop = busy[0] == '1' ? "busy loop (RODEO_BUSY_LOOP=1)" : "resting loop";
  if (!figures.measured) {
    std::printf("%s: no ride measured (exit %d)\n", loop, code);
    return 1;
  }
  std::vector<double> gaps;
  for (size_t i = 1; i < figures.frames.size(); ++i) gaps.push_back(figures.frames[i] - figures.frames[i - 1]);
  double due = figures.elapsedMs / 16.0;
  std::printf("%s: %.1f s of a ride: %lld steps run, elapsed / 16 ms = %.0f (%+.0f); drawn-frame interval median "
              "%.1f ms, p99 %.1f ms, max %.1f ms; CPU %.1f%% of one core, of which the UI thread (loop and "
              "steps) %.1f%%, the rest sound mixing; ride still going: %s\n",
              loop, figures.elapsedMs / 1000, figures.steps, due, static_cast<double>(figures.steps) - due,
              Percentile(gaps, 0.5), Percentile(gaps, 0.99), Percentile(gaps, 1.0),
              100.0 * figures.cpuMs / figures.elapsedMs, 100.0 * figures.uiThreadMs / figures.elapsedMs,
              figures.stillRiding ? "yes" : "no (the rider fell)");
  return code;
}
