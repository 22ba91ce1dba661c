// The rodeo on DirectDraw under Wine, as rodeo.exe runs it: the asset pack unpacked
// from this program's own PACK_DATA 999, the game module in a 400 x 300 window,
// and a ride held up for as long as the figures need. Prints:
//   - the unpack time (Extract of the whole pack, median of 9);
//   - the cost of one drawn step during a ride (the pass over the tasks, the sprite
//     pass and the flip), median and 99th percentile, also as a share of 16 ms;
//   - with "cadence SECONDS": a loop that never waits, ticking whenever the clock
//     moved on (the engine alone, without the shell) for that long, with the steps
//     run against elapsed / 16 ms, the drawn frames per second and the 99th
//     percentile of the interval between two drawn frames. rodeo.exe's own loop is
//     measured by bench/shell/loop_bench.cpp.
// Usage: game_ddraw_bench.exe [steps N] [cadence SECONDS]
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/kl_clock.h"
#include "engine/kl_sprite.h"
#include "engine/kl_task.h"
#include "engine/mg_game.h"
#include "engine/mg_host.h"
#include "core/win32/win32_system.h"
#include "game/rodeo_state.h"
#include "media/kl_media.h"
#include "shell/asset_pack.h"

namespace {

class BenchSystem : public Win32System {
 public:
  void ErrorBox(KlWindow, const char* text) override { std::printf("error box: %s\n", text); }
  void DebugOutput(const char*) override {}
};

class BenchHost : public CMgHost {
 public:
  HWND view = nullptr;
  CMgGame* game = nullptr;
  CAssetPack pack;
  int state = 0;
  int results = 0;
  int tickInterval = 0;
  KlWindow GetViewWindow() override { return view; }
  void RequestState(int request) override {
    if (request == 0) {
      state = 0;
      game->Resync();
    } else if (request == 1 && state == 0) {
      state = 1;
      game->OnStart();
    } else if (request == 2 && state != 0) {
      state = state == 2 ? 1 : 2;
      game->Stop(state == 2 ? 1 : 0);
    }
  }
  int GetState() override { return state; }
  void ReportResult(const char*, int) override { ++results; }
  void SetTickInterval(int ms) override { tickInterval = ms; }
  int GetTickInterval() override { return tickInterval; }
  const char* GetAssetPath(const char* fileName) override { return pack.FindPath(fileName); }
};

BenchHost host;
long long stepsRun = 0;

// The last task of every step: counts the steps the engine ran.
void CountStep() { ++stepsRun; }
const klStepFn kCountTable[] = {CountStep, CountStep};

LRESULT CALLBACK ViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (host.game) {
    MSG msg{hwnd, message, wParam, lParam, 0, {0, 0}};
    host.game->FilterMessage(&msg);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND MakeView() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ViewProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = L"RodeoGameBench";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, L"game bench", WS_POPUP | WS_VISIBLE, 40, 30, 400, 300,
                           nullptr, nullptr, wc.hInstance, nullptr);
  SetForegroundWindow(w);
  return w;
}

double Now() {
  static LARGE_INTEGER f = [] {
    LARGE_INTEGER v;
    QueryPerformanceFrequency(&v);
    return v;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Keeps the rider up and the cow bucking every few steps, as a good player would.
void HoldTheRide() {
  rodeoState.lean = 0;
  rodeoState.speed = 0.3f;
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t i = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

// A loop that never waits, for a while: messages first, otherwise a tick whenever the
// clock has moved further than the tick interval. Returns the drawn frames' times.
std::vector<double> RunLoop(double seconds, bool hold) {
  std::vector<double> frames;
  DWORD lastTick = timeGetTime();
  const double end = Now() + seconds;
  MSG msg;
  while (Now() < end) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    DWORD now = timeGetTime();
    if (now - lastTick > static_cast<DWORD>(host.tickInterval)) {
      lastTick = now;
      if (hold) HoldTheRide();
      long long before = stepsRun;
      host.game->Tick(1);
      if (stepsRun != before) frames.push_back(Now());  // the tick's last step drew
    }
  }
  return frames;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int steps = 3000;
  double cadenceSeconds = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!wcscmp(argv[i], L"steps")) steps = _wtoi(argv[i + 1]);
    if (!wcscmp(argv[i], L"cadence")) cadenceSeconds = _wtof(argv[i + 1]);
  }

  std::vector<double> unpack;
  for (int i = 0; i < 9; ++i) {
    if (i) host.pack.Release();
    double t0 = Now();
    if (!host.pack.Extract(999)) {
      std::printf("error: the asset pack does not unpack\n");
      return 1;
    }
    unpack.push_back((Now() - t0) * 1e3);
  }
  std::printf("unpack: %.1f ms median, %.1f ms best (Extract of PACK_DATA 999, 9 runs)\n",
              Percentile(unpack, 0.5), Percentile(unpack, 0));

  static BenchSystem sys;
  klSetSystem(&sys);
  host.view = MakeView();
  host.game = CreateMgGame();
  MgGameDesc desc;
  host.game->Describe(&desc);
  host.tickInterval = desc.tickInterval;
  SetMgHost(&host);
  if (host.game->Init() != 0) {
    std::printf("error: the game's Init failed\n");
    return 1;
  }
  klTaskCreate(kCountTable, 32000, 3, 4);
  // Boot, then a ride: READY, GO and the rider held up from there on.
  RunLoop(0.5, false);
  host.RequestState(1);
  const double readyBy = Now() + 10;
  while (!rodeoState.rideStarted && Now() < readyBy) RunLoop(0.05, true);
  if (!rodeoState.rideStarted) {
    std::printf("error: the ride did not start\n");
    return 1;
  }
  RunLoop(1, true);

  std::vector<double> cost;
  for (int i = 0; i < steps; ++i) {
    HoldTheRide();
    double t0 = Now();
    klTaskRunAll();
    klSpriteDrawAll();
    klDrawFlip();
    cost.push_back((Now() - t0) * 1e6);
    if (i % 16 == 0) Pump();
  }
  double median = Percentile(cost, 0.5), p99 = Percentile(cost, 0.99);
  std::printf("drawn step during a ride, DirectDraw at %d bits per pixel: median %.0f us (%.1f%% of 16 ms), "
              "p99 %.0f us (%.1f%%), %d steps\n",
              colourDepth, median, median / 160.0, p99, p99 / 160.0, steps);

  if (cadenceSeconds > 0) {
    host.game->Resync();
    long long startSteps = stepsRun;
    double t0 = Now();
    std::vector<double> frames = RunLoop(cadenceSeconds, true);
    double elapsed = Now() - t0;
    long long ran = stepsRun - startSteps;
    double due = elapsed * 1000.0 / 16.0;
    std::vector<double> gaps;
    for (size_t i = 1; i < frames.size(); ++i) gaps.push_back((frames[i] - frames[i - 1]) * 1e3);
    std::printf("cadence over %.1f s of a ride: %lld steps run, elapsed / 16 ms = %.0f (%.2f%%)\n", elapsed, ran,
                due, 100.0 * static_cast<double>(ran) / due);
    std::printf("drawn frames: %.1f per second, interval median %.1f ms, p99 %.1f ms, max %.1f ms\n",
                static_cast<double>(frames.size()) / elapsed, Percentile(gaps, 0.5), Percentile(gaps, 0.99),
                Percentile(gaps, 1.0));
    std::printf("ride still going: %s\n", rodeoState.fallen ? "no (the rider fell)" : "yes");
  }

  host.game->Shutdown();
  delete host.game;
  host.game = nullptr;
  host.pack.Release();
  DestroyWindow(host.view);
  return 0;
}
