#include "framework/dialog_bar.h"

#include "core/win32/handle_owners.h"
#include "framework/frame_window.h"

CDialogBar::~CDialogBar() {
  if (frame_) frame_->RemoveControlBar(this);
}

bool CDialogBar::Create(CFrameWnd* frame, UINT templateId, DWORD barStyle, UINT barId) {
  if (!frame || !frame->GetSafeHwnd() || GetSafeHwnd()) return false;
  SetTemplateId(templateId);
  barStyle_ = barStyle;
  if (!CreateModeless(frame->GetSafeHwnd())) return false;
  frame_ = frame;
  SetWindowLongPtrW(hwnd_, GWLP_ID, static_cast<LONG_PTR>(barId));
  RECT rect;
  GetWindowRect(hwnd_, &rect);
  defaultSize_ = {rect.right - rect.left, rect.bottom - rect.top};
  frame->AddControlBar(this);
  ShowWindow(hwnd_, SW_SHOWNA);
  frame->RecalcLayout();
  return true;
}

void CDialogBar::SetDefaultSize(SIZE size) {
  defaultSize_ = size;
  if (frame_) frame_->RecalcLayout();
}

bool CDialogBar::OnCommand(UINT id, UINT code, HWND control) {
  if (!frame_ || !frame_->GetSafeHwnd()) return false;
  SendMessageW(frame_->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(control));
  return true;
}

LRESULT CDialogBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && (barStyle_ & kBorderBottom)) {
    win32::PaintDc paint(hwnd_);
    HDC dc = paint.get();
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT shadow = {client.left, client.bottom - 2, client.right, client.bottom - 1};
    RECT light = {client.left, client.bottom - 1, client.right, client.bottom};
    FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    return 0;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
