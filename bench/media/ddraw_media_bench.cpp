// The DirectDraw library's cost under Wine: one drawn step (the sprite pass over
// 60 sprites and the flip to the window) at the display's depth. Prints figures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/media/sixty_sprites.h"
#include "engine/kl_engine.h"
#include "core/win32/win32_system.h"
#include "support/test_host.h"

namespace {

class QuietSystem : public Win32System {
 public:
  void ErrorBox(KlWindow, const char* text) override { std::printf("error: %s\n", text); }
  void PostClose(KlWindow) override {}
  void QuitApplication(KlWindow, const char*) override {}
};

HWND MakeWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"RodeoMediaBench";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"media bench", WS_POPUP | WS_VISIBLE, 40, 30, 400, 300, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

double Now() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main() {
  QuietSystem sys;
  TestHost host;
  host.view = MakeWindow();
  klSetSystem(&sys);
  SetMgHost(&host);
  klEngineWindow = host.view;
  if (!klDrawInit(400, 300, 8)) return 1;
  klSpriteInit();
  if (!BuildSixtySprites(RODEO_SOURCE_DIR "/assets/out/pack")) return 1;
  for (int i = 0; i < 20; ++i) DrawnStep();  // warm up

  const int steps = 300;
  std::vector<double> runs;
  for (int run = 0; run < 5; ++run) {
    double start = Now();
    for (int i = 0; i < steps; ++i) DrawnStep();
    runs.push_back((Now() - start) / steps * 1e6);
  }
  std::sort(runs.begin(), runs.end());
  std::printf("DirectDraw drawn step, 60 sprites + flip, %d bits per pixel: median %.1f us, best %.1f us "
              "(5 runs of %d steps)\n", colourDepth, runs[2], runs[0], steps);
  klSpriteRelease();
  klDrawRelease();
  DestroyWindow(host.view);
  return 0;
}
