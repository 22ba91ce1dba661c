#include "ui/hiscore_dlg.h"

#include <commctrl.h>

#include <cstring>

#include "core/win32/wide_text.h"
#include "ui/cp932_win.h"
#include "ui/dialog_ids.h"
#include "ui/japanese_font.h"
#include "ui/send_ranking.h"
#include "ui/window_messages.h"

namespace {

// The table font: bold 12-point "ＭＳ Ｐゴシック" for the screen (or the Japanese
// face the system has instead: the names are Japanese).
win32::GdiObject<HFONT> MakeTableFont(HDC screen) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(120, GetDeviceCaps(screen, LOGPIXELSY), 720);
  lf.lfWeight = FW_BOLD;
  wcscpy(lf.lfFaceName, L"ＭＳ Ｐゴシック");
  return MakeJapaneseFont(lf);
}

void DrawRow(HDC dc, int dx, int dy, int y, const std::wstring& name, const std::wstring& score,
             const std::wstring& suffix) {
  TextOutW(dc, 44 + dx, y + dy, name.c_str(), static_cast<int>(name.size()));
  RECT box = {199 + dx, y + dy, 272 + dx, y + 32 + dy};
  DrawTextW(dc, score.c_str(), static_cast<int>(score.size()), &box, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
  TextOutW(dc, 280 + dx, y + dy, suffix.c_str(), static_cast<int>(suffix.size()));
}

}  // namespace

HBITMAP DrawHighScoreTable(const ScoreRows& rows, int highlight, const std::string& unitSuffix) {
  HBITMAP board = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                  MAKEINTRESOURCEW(IDB_HISCORE_BOARD), IMAGE_BITMAP,
                                                  0, 0, LR_DEFAULTCOLOR));
  if (!board) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  win32::GdiObject<HFONT> font = MakeTableFont(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, board);
  HGDIOBJ oldFont = SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  std::wstring suffix = WideFromUtf8(unitSuffix.c_str());
  for (int i = 0; i < static_cast<int>(rows.size()) && i < kTableRows; ++i) {
    std::wstring name = WideFromCp932(rows[i].playerName);
    std::wstring score = WideFromCp932(rows[i].scoreText);
    int y = 35 + 19 * i;
    bool lit = i == highlight;
    SetTextColor(dc, lit ? RGB(152, 144, 6) : RGB(128, 128, 128));
    DrawRow(dc, 0, 0, y, name, score, suffix);
    SetTextColor(dc, lit ? RGB(255, 255, 0) : RGB(255, 255, 255));
    DrawRow(dc, -1, -1, y, name, score, suffix);
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  return board;
}

bool RevealJob::Run() {
  if (!SleepUntil(GetTickCount(), kFirstPauseMs)) return false;
  win32::MemoryDc source(CreateCompatibleDC(nullptr));
  win32::MemoryDc board(CreateCompatibleDC(nullptr));
  win32::WindowDc control(picture);
  win32::SelectedObject tableSelected(source.get(), table.get());
  win32::SelectedObject canvasSelected(board.get(), canvas.get());
  for (int frame = 0; frame < kFrames; ++frame) {
    DWORD tick = GetTickCount();
    // One band more of the table's top each frame, reaching down to the bottom edge.
    int rows = kBand * (frame + 1);
    copiedFrom = {0, 0, kTableWidth, rows};
    copiedTo = {0, kTableHeight - rows};
    BitBlt(board.get(), copiedTo.x, copiedTo.y, copiedFrom.right - copiedFrom.left,
           copiedFrom.bottom - copiedFrom.top, source.get(), copiedFrom.left, copiedFrom.top, SRCCOPY);
    BitBlt(control.get(), 0, 0, kTableWidth, kTableHeight, board.get(), 0, 0, SRCCOPY);
    GdiFlush();
    ++framesDrawn;
    FrameShown(frame);
    if (!SleepUntil(tick, kFrameMs)) return false;
  }
  return true;
}

// The handover happens on the UI thread; a dialog already gone simply drops it.
void RevealJob::Completed() { PostMessageW(dialog, WM_REVEAL_DONE, 0, 0); }

CHiScoreDlg::CHiScoreDlg(ScoreRows rows, int highlight, RankingAddress rankingAddress, std::string unitSuffix)
    : CDialog(IDD_HISCORE),
      rows_(std::move(rows)),
      highlight_(highlight),
      rankingAddress_(std::move(rankingAddress)),
      unitSuffix_(std::move(unitSuffix)) {}

