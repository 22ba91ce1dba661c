#include "ui/link_static.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "core/win32/wide_text.h"
#include "ui/hand_cursor.h"
#include "ui/japanese_font.h"

namespace {

INT_PTR ShellOpen(const std::wstring& target) {
  return reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOW));
}

std::wstring WindowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::vector<wchar_t> text(length + 1, L'\0');
  GetWindowTextW(hwnd, text.data(), length + 1);
  return std::wstring(text.data());
}

}  // namespace

CLinkStatic::Opener CLinkStatic::opener = ShellOpen;

CLinkStatic::~CLinkStatic() {
  if (toolTip_ && IsWindow(toolTip_)) ::DestroyWindow(toolTip_);
  if (hand_) DestroyCursor(hand_);
}

bool CLinkStatic::Attach(UINT id, HWND dialog) {
  if (!SubclassDlgItem(id, dialog)) return false;
  SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | SS_NOTIFY);
  if (linkTarget.empty()) linkTarget = Utf8FromWide(WindowText(hwnd_).c_str());

  LOGFONTW lf{};
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (GetObjectW(current, sizeof lf, &lf)) {
    lf.lfUnderline = underline ? TRUE : FALSE;
    font_ = MakeJapaneseFont(lf);
    if (font_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
  FitToText();
  if (!hand_) hand_ = LoadHandCursor();

  toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (toolTip_) {
    // The tip is Japanese: the tooltip's own font may have no such characters.
    tipFont_ = JapaneseFontLike(toolTip_);
    if (tipFont_) SendMessageW(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(tipFont_.get()), FALSE);
    std::wstring text = WideFromUtf8(linkTarget.c_str());
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = hwnd_;
    tool.uId = 1;
    tool.lpszText = &text[0];
    GetClientRect(hwnd_, &tool.rect);
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return true;
}

void CLinkStatic::Redraw() {
  if (!hwnd_) return;
  // The text is drawn on no background of its own (the dialog's shows through), so
  // the dialog's part under it is drawn again first.
  HWND parent = GetParent(hwnd_);
  RECT r;
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(parent, &r, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CLinkStatic::SetColours(COLORREF normal, COLORREF visitedC, COLORREF hover) {
  if (normal != kKeep) normalColour = normal;
  if (visitedC != kKeep) visitedColour = visitedC;
  if (hover != kKeep) hoverColour = hover;
  Redraw();
}

void CLinkStatic::SetLink(const std::string& target, const char* tip) {
  linkTarget = target;
  FitToText();
  if (tip && toolTip_) {
    std::wstring text = WideFromUtf8(tip);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = hwnd_;
    tool.uId = 1;
    tool.lpszText = &text[0];
    SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void CLinkStatic::FitToText() {
  if (!autoSize || !hwnd_) return;
  HWND parent = GetParent(hwnd_);
  RECT r;
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  std::wstring text = WindowText(hwnd_);
  win32::WindowDc dc(hwnd_);
  SIZE size{};
  {
    win32::SelectedObject font(dc.get(), font_ ? font_.get()
                                              : reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  }
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  int height = r.bottom - r.top, width = r.right - r.left;
  if (style & SS_CENTERIMAGE) {
    r.top += (height - size.cy) / 2;
    r.bottom -= (height - size.cy) / 2;
  } else {
    r.bottom = r.top + size.cy;
  }
  if ((style & SS_TYPEMASK) == SS_CENTER) {
    r.left += (width - size.cx) / 2;
    r.right -= (width - size.cx) / 2;
  } else if ((style & SS_TYPEMASK) == SS_RIGHT) {
    r.left = r.right - size.cx;
  }
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // A tool keeps the rectangle it was given: without this, a link whose text came
  // after it was attached keeps a tool of its old (often empty) size and never
  // shows its tip.
  UpdateToolRect();
}

void CLinkStatic::UpdateToolRect() {
  if (!toolTip_) return;
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = hwnd_;
  tool.uId = 1;
  GetClientRect(hwnd_, &tool.rect);
  SendMessageW(toolTip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

COLORREF CLinkStatic::CurrentColour() const {
  if (hovering) return hoverColour;
  return visited ? visitedColour : normalColour;
}

void CLinkStatic::OnClicked() {
  INT_PTR result = opener(WideFromUtf8(linkTarget.c_str()));
  visited = result > 32 ? 1 : 0;
  Redraw();
  if (!visited) {
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBoxW(hwnd_, L"リンクのオープンに失敗しました", L"エラー", MB_ICONHAND | MB_OK);
  }
}

bool CLinkStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, CurrentColour());
    SetBkMode(dc, TRANSPARENT);
    *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    return true;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
    OnClicked();
    *result = 0;
    return true;
  }
  return false;
}

LRESULT CLinkStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (toolTip_ && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    MSG msg = GetCurrentMessage();
    SendMessageW(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  }
  switch (message) {
    case WM_SETCURSOR:
      if (hand_) {
        SetCursor(hand_);
        return TRUE;
      }
      return FALSE;
    case WM_MOUSEMOVE: {
      LRESULT result = Default();
      POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT client;
      GetClientRect(hwnd_, &client);
      if (hovering) {
        if (!PtInRect(&client, p)) {
          ReleaseCapture();  // WM_CAPTURECHANGED clears hovering
          hovering = 0;
          Redraw();
        }
      } else {
        hovering = 1;
        Redraw();
        SetCapture(hwnd_);
      }
      return result;
    }
    case WM_CAPTURECHANGED:
      if (hovering) {
        hovering = 0;
        Redraw();
      }
      return Default();
    case WM_DESTROY:
      if (toolTip_) {
        ::DestroyWindow(toolTip_);
        toolTip_ = nullptr;
      }
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
