// CDialog: a dialog made from a template resource, run modally (DoModal, through
// DialogBoxParamW, which runs its own message loop until EndDialog) or created
// modeless as a child (CDialogBar). The object sees every message of the dialog in
// WindowProc from WM_INITDIALOG on; OnInitDialog is the place to bind controls
// (SubclassDlgItem) and fill them.
#pragma once

#include <windows.h>

#include "framework/window.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId) : templateId_(templateId) {}

  // Runs the dialog; returns the value given to EndDialog, or -1 if the template
  // could not be made into a dialog.
  INT_PTR DoModal(HWND owner);
  void EndDialog(INT_PTR result);
  UINT GetTemplateId() const { return templateId_; }

 protected:
  // Creates the dialog modeless (its template decides child or popup).
  bool CreateModeless(HWND parent);
  void SetTemplateId(UINT templateId) { templateId_ = templateId; }
  // IDOK and IDCANCEL (Enter, Esc, the close box) end a modal dialog with that id.
  bool OnCommand(UINT id, UINT code, HWND control) override;
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

 private:
  UINT templateId_;
};
