#include "shell/frame_dialogs.h"

#include <cstring>

#include "records/high_score_table.h"
#include "records/ranking_block.h"
#include "ui/hiscore_dlg.h"
#include "ui/new_record_dlg.h"
#include "ui/version_dlg.h"

static_assert(CNewRecordDlg::kNameBytes == kNameBytes, "the name box holds what the record stores");

namespace {

template <typename Run>
INT_PTR Paused(CModalPause* pause, Run run) {
  if (pause) pause->SuspendForModal();
  INT_PTR result = run();
  if (pause) pause->ResumeAfterModal();
  return result;
}

// A NUL-terminated text field of the record, never read past its end.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

}  // namespace

int ShowResultDialogs(HWND frame, CModalPause* pause, MgInfo* record, const MgGameDesc& desc,
                      const char* resultText, uint32_t resultMs) {
  int rank = InsertResult(record, resultText, resultMs);
  if (rank < 0) return -1;
  CNewRecordDlg dialog(FieldText(record->table[rank].scoreText), rank, FieldText(record->lastPlayerName),
                       desc.unitSuffix);
  INT_PTR closedWith = Paused(pause, [&] {
    ReleaseCapture();
    return dialog.DoModal(frame);
  });
  // However it closed (1 or 2); a dialog that could not open (0, -1) asked nothing.
  if (closedWith > 0) StorePlayerName(record, rank, dialog.Name().c_str());
  if (closedWith == IDOK) ShowHighScores(frame, pause, *record, desc, rank);
  return rank;
}

void ShowHighScores(HWND frame, CModalPause* pause, const MgInfo& record, const MgGameDesc& desc,
                    int highlight) {
  CHiScoreDlg dialog(ScoreRowsOf(record), highlight, RankingAddressOf(desc.code, record), desc.unitSuffix);
  Paused(pause, [&] { return dialog.DoModal(frame); });
}

void ShowAbout(HWND frame, CModalPause* pause, const MgInfo& record, const MgGameDesc& desc) {
  CVersionDlg dialog(record.totalPlayMs, record.totalClicks, desc.title, desc.version);
  Paused(pause, [&] { return dialog.DoModal(frame); });
}

ScoreRows ScoreRowsOf(const MgInfo& record) {
  ScoreRows rows;
  for (const HighScoreEntry& e : record.table) {
    if (e.scoreText[0] == '\0') break;  // the used entries are a run from the top
    rows.push_back({FieldText(e.scoreText), FieldText(e.playerName)});
  }
  return rows;
}

RankingAddress RankingAddressOf(const std::string& code, const MgInfo& record) {
  return [code, &record](const std::string& page) { return RankingUrl(page, BestRankingEntry(code, record)); };
}
