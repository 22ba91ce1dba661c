#include "ui/button_bar.h"

#include <objbase.h>
#include <shellapi.h>

#include <thread>

#include "framework/frame_window.h"
#include "ui/bar_layout.h"
#include "ui/hand_cursor.h"

namespace {

static_assert(CButtonBar::kButtonCount == SlideInJob::kButtonCount, "one slide per button");

// Private to the bar: the slide-in worker has finished its frames.
const COLORREF kMagenta = RGB(255, 0, 255);

struct ButtonPictures {
  UINT id;
  UINT normal;    // look 0
  UINT hot;       // looks 1 and 2
  UINT disabled;  // look 5, or 0 for an embossed normal picture
};
// In layout order.
const ButtonPictures kButtons[CButtonBar::kButtonCount] = {
    {IDC_START, 139, 138, 145}, {IDC_STOP, 141, 140, 146}, {IDC_RESET, 137, 136, 144},
    {IDC_HISCORE, 135, 134, 0}, {IDC_HELP_COMMAND, 157, 156, 0},   {IDC_VERSION, 143, 142, 0},
    {IDC_EXIT, 133, 132, 0},
};
// The nine controls in layout order (bar_layout.h).
const UINT kLayoutIds[bar::kControlCount] = {IDC_START, IDC_STOP,    IDC_RESET,
                                             IDC_SEP1,  IDC_HISCORE, IDC_HELP_COMMAND,
                                             IDC_VERSION, IDC_SEP2,  IDC_EXIT};

RECT RectIn(HWND window, HWND parent) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

// The slide-in's worker is stopped by its own destructor.
CButtonBar::~CButtonBar() {
  if (handCursor_) DestroyCursor(handCursor_);
}

bool CButtonBar::Create(CFrameWnd* frame) {
  if (!CDialogBar::Create(frame, IDD_BUTTON_BAR, kBarStyle, kBarId)) return false;
  frameWindow_ = frame->GetSafeHwnd();
  SetUp();
  // The controls are placed in pixels; the bar's height is too.
  SetDefaultSize({GetDefaultSize().cx, kHeight});
  RECT client;
  GetClientRect(hwnd_, &client);
  PlaceLogo(client.right);
  return true;
}

void CButtonBar::SetUp() {
  for (int i = 0; i < kButtonCount; ++i) buttons_[i].AttachToControl(kButtons[i].id, hwnd_);
  separators_[0].SubclassDlgItem(IDC_SEP1, hwnd_);
  separators_[1].SubclassDlgItem(IDC_SEP2, hwnd_);
  logo_.SubclassDlgItem(IDC_LOGO, hwnd_);

  for (int i = 0; i < kButtonCount; ++i) {
    const ButtonPictures& p = kButtons[i];
    CBarButton& b = buttons_[i];
    if (p.disabled) b.grayWhenDisabled = 0;
    b.SetBitmap(p.normal, kMagenta, flex::kNormal);
    b.SetBitmap(p.hot, kMagenta, flex::kPressed);
    b.SetBitmap(p.hot, kMagenta, flex::kHot);
    if (p.disabled) b.SetBitmap(p.disabled, kMagenta, flex::kDisabled);
  }

  auto slots = bar::LayOutControls();
  for (int i = 0; i < bar::kControlCount; ++i) {
    const bar::Rect& r = slots[i].rect;
    SetWindowPos(GetDlgItem(hwnd_, static_cast<int>(kLayoutIds[i])), nullptr, r.left, r.top,
                 r.right - r.left, r.bottom - r.top, SWP_NOREDRAW | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  if (HWND logo = logo_.GetSafeHwnd())
    SetWindowLongPtrW(logo, GWL_STYLE, GetWindowLongPtrW(logo, GWL_STYLE) | SS_NOTIFY);
  handCursor_ = LoadHandCursor();
}

CBarButton* CButtonBar::GetButton(UINT id) {
  for (int i = 0; i < kButtonCount; ++i)
    if (kButtons[i].id == id) return &buttons_[i];
  return nullptr;
}

void CButtonBar::PlaceLogo(int barWidth) {
  HWND logo = logo_.GetSafeHwnd();
  HWND exitButton = buttons_[kButtonCount - 1].GetSafeHwnd();
  if (!logo || !exitButton) return;
  RECT logoRect = RectIn(logo, hwnd_);
  bar::Point at = bar::LogoPosition(barWidth, logoRect.right - logoRect.left,
                                    RectIn(exitButton, hwnd_).right);
  SetWindowPos(logo, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CButtonBar::StartSlideIn(HWND frameWindow, HWND viewWindow) {
  if (slideIn_ || !hwnd_) return;  // once
  auto job = std::make_shared<SlideInJob>();
  job->frame = frameWindow;
  job->bar = hwnd_;
  job->doneMessage = WM_SLIDEIN_DONE;
  POINT origin = {0, 0};
  MapWindowPoints(hwnd_, frameWindow, &origin, 1);
  job->barOrigin = origin;
  job->view = RectIn(viewWindow, frameWindow);
  RECT startRect = RectIn(buttons_[0].GetSafeHwnd(), hwnd_);
  RECT exitRect = RectIn(buttons_[kButtonCount - 1].GetSafeHwnd(), hwnd_);
  job->start = {startRect.left, startRect.top};
  job->canvasWidth = exitRect.right - startRect.left;
  job->canvasHeight = exitRect.bottom - exitRect.top;
  // The pictures as they are now (Stop and Reset show their disabled looks while
  // the game is stopped), copied: the job draws with its own.
  for (int i = 0; i < kButtonCount; ++i) {
    const CFlexButton::ImageSlot* slot = buttons_[i].CurrentImage();
    job->SetButton(i, slot ? slot->bitmap : nullptr, RectIn(buttons_[i].GetSafeHwnd(), hwnd_).left);
  }
  job->frameShown = slideInFrameShown_;
  frameWindow_ = frameWindow;
  slideIn_ = job;
  if (!slideInWorker_.Start(job)) FinishSlideIn();  // no animation: open at once
}

void CButtonBar::FinishSlideIn() {
  for (UINT id : kLayoutIds) {
    SetWindowPos(GetDlgItem(hwnd_, static_cast<int>(id)), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_SHOWWINDOW);
  }
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (IsWindow(frameWindow_)) PostMessageW(frameWindow_, WM_MG_OPENINGDONE, 0, 0);
}

// The worker never waits for this thread: the request ends its rest at once, or it
// ends after the frame it is drawing. The bound (500 ms) only guards against a
// stalled machine, and a worker past it still draws only with its own copies.
void CButtonBar::StopSlideIn() { slideInWorker_.Stop(); }

// Not an AnimationWorker: the opening is one shell call that cannot be asked to
// stop, has no frames to pace and may block for seconds while a browser starts.
// Nothing waits for it (the bar's destruction must not), so it runs detached and
// shares only the busy flag, which it keeps alive itself.
void CButtonBar::OpenHomePage() {
  if (homePageBusy_->exchange(true)) return;  // an opening is still under way
  std::thread([busy = homePageBusy_] {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    wchar_t url[512] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_HOMEPAGE, url, 512) > 0)
      ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOW);
    if (SUCCEEDED(com)) CoUninitialize();
    *busy = false;
  }).detach();
}

bool CButtonBar::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_LOGO) {
    if (code == STN_CLICKED) OpenHomePage();
    return true;
  }
  return CDialogBar::OnCommand(id, code, control);
}

LRESULT CButtonBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      PlaceLogo(LOWORD(lParam));
      return CDialogBar::WindowProc(message, wParam, lParam);
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == logo_.GetSafeHwnd() && handCursor_) {
        SetCursor(handCursor_);
        return TRUE;
      }
      return CDialogBar::WindowProc(message, wParam, lParam);
    case WM_SLIDEIN_DONE:  // posted by the worker when it has run to its end
      FinishSlideIn();
      return 0;
    case WM_DESTROY:
      StopSlideIn();
      return CDialogBar::WindowProc(message, wParam, lParam);
    default:
      return CDialogBar::WindowProc(message, wParam, lParam);
  }
}
