#include "ui/etched_line.h"

#include "ui/bar_layout.h"

LRESULT CEtchedLine::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return CWnd::WindowProc(message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  bar::EtchedLines lines = bar::EtchedLineCoordinates(client.right, client.bottom);
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  HGDIOBJ old = SelectObject(dc, shadow);
  MoveToEx(dc, lines.shadowFrom.x, lines.shadowFrom.y, nullptr);
  LineTo(dc, lines.shadowTo.x, lines.shadowTo.y);
  SelectObject(dc, light);
  MoveToEx(dc, lines.lightFrom.x, lines.lightFrom.y, nullptr);
  LineTo(dc, lines.lightTo.x, lines.lightTo.y);
  SelectObject(dc, old);
  DeleteObject(shadow);
  DeleteObject(light);
  EndPaint(hwnd_, &ps);
  return 0;
}
