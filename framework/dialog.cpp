#include "framework/dialog.h"

#include "core/win32/trace_failure.h"

INT_PTR CDialog::DoModal(HWND owner) {
  INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                                   DialogProcedure, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
  if (result == -1) TraceLastError("DialogBoxParamW(template %u)", templateId_);
  return result;
}

bool CDialog::CreateModeless(HWND parent) {
  HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                                 DialogProcedure, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
  if (!hwnd) TraceLastError("CreateDialogParamW(template %u)", templateId_);
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
