#include "framework/dialog.h"

INT_PTR CDialog::DoModal(HWND owner) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                         DialogProcedure, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
}

bool CDialog::CreateModeless(HWND parent) {
  HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                                 DialogProcedure, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
  return hwnd != nullptr && hwnd == hwnd_;
}

void CDialog::EndDialog(INT_PTR result) {
  if (hwnd_) ::EndDialog(hwnd_, result);
}

bool CDialog::OnCommand(UINT id, UINT, HWND) {
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}
