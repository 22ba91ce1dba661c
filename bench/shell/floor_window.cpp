// The floor of a start under Wine: the least a Win32 program does before a player
// sees it, one window registered, created, shown and painted. It says when through
// the debugger output (for a time-stamped Wine trace, read as rodeo.exe's is) and
// prints the milliseconds since its process was created, then ends.
//   tools/wine-run <build>/bench/shell/floor_window.exe
#include <windows.h>

#include <cstdio>

namespace {

double SinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto value = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(value(now) - value(created)) / 10000.0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = L"FloorWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"floor", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 100, 100,
                                406, 365, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  OutputDebugStringA("floor: window shown\n");
  std::printf("process start to one window shown: %.0f ms\n", SinceProcessStart());
  DestroyWindow(window);
  return 0;
}
