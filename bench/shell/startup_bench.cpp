// Start-up figures of rodeo.exe's shell with the real rodeo, under Wine:
//   tools/wine-run build/windows/bench/shell/startup_bench.exe [runs]
// 1. one start of the program as a player meets it, in its parts, each as the time
//    since the process was created (GetProcessTimes): the shell's entry, the frame's
//    construction, the window made, sized and titled (the record loaded), the
//    start-up zoom (a little under 800 ms by design), the frame shown, the control
//    bar's slide-in (at least 1850 ms by design, until WM_MG_OPENINGDONE is taken),
//    the unpacking, the engine's Init and the first engine step. The program then
//    closes itself. Each mark also goes to the debugger output ("startup mark:
//    NAME"), so a time-stamped Wine trace puts them on Wine's clock beside the
//    process's creation, as bench/figures.sh reads rodeo.exe's start.
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
#include "ui/window_messages.h"
#include "shell/asset_pack.h"
#include "framework/window.h"
#include "shell/mg_app.h"
#include "ui/bar_ids.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds since this process was created, on the system clock.
double SinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto value = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(value(now) - value(created)) / 10000.0;
}

enum Mark { kEntry, kConstructed, kTitled, kZoomUp, kZoomGone, kShown, kOpeningDone, kInitStart, kInitEnd, kFirstStep, kMarks };
const char* const kMarkNames[kMarks] = {"entry",     "constructed",  "titled",     "zoom-up",  "zoom-gone",
                                        "shown",     "opening-done", "init-start", "init-end", "first-step"};
double marks[kMarks] = {};
bool marked[kMarks] = {};

void Note(Mark m) {
  if (marked[m]) return;
  marked[m] = true;
  marks[m] = SinceProcessStart();
  char text[64];
  std::snprintf(text, sizeof text, "startup mark: %s\n", kMarkNames[m]);
  OutputDebugStringA(text);
}

class TimedModule : public CMgEngine {
 public:
  int Init() override {
    Note(kInitStart);
    int result = CMgEngine::Init();
    Note(kInitEnd);
    return result;
  }
  int Tick(int active) override {
    int result = CMgEngine::Tick(active);
    if (active && !marked[kFirstStep]) {
      Note(kFirstStep);
      if (CMgHost* host = GetMgHost()) host->Quit(nullptr);  // posts the close
    }
    return result;
  }
};

CMgApp theApp;

// The shell's own steps, seen from the UI thread's messages.
HWND Frame() { return theApp.mainWindow ? theApp.mainWindow->GetSafeHwnd() : nullptr; }
HWND zoomDialog = nullptr;

LRESULT CALLBACK SentMessages(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const CWPSTRUCT& m = *reinterpret_cast<CWPSTRUCT*>(lParam);
    HWND frame = Frame();
    if (m.message == WM_SETTEXT && frame && m.hwnd == frame) Note(kTitled);
    // The bar is a dialog too, made with the window; the zoom's comes after the title.
    if (m.message == WM_INITDIALOG && marked[kTitled] && !zoomDialog) {
      zoomDialog = m.hwnd;
      Note(kZoomUp);
    }
    if (m.message == WM_DESTROY && zoomDialog && m.hwnd == zoomDialog) Note(kZoomGone);
    if (m.message == WM_WINDOWPOSCHANGED && frame && m.hwnd == frame &&
        (reinterpret_cast<const WINDOWPOS*>(m.lParam)->flags & SWP_SHOWWINDOW))
      Note(kShown);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK PostedMessages(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const MSG& m = *reinterpret_cast<MSG*>(lParam);
    if (m.message == WM_MG_OPENINGDONE && Frame() && m.hwnd == Frame()) Note(kOpeningDone);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

CMgGame* CreateMgGame() {
  Note(kConstructed);
  klSetBootScene(StartRodeoScene);
  return new TimedModule;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Note(kEntry);
  HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, SentMessages, nullptr, GetCurrentThreadId());
  HHOOK posted = SetWindowsHookExW(WH_GETMESSAGE, PostedMessages, nullptr, GetCurrentThreadId());
  int code = theApp.Main();
  if (sent) UnhookWindowsHookEx(sent);
  if (posted) UnhookWindowsHookEx(posted);

  std::printf("one start, each part as ms since the process was created (the part's own length):\n");
  const char* const parts[kMarks] = {
      "process start to the shell's entry (Wine loads the program)",
      "the frame's construction",
      "window made, record loaded, sized and titled",
      "the zoom's dialog up",
      "the zoom over (designed: a little under 800 ms)",
      "the frame shown",
      "the slide-in over, WM_MG_OPENINGDONE taken (designed: at least 1850 ms)",
      "redraw and unpack done, the engine's Init starts",
      "the engine's Init done",
      "the first engine step"};
  double before = 0;
  for (int m = 0; m < kMarks; ++m) {
    if (!marked[m]) {
      std::printf("  %-75s  not reached\n", parts[m]);
      continue;
    }
    std::printf("  %-75s %6.0f ms (%5.0f)\n", parts[m], marks[m], marks[m] - before);
    before = marks[m];
  }

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
