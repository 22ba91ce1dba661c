#include "ui/hover_label.h"

#include "ui/bar_layout.h"
#include "ui/japanese_font.h"

HoverLabel& HoverLabel::Instance() {
  static HoverLabel label;
  return label;
}

bool HoverLabel::MakeWindow(HWND owner) {
  if (!font_) {
    // 9-point "ＭＳ Ｐゴシック", or the Japanese face the system has instead.
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(9, GetDeviceCaps(win32::WindowDc(nullptr).get(), LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lstrcpynW(lf.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
    font_ = MakeJapaneseFont(lf);
  }
  if (GetSafeHwnd()) return true;
  const wchar_t* windowClass = RegisterWindowClass(CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW);
  return CreateEx(0, windowClass, nullptr, WS_POPUP | WS_BORDER, RECT{0, 0, 10, 10}, owner, 0);
}

void HoverLabel::Show(HWND window, int stringId, UINT delayMs) {
  if (!MakeWindow(GetAncestor(window, GA_ROOT))) return;
  if (stringId == -1) stringId = GetDlgCtrlID(window);
  wchar_t text[256] = {};
  LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(stringId), text, 256);
  text_ = text;
  SIZE extent = {0, 0};
  {
    win32::WindowDc dc(hwnd_);
    win32::SelectedObject font(dc.get(), font_.get());
    GetTextExtentPoint32W(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &extent);
  }
  size_ = {extent.cx + 6, extent.cy + 4};
  ++serial_;
  hidden_ = false;
  SetTimer(hwnd_, serial_, delayMs, nullptr);
}

void HoverLabel::Hide() {
  if (!GetSafeHwnd()) return;
  ShowWindow(hwnd_, SW_HIDE);
  hidden_ = true;
}

void HoverLabel::OnTimer(UINT_PTR id) {
  KillTimer(hwnd_, id);
  if (id != serial_ || hidden_) return;
  POINT cursor;
  GetCursorPos(&cursor);
  int top = cursor.y;
  ICONINFO arrow{};
  if (GetIconInfo(LoadCursorW(nullptr, IDC_ARROW), &arrow)) {
    BITMAP mask{};
    GetObjectW(arrow.hbmMask, sizeof(mask), &mask);
    top = bar::HoverLabelTop(cursor.y, mask.bmHeight, mask.bmBitsPixel, static_cast<int>(arrow.yHotspot));
    if (arrow.hbmMask) DeleteObject(arrow.hbmMask);
    if (arrow.hbmColor) DeleteObject(arrow.hbmColor);
  }
  SetWindowPos(hwnd_, HWND_TOPMOST, cursor.x, top, size_.cx, size_.cy,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT HoverLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      SetBkMode(dc, TRANSPARENT);
      {
        win32::SelectedObject font(dc, font_.get());
        DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &client,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      }
      EndPaint(hwnd_, &ps);
      return 0;
    }
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
