#include "ui/record_dialogs.h"

#include "records/stored_record.h"
#include "ui/hiscore_dlg.h"
#include "ui/new_record_dlg.h"
#include "ui/version_dlg.h"
#include "ui/win_record_platform.h"
#include "ui/zoom_intro_dlg.h"

namespace {

template <typename Run>
INT_PTR Paused(CModalPause* pause, Run run) {
  if (pause) pause->SuspendForModal();
  INT_PTR result = run();
  if (pause) pause->ResumeAfterModal();
  return result;
}

}  // namespace

bool LoadStoredRecord(const CRegistryProfile& profile, const char* code, MgInfo* record) {
  CWinRecordPlatform platform(profile);
  return LoadRecord(code, platform, record);
}

void SaveStoredRecord(const CRegistryProfile& profile, const char* code, const MgInfo& record) {
  CWinRecordPlatform platform(profile);
  SaveRecord(code, platform, record);
}

void TakeWindowPosition(HWND frame, MgInfo* record) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(frame, &placement)) return;
  // The placement is in work-area coordinates; the record keeps screen ones.
  int left = placement.rcNormalPosition.left, top = placement.rcNormalPosition.top;
  if (!(GetWindowLongPtrW(frame, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(frame, MONITOR_DEFAULTTOPRIMARY), &info)) {
      left += info.rcWork.left - info.rcMonitor.left;
      top += info.rcWork.top - info.rcMonitor.top;
    }
  }
  record->windowX = left;
  record->windowY = top;
}

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

void RunZoomIntro(HWND frame, const RECT& windowRect) {
  CZoomIntroDlg dialog(windowRect);
  dialog.DoModal(frame);
}
