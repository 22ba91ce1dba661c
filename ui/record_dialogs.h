// What the main frame calls to keep the record and to open the dialogs. Everything
// runs on the UI thread; the record is the frame's, held for the whole run.
//
// Who calls what (CMgFrame):
//   ShowAndLoad:        LoadStoredRecord, then recordLoaded = 1; RunZoomIntro with
//                       the window's rectangle; then it shows itself.
//   WM_MG_RESULT:       ShowResultDialogs(frame, pause, &record, desc, text, ms).
//   F8 / bar button:    ShowHighScores(frame, pause, record, desc, -1).
//   F10 / bar button:   ShowAbout(frame, pause, record, desc).
//   WM_DESTROY:         when recordLoaded: TakeWindowPosition, SaveStoredRecord.
//   WM_ENDSESSION with wParam TRUE (log-off, shut-down; no WM_DESTROY follows):
//                       the same as WM_DESTROY.
// The profile is the application's (CWinApp::GetProfile), with the registry key
// and profile name already set.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/mg_game.h"
#include "framework/registry_profile.h"
#include "records/mg_info.h"

// The frame's pause around a modal dialog (state 2 and the module's Stop, then back).
class CModalPause {
 public:
  virtual ~CModalPause() = default;
  virtual void SuspendForModal() = 0;
  virtual void ResumeAfterModal() = 0;
};

// The stored record, or the defaults (silently) when it is missing or damaged;
// the stamp's copy in "wconf.ini" is brought in line. True when the stored one was
// taken.
bool LoadStoredRecord(const CRegistryProfile& profile, const char* code, MgInfo* record);
void SaveStoredRecord(const CRegistryProfile& profile, const char* code, const MgInfo& record);
// windowX/windowY from the frame's normal (not minimised) position.
void TakeWindowPosition(HWND frame, MgInfo* record);

// A finished ride: ranks the result; when it ranks, pauses, asks the name
// (CNewRecordDlg) and, if that was closed with "ハイスコア", shows the table with the
// new row highlighted. Returns the rank (0-9) or -1 (nothing shown).
int ShowResultDialogs(HWND frame, CModalPause* pause, MgInfo* record, const MgGameDesc& desc,
                      const char* resultText, uint32_t resultMs);

// The table (CHiScoreDlg), paused; highlight -1 for none.
void ShowHighScores(HWND frame, CModalPause* pause, const MgInfo& record, const MgGameDesc& desc,
                    int highlight);

// The About box (CVersionDlg), paused.
void ShowAbout(HWND frame, CModalPause* pause, const MgInfo& record, const MgGameDesc& desc);

// The start-up zoom onto the window's rectangle (screen coordinates); returns when
// it has played. Before the frame is shown.
void RunZoomIntro(HWND frame, const RECT& windowRect);
