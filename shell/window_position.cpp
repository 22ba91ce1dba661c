#include "shell/window_position.h"

void TakeWindowPosition(HWND frame, MgInfo* record) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(frame, &placement)) return;
  // The placement is in work-area coordinates; the record keeps screen ones.
  int left = placement.rcNormalPosition.left, top = placement.rcNormalPosition.top;
  if (!(GetWindowLongPtrW(frame, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(frame, MONITOR_DEFAULTTOPRIMARY), &info)) {
      left += info.rcWork.left - info.rcMonitor.left;
      top += info.rcWork.top - info.rcMonitor.top;
    }
  }
  record->windowX = left;
  record->windowY = top;
}

std::vector<shell::ScreenRect> MonitorWorkAreas() {
  std::vector<shell::ScreenRect> areas;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM found) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info)) {
          const RECT& r = info.rcWork;
          reinterpret_cast<std::vector<shell::ScreenRect>*>(found)->push_back({r.left, r.top, r.right, r.bottom});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  if (areas.empty()) {
    RECT r{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) areas.push_back({r.left, r.top, r.right, r.bottom});
  }
  return areas;
}

shell::ScreenPoint PlaceOnMonitors(int x, int y, int width, int height) {
  return shell::PlaceWindow(x, y, width, height, MonitorWorkAreas());
}
