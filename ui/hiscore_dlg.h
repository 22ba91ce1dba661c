// CHiScoreDlg (template 150): the table of the ten best results, drawn onto the
// board picture (bitmap 155) and revealed by a worker thread that slides it up
// band by band; the Send button hands the best result to the ranking page.
//
// The reveal worker draws only through its own device contexts and shares with
// the dialog only the job below (revealState atomic). Its last step hands the
// finished picture over by a posted message, so it never waits for the UI thread;
// closing the dialog during the reveal asks it to stop, and it stops within a
// frame (20 ms). The job owns the bitmaps and lives until both sides let go.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "core/win32/handle_owners.h"
#include "framework/dialog.h"
#include "records/mg_info.h"
#include "ui/flex_button.h"

constexpr int kTableWidth = 350;
constexpr int kTableHeight = 232;

// The board with the used rows drawn on it (shadow, then face one pixel up and
// left; the highlighted row yellow), as a bitmap compatible with the screen.
// Names and score texts are the record's code page 932, unitSuffix UTF-8. Null if
// the board does not load.
HBITMAP DrawHighScoreTable(const MgInfo& record, int highlight, const std::string& unitSuffix);

struct RevealJob {
  enum State : int { kIdle = 0, kRunning = 1, kStopRequested = 2 };
  static constexpr int kFirstPauseMs = 150;
  static constexpr int kFrameMs = 20;
  static constexpr int kBand = 17;

  std::atomic<int> revealState{kIdle};
  std::atomic<int> framesDrawn{0};
  HWND dialog = nullptr;
  HWND picture = nullptr;
  HBITMAP table = nullptr;   // the drawn table
  HBITMAP canvas = nullptr;  // what the control shows during the reveal
  ~RevealJob();
};

class CHiScoreDlg : public CDialog {
 public:
  // highlight: the row to show in yellow (the new record's rank) or -1. The record
  // must outlive the dialog; code names the game for the ranking.
  CHiScoreDlg(const MgInfo* record, int highlight, std::string code, std::string unitSuffix);
  ~CHiScoreDlg() override;

  int GetRevealState() const { return job_ ? job_->revealState.load() : 0; }
  const std::shared_ptr<RevealJob>& Job() const { return job_; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void StartReveal();
  void FinishReveal();
  void StopReveal();
  bool AnswerToolTip(NMHDR* header);

  const MgInfo* record_;
  int highlight_;
  std::string code_;
  std::string unitSuffix_;
  std::shared_ptr<RevealJob> job_;
  HANDLE worker_ = nullptr;
  HWND toolTip_ = nullptr;
  win32::GdiObject<HFONT> dialogFont_;  // the template's, made to show Japanese
  win32::GdiObject<HFONT> tipFont_;
  CFlexButton sendButton_;
};
