#include "ui/hiscore_dlg.h"

#include <commctrl.h>

#include <cstring>

#include "core/win32/wide_text.h"
#include "ui/cp932_win.h"
#include "ui/dialog_ids.h"
#include "ui/japanese_font.h"
#include "ui/send_ranking.h"

namespace {

std::wstring FieldText(const char* field, size_t size) {
  return WideFromCp932(std::string(field, strnlen(field, size)));
}

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

bool SleepUntil(const RevealJob& job, DWORD since, DWORD ms) {
  while (GetTickCount() - since < ms) {
    if (job.revealState.load() == RevealJob::kStopRequested) return false;
    Sleep(1);
  }
  return job.revealState.load() != RevealJob::kStopRequested;
}

DWORD WINAPI RevealThread(void* parameter) {
  auto* owned = static_cast<std::shared_ptr<RevealJob>*>(parameter);
  std::shared_ptr<RevealJob> job = *owned;
  delete owned;
  if (!SleepUntil(*job, GetTickCount(), RevealJob::kFirstPauseMs)) {
    job->revealState = RevealJob::kIdle;
    return 0;
  }
  HDC source = CreateCompatibleDC(nullptr);
  HDC canvas = CreateCompatibleDC(nullptr);
  HDC control = GetDC(job->picture);
  HGDIOBJ oldSource = SelectObject(source, job->table);
  HGDIOBJ oldCanvas = SelectObject(canvas, job->canvas);
  bool completed = false;
  for (int h = RevealJob::kBand, y = 215; y > 11; h += RevealJob::kBand, y -= RevealJob::kBand) {
    DWORD tick = GetTickCount();
    BitBlt(canvas, 0, y, kTableWidth, h, source, 0, 0, SRCCOPY);
    BitBlt(control, 0, 0, kTableWidth, kTableHeight, canvas, 0, 0, SRCCOPY);
    GdiFlush();
    ++job->framesDrawn;
    if (!SleepUntil(*job, tick, RevealJob::kFrameMs)) break;
    completed = y - RevealJob::kBand <= 11;
  }
  SelectObject(source, oldSource);
  SelectObject(canvas, oldCanvas);
  DeleteDC(source);
  DeleteDC(canvas);
  ReleaseDC(job->picture, control);
  // The handover happens on the UI thread; a dialog already gone simply drops it.
  if (completed) PostMessageW(job->dialog, WM_REVEAL_DONE, 0, 0);
  job->revealState = RevealJob::kIdle;
  return 0;
}

}  // namespace

HBITMAP DrawHighScoreTable(const MgInfo& record, int highlight, const std::string& unitSuffix) {
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
  for (int i = 0; i < static_cast<int>(kHighScoreCount); ++i) {
    const HighScoreEntry& e = record.table[i];
    if (e.scoreText[0] == '\0') break;
    std::wstring name = FieldText(e.playerName, sizeof e.playerName);
    std::wstring score = FieldText(e.scoreText, sizeof e.scoreText);
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

RevealJob::~RevealJob() {
  if (table) DeleteObject(table);
  if (canvas) DeleteObject(canvas);
}

CHiScoreDlg::CHiScoreDlg(const MgInfo* record, int highlight, std::string code, std::string unitSuffix)
    : CDialog(IDD_HISCORE),
      record_(record),
      highlight_(highlight),
      code_(std::move(code)),
      unitSuffix_(std::move(unitSuffix)) {}

CHiScoreDlg::~CHiScoreDlg() {
  StopReveal();
  if (worker_) CloseHandle(worker_);
}

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
    sendButton_.flexStyle = 1;
    // The button refuses the focus; a press on it hands it to OK, as the opening
    // does below, so that ESC and Return still close the table afterwards.
    sendButton_.refusedFocusTo = GetDlgItem(hwnd_, IDOK);
    InvalidateRect(send, nullptr, TRUE);
  }

  job_ = std::make_shared<RevealJob>();
  job_->dialog = hwnd_;
  job_->picture = GetDlgItem(hwnd_, IDC_HISCORE_PICTURE);
  job_->table = DrawHighScoreTable(*record_, highlight_, unitSuffix_);
  HDC dc = GetDC(hwnd_);
  job_->canvas = CreateCompatibleBitmap(dc, kTableWidth, kTableHeight);
  ReleaseDC(hwnd_, dc);
  if (job_->canvas) {
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, job_->canvas);
    RECT all = {0, 0, kTableWidth, kTableHeight};
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(memory, &all, black);
    DeleteObject(black);
    SelectObject(memory, old);
    DeleteDC(memory);
    SendMessageW(job_->picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(job_->canvas));
  }
  if (record_->table[0].scoreText[0] == '\0') EnableWindow(send, FALSE);
  StartReveal();
  // The first tab stop is the Send button, which refuses the focus: given to it, the
  // focus would end up nowhere and ESC and Return would do nothing. OK takes it.
  SetFocus(GetDlgItem(hwnd_, IDOK));
  return FALSE;
}

void CHiScoreDlg::StartReveal() {
  if (!job_->table || !job_->canvas) {
    FinishReveal();  // nothing to animate: show what there is
    return;
  }
  job_->revealState = RevealJob::kRunning;
  auto* parameter = new std::shared_ptr<RevealJob>(job_);
  worker_ = CreateThread(nullptr, 0, RevealThread, parameter, 0, nullptr);
  if (!worker_) {
    delete parameter;
    job_->revealState = RevealJob::kIdle;
    FinishReveal();
  }
}

void CHiScoreDlg::FinishReveal() {
  if (!job_ || !job_->table) return;
  HWND picture = job_->picture;
  SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(job_->table));
  if (job_->canvas) {
    DeleteObject(job_->canvas);
    job_->canvas = nullptr;
  }
  RedrawWindow(picture, nullptr, nullptr, RDW_UPDATENOW | RDW_NOERASE | RDW_INVALIDATE);
}

void CHiScoreDlg::StopReveal() {
  if (!job_) return;
  int running = RevealJob::kRunning;
  job_->revealState.compare_exchange_strong(running, RevealJob::kStopRequested);
  // The worker never waits for this thread, so it ends within a frame; the bound is
  // only a guard. The job outlives a late worker in any case.
  if (worker_) WaitForSingleObject(worker_, 1000);
}

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
    SendRanking(hwnd_, code_, *record_);
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
