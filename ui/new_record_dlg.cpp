#include "ui/new_record_dlg.h"

#include <cstring>
#include <vector>

#include "core/win32/wide_text.h"
#include "ui/cp932_win.h"
#include "ui/dialog_ids.h"
#include "ui/japanese_font.h"

namespace {

std::wstring WindowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::vector<wchar_t> text(length + 1, L'\0');
  GetWindowTextW(hwnd, text.data(), length + 1);
  return std::wstring(text.data());
}

// A bold copy of a font (the GUI font when font is null), showing Japanese.
win32::GdiObject<HFONT> MakeBoldFont(HFONT font) {
  LOGFONTW lf{};
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (!GetObjectW(font, sizeof lf, &lf)) return nullptr;
  lf.lfWeight = FW_BOLD;
  return MakeJapaneseFont(lf);
}

}  // namespace

// ---- CNameEdit

bool CNameEdit::Acceptable(const std::wstring& text) const {
  int bytes = Cp932ByteCount(text);
  return bytes >= 0 && bytes <= maxBytes_;
}

LRESULT CNameEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR:
    case WM_UNICHAR:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_PASTE:
    case EM_REPLACESEL:
    case WM_SETTEXT:
    case WM_UNDO:
    case EM_UNDO: {
      if (restoring_) break;
      // Whatever the message does to the text: if the result is more than the
      // record can hold, or holds a character it cannot, put the text back.
      std::wstring before = WindowText(hwnd_);
      DWORD start = 0, end = 0;
      SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      LRESULT result = Default();
      std::wstring after = WindowText(hwnd_);
      if (after != before && !Acceptable(after) && Acceptable(before)) {
        restoring_ = true;
        SetWindowTextW(hwnd_, before.c_str());
        SendMessageW(hwnd_, EM_SETSEL, start, end);
        restoring_ = false;
        ++refusals;
        MessageBeep(MB_OK);
        if (message == WM_SETTEXT) return FALSE;
      }
      return result;
    }
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

// ---- CNewRecordDlg

CNewRecordDlg::CNewRecordDlg(std::string scoreText, int rank, std::string lastName, std::string unitSuffix)
    : CDialog(IDD_NEWRECORD),
      scoreText_(std::move(scoreText)),
      rank_(rank),
      lastName_(std::move(lastName)),
      unitSuffix_(std::move(unitSuffix)),
      nameEdit_(kNameBytes) {}

std::string CNewRecordDlg::MessageText() const {
  if (rank_ < 0) return std::string();
  std::string score = Utf8FromWide(WideFromCp932(scoreText_).c_str());
  return "ナイス！" + score + " " + unitSuffix_ + "で " + std::to_string(rank_ + 1) + " 位入賞！";
}

BOOL CNewRecordDlg::OnInitDialog() {
  // The labels, the buttons and the name box (a typed Japanese name) alike.
  dialogFont_ = JapaneseFontLike(hwnd_);
  SetDialogFont(hwnd_, dialogFont_.get());
  HWND message = GetDlgItem(hwnd_, IDC_NEWRECORD_MESSAGE);
  SetWindowTextW(message, WideFromUtf8(MessageText().c_str()).c_str());
  boldFont_ = MakeBoldFont(reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
  if (boldFont_) SendMessageW(message, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);

  HWND edit = GetDlgItem(hwnd_, IDC_NAME_EDIT);
  nameEdit_.SubclassWindow(edit);
  // In characters; the byte limit is the box's own rule above.
  SendMessageW(edit, EM_LIMITTEXT, kNameBytes, 0);
  std::wstring last = WideFromCp932(lastName_);
  if (!last.empty()) {
    SetWindowTextW(edit, last.c_str());
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  }
  UpdateButtons();
  return TRUE;
}

void CNewRecordDlg::UpdateButtons() {
  BOOL any = GetWindowTextLengthW(GetDlgItem(hwnd_, IDC_NAME_EDIT)) > 0;
  EnableWindow(GetDlgItem(hwnd_, IDOK), any);
  EnableWindow(GetDlgItem(hwnd_, IDCANCEL), any);
}

bool CNewRecordDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_NAME_EDIT && code == EN_CHANGE) {
    UpdateButtons();
    return true;
  }
  return CDialog::OnCommand(id, code, control);
}

void CNewRecordDlg::KeepName() {
  // The box holds only what code page 932 has; anything else would be left out.
  name_ = Cp932FromWide(WindowText(GetDlgItem(hwnd_, IDC_NAME_EDIT)));
}

LRESULT CNewRecordDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) KeepName();
  return CDialog::WindowProc(message, wParam, lParam);
}
