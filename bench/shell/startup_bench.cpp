// Start-up figures of rodeo.exe's shell with the real rodeo, under Wine:
//   tools/wine-run build/windows/bench/shell/startup_bench.exe [runs]
// 1. one start of the program as a player meets it: from the process's creation to
//    the frame's construction, the engine's Init (after the start-up zoom, a little
//    under 800 ms, and the control bar's slide-in, which lasts at least 1850 ms, both
//    by design) and the first engine step. The program
//    then closes itself.
// 2. unpacking the asset pack (PACK_DATA 999, nine files) into temporary files and
//    deleting them again, repeated.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/kl_core.h"
#include "engine/kl_task.h"
#include "engine/mg_engine.h"
#include "engine/mg_host.h"
#include "game/rodeo_tasks.h"
#include "shell/asset_pack.h"
#include "shell/mg_app.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

// Milliseconds since this process was created, on the system clock.
double SinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto value = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return (value(now) - value(created)) / 10000.0;
}

struct Marks {
  double constructed = 0, initStart = 0, initEnd = 0, firstStep = 0;
} marks;

class TimedModule : public CMgEngine {
 public:
  int Init() override {
    marks.initStart = SinceProcessStart();
    int result = CMgEngine::Init();
    marks.initEnd = SinceProcessStart();
    return result;
  }
  int Tick(int active) override {
    int result = CMgEngine::Tick(active);
    if (active && !done_) {
      done_ = true;
      marks.firstStep = SinceProcessStart();
      if (CMgHost* host = GetMgHost()) host->Quit(nullptr);  // posts the close
    }
    return result;
  }

 private:
  bool done_ = false;
};

CMgApp theApp;

}  // namespace

CMgGame* CreateMgGame() {
  marks.constructed = SinceProcessStart();
  klSetBootScene(StartRodeoScene);
  return new TimedModule;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  double before = SinceProcessStart();
  int code = theApp.Main();
  std::printf("process start to the shell's start-up: %.0f ms\n", before);
  std::printf("process start to the frame's construction: %.0f ms\n", marks.constructed);
  std::printf("process start to the engine's Init (after the zoom and the slide-in): %.0f ms, Init took %.0f ms (unpack before it)\n",
              marks.initStart, marks.initEnd - marks.initStart);
  std::printf("process start to the first engine step: %.0f ms\n", marks.firstStep);
  int runs = __argc > 1 ? std::max(1, _wtoi(__wargv[1])) : 20;
  std::vector<double> unpack;
  for (int i = 0; i < runs; ++i) {
    CAssetPack pack;
    double t = Now();
    int ok = pack.Extract(999);
    pack.Release();
    unpack.push_back(Now() - t);
    if (!ok) {
      std::printf("unpack failed\n");
      return 1;
    }
  }
  std::sort(unpack.begin(), unpack.end());
  std::printf("unpack and delete the nine assets: median %.2f ms, best %.2f ms (%d runs)\n", unpack[unpack.size() / 2],
              unpack[0], runs);

  std::printf("exit %d\n", code);
  return code;
}