CHiScoreDlg::~CHiScoreDlg() { StopReveal(); }

BOOL CHiScoreDlg::OnInitDialog() {
  dialogFont_ = JapaneseFontLike(hwnd_);
  SetDialogFont(hwnd_, dialogFont_.get());
  // The Send button's tooltip: its text is asked for (string 1101) when shown.
  toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND send = GetDlgItem(hwnd_, IDC_SEND);
  if (toolTip_) {
    tipFont_ = JapaneseFontLike(toolTip_);  // the tip is Japanese
    if (tipFont_) SendMessageW(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(tipFont_.get()), FALSE);
  }
  if (toolTip_ && send) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(send);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  if (sendButton_.AttachToControl(IDC_SEND, hwnd_)) {
    sendButton_.SetSingleIcon(IDI_SEND);
    sendButton_.flexStyle = flex::kThinRaised;
    // The button refuses the focus; a press on it hands it to OK, as the opening
    // does below, so that ESC and Return still close the table afterwards.
    sendButton_.refusedFocusTo = GetDlgItem(hwnd_, IDOK);
    InvalidateRect(send, nullptr, TRUE);
  }

  job_ = std::make_shared<RevealJob>();
  job_->dialog = hwnd_;
  job_->picture = GetDlgItem(hwnd_, IDC_HISCORE_PICTURE);
  job_->table.reset(DrawHighScoreTable(rows_, highlight_, unitSuffix_));
  {
    win32::WindowDc dc(hwnd_);
    job_->canvas.reset(CreateCompatibleBitmap(dc.get(), kTableWidth, kTableHeight));
  }
  if (job_->canvas) {
    {
      win32::MemoryDc memory(CreateCompatibleDC(nullptr));
      win32::SelectedObject selected(memory.get(), job_->canvas.get());
      RECT all = {0, 0, kTableWidth, kTableHeight};
      FillRect(memory.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    SendMessageW(job_->picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(job_->canvas.get()));
  }
  if (rows_.empty()) EnableWindow(send, FALSE);
  StartReveal();
  // The first tab stop is the Send button, which refuses the focus: given to it, the
  // focus would end up nowhere and ESC and Return would do nothing. OK takes it.
  SetFocus(GetDlgItem(hwnd_, IDOK));
  return FALSE;
}

void CHiScoreDlg::StartReveal() {
  job_->frameShown = revealFrameShown_;
  // Nothing to animate, or no thread for it: show what there is at once.
  if (!job_->picture || !job_->table || !job_->canvas || !worker_.Start(job_)) FinishReveal();
}

void CHiScoreDlg::FinishReveal() {
  if (!job_ || !job_->table) return;
  HWND picture = job_->picture;
  SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(job_->table.get()));
  job_->canvas.reset();  // the worker has ended: it is in no context any more
  RedrawWindow(picture, nullptr, nullptr, RDW_UPDATENOW | RDW_NOERASE | RDW_INVALIDATE);
}

// The worker never waits for this thread, so it ends at once; the bound is only a
// guard, and the job outlives a late worker in any case.
void CHiScoreDlg::StopReveal() { worker_.Stop(); }

bool CHiScoreDlg::AnswerToolTip(NMHDR* header) {
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
  UINT_PTR id = header->idFrom;
  if (info->uFlags & TTF_IDISHWND) id = static_cast<UINT_PTR>(GetDlgCtrlID(reinterpret_cast<HWND>(id)));
  const wchar_t* text = nullptr;
  int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id),
                           reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return false;
  if (length > 79) length = 79;
  wmemcpy(info->szText, text, length);
  info->szText[length] = L'\0';
  info->lpszText = info->szText;
  SetWindowPos(header->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

bool CHiScoreDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_SEND && code == BN_CLICKED) {
    SendRanking(hwnd_, rankingAddress_);
    return true;
  }
  return CDialog::OnCommand(id, code, control);
}

LRESULT CHiScoreDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_REVEAL_DONE:
      FinishReveal();
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->code == TTN_GETDISPINFOW && AnswerToolTip(header)) return TRUE;
      break;
    }
    case WM_DESTROY:
      StopReveal();
      if (toolTip_) {
        ::DestroyWindow(toolTip_);
        toolTip_ = nullptr;
      }
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
