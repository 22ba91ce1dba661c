// The dialogs the main frame opens, each run modally with the game paused around it
// (CModalPause). Everything runs on the UI thread; the record is the frame's.
//
// Who calls what (CMgFrame):
//   WM_MG_RESULT:       ShowResultDialogs(frame, pause, &record, desc, text, ms).
//   F8 / bar button:    ShowHighScores(frame, pause, record, desc, -1).
//   F10 / bar button:   ShowAbout(frame, pause, record, desc).
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/mg_game.h"
#include "records/mg_info.h"
#include "ui/modal_pause.h"

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
