// The dialogs the main frame opens, each run modally with the game paused around it
// (CModalPause), and what they are handed of the frame's record: the dialogs know
// nothing of the record, the frame hands them its rows and totals and stores what
// they return. Everything runs on the UI thread.
//
// Who calls what (CMgFrame):
//   WM_MG_RESULT:       ShowResultDialogs(frame, pause, &record, desc, text, ms).
//   F8 / bar button:    ShowHighScores(frame, pause, record, desc, -1).
//   F10 / bar button:   ShowAbout(frame, pause, record, desc).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/mg_game.h"
#include "records/mg_info.h"
#include "ui/modal_pause.h"
#include "ui/score_table.h"

// A finished ride: ranks the result into the table; when it ranks, pauses, asks the
// name (CNewRecordDlg), stores it as the last name and the entry's name, and, if the
// dialog was closed with "ハイスコア", shows the table with the new row highlighted.
// Returns the rank (0-9) or -1 (nothing shown).
int ShowResultDialogs(HWND frame, CModalPause* pause, MgInfo* record, const MgGameDesc& desc,
                      const char* resultText, uint32_t resultMs);

// The table (CHiScoreDlg), paused; highlight -1 for none.
void ShowHighScores(HWND frame, CModalPause* pause, const MgInfo& record, const MgGameDesc& desc,
                    int highlight);

// The About box (CVersionDlg), paused.
void ShowAbout(HWND frame, CModalPause* pause, const MgInfo& record, const MgGameDesc& desc);

// The record's used rows, as the table shows them.
ScoreRows ScoreRowsOf(const MgInfo& record);

// The Send button's address: the record's best entry and stamp as the ranking block
// for `code`. The record must outlive what is returned.
RankingAddress RankingAddressOf(const std::string& code, const MgInfo& record);
