#include "ui/frame_dialogs.h"

#include "ui/hiscore_dlg.h"
#include "ui/new_record_dlg.h"
#include "ui/version_dlg.h"

namespace {

template <typename Run>
INT_PTR Paused(CModalPause* pause, Run run) {
  if (pause) pause->SuspendForModal();
  INT_PTR result = run();
  if (pause) pause->ResumeAfterModal();
  return result;
}

}  // namespace

int ShowResultDialogs(HWND frame, CModalPause* pause, MgInfo* record, const MgGameDesc& desc,
                      const char* resultText, uint32_t resultMs) {
  CNewRecordDlg dialog(record, resultText, resultMs, desc.unitSuffix);
  int rank = dialog.Rank();
  if (rank < 0) return -1;
  INT_PTR closedWith = Paused(pause, [&] {
    ReleaseCapture();
    return dialog.DoModal(frame);
  });
  if (closedWith == IDOK) ShowHighScores(frame, pause, *record, desc, rank);
  return rank;
}

void ShowHighScores(HWND frame, CModalPause* pause, const MgInfo& record, const MgGameDesc& desc,
                    int highlight) {
  CHiScoreDlg dialog(&record, highlight, desc.code, desc.unitSuffix);
  Paused(pause, [&] { return dialog.DoModal(frame); });
}

void ShowAbout(HWND frame, CModalPause* pause, const MgInfo& record, const MgGameDesc& desc) {
  CVersionDlg dialog(record, desc.title, desc.version);
  Paused(pause, [&] { return dialog.DoModal(frame); });
}
