// Start-up and the game loop of rodeo.exe: a frame window holding the 400 x 300
// game view, hosting the game module and ticking it whenever the loop is idle.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <string>

#include "engine/mg_game.h"
#include "engine/mg_host.h"
#include "core/win32/wide_text.h"
#include "shell/asset_pack.h"

namespace {

const wchar_t kFrameClass[] = L"RodeoFrame";
const wchar_t kViewClass[] = L"RodeoView";

class BareFrame : public CMgHost {
 public:
  HWND frame = nullptr;
  HWND view = nullptr;
  CMgGame* game = nullptr;
  MgGameDesc desc;
  CAssetPack pack;
  int state = 0;
  std::string result;
  static constexpr UINT kResultMessage = WM_USER + 10;

  // Shows the last ride's time after the title, as "… 3.088 秒ポムル".
  void ShowResult() {
    std::string time = result.substr(std::min(result.find_first_not_of(' '), result.size()));
    std::string caption = desc.title + "  " + time + " " + desc.unitSuffix;
    SetWindowTextW(frame, WideFromUtf8(caption.c_str()).c_str());
  }

  KlWindow GetViewWindow() override { return view; }
  void RequestState(int request) override {
    if (request == 0) {
      state = 0;
      if (game) game->Resync();
    } else if (request == 1 && state == 0) {
      state = 1;
      if (game) game->OnStart();
    } else if (request == 2 && state != 0) {
      state = state == 2 ? 1 : 2;
      if (game) game->Stop(state == 2 ? 1 : 0);
    }
  }
  int GetState() override { return state; }
  // The result arrives in the middle of a game step; it is shown once the step is over.
  void ReportResult(const char* text, int) override {
    result = text;
    PostMessageW(frame, kResultMessage, 0, 0);
  }
  void SetTickInterval(int ms) override { desc.tickInterval = ms; }
  int GetTickInterval() override { return desc.tickInterval; }
  const char* GetAssetPath(const char* fileName) override { return pack.FindPath(fileName); }
};

BareFrame app;

LRESULT CALLBACK ViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (app.game) {
    MSG msg{hwnd, message, wParam, lParam, 0, {0, 0}};
    app.game->FilterMessage(&msg);
  }
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) app.RequestState(1);
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    if (app.game) app.game->Tick(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) DestroyWindow(hwnd);
      if (wParam == VK_F6) app.RequestState(2);  // pause toggle
      return 0;
    case WM_ACTIVATEAPP:
      if (!wParam && app.state == 1) app.RequestState(2);  // leaving pauses a ride
      return 0;
    case BareFrame::kResultMessage:
      app.ShowResult();
      return 0;
    case WM_DESTROY:
      if (app.game) {
        app.game->Shutdown();
        delete app.game;
        app.game = nullptr;
      }
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

bool CreateWindows(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFrameClass;
  RegisterClassW(&wc);
  wc.lpfnWndProc = ViewProc;
  wc.style = CS_DBLCLKS;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kViewClass;
  RegisterClassW(&wc);

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, app.desc.viewWidth, app.desc.viewHeight};
  AdjustWindowRect(&r, style, FALSE);
  app.frame = CreateWindowW(kFrameClass, WideFromUtf8(app.desc.title.c_str()).c_str(), style,
                            CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                            nullptr, nullptr, instance, nullptr);
  if (!app.frame) return false;
  app.view = CreateWindowW(kViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, app.desc.viewWidth,
                           app.desc.viewHeight, app.frame, nullptr, instance, nullptr);
  return app.view != nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  app.game = CreateMgGame();
  if (!app.game) return 1;
  app.game->Describe(&app.desc);
  SetMgHost(&app);
  if (!CreateWindows(instance)) return 1;
  ShowWindow(app.frame, show);
  UpdateWindow(app.frame);
  if (!app.pack.Extract(999)) {
    // Without its pictures and sounds the engine must not start.
    MessageBoxW(app.frame, L"リソースが壊れています。", WideFromUtf8(app.desc.title.c_str()).c_str(), MB_ICONSTOP | MB_OK);
    delete app.game;
    app.game = nullptr;
    DestroyWindow(app.frame);
  } else if (app.game->Init() != 0) {
    MessageBoxW(app.frame, L"DirectX の初期化に失敗しました。", WideFromUtf8(app.desc.title.c_str()).c_str(), MB_ICONSTOP);
    DestroyWindow(app.frame);
  }

  // The loop never waits: between messages it ticks the game whenever the clock moved.
  DWORD lastTick = timeGetTime();
  MSG msg;
  for (;;) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) break;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    DWORD now = timeGetTime();
    bool active = GetActiveWindow() == app.frame;
    if (app.game && active && now - lastTick > static_cast<DWORD>(app.desc.tickInterval)) {
      lastTick = now;
      if (!app.game->Tick(1)) DestroyWindow(app.frame);
    } else {
      Sleep(active ? 0 : 10);
    }
  }
  app.pack.Release();  // the game has shut down with the window: its files can go
  return static_cast<int>(msg.wParam);
}
