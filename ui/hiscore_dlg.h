// CHiScoreDlg (template 150): the table of the ten best results, drawn onto the
// board picture (bitmap 155) and revealed by a worker thread that slides it up
// band by band; the Send button hands the best result to the ranking page.
//
// The reveal worker draws only through its own device contexts and shares with
// the dialog only the job below (revealState). Its last step hands the finished
// picture over by a posted message, so it never waits for the UI thread; closing
// the dialog during the reveal asks it to stop, and it stops at once (its rest
// between frames ends on the request). The job owns the bitmaps and lives until
// both sides let go.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "core/win32/handle_owners.h"
#include "framework/dialog.h"
#include "ui/animation_worker.h"
#include "ui/flex_button.h"
#include "ui/score_table.h"

constexpr int kTableWidth = 350;
constexpr int kTableHeight = 232;
constexpr int kTableRows = 10;  // the board has room for the ten best

// The board with the used rows drawn on it (shadow, then face one pixel up and
// left; the highlighted row yellow), as a bitmap compatible with the screen.
// Names and score texts are the record's code page 932, unitSuffix UTF-8. Null if
// the board does not load.
HBITMAP DrawHighScoreTable(const ScoreRows& rows, int highlight, const std::string& unitSuffix);

// The reveal, run by an animation worker: after a 150 ms pause, twelve frames 20 ms
// apart, each copying the top rows of the table onto the canvas one band (17 rows)
// higher and the canvas to the picture control; when it has run to its end it asks
// the dialog (posted) to show the table itself. The job owns both bitmaps.
class RevealJob : public AnimationJob {
 public:
  static constexpr int kFirstPauseMs = 150;
  static constexpr int kFrameMs = 20;
  static constexpr int kBand = 17;
  static constexpr int kFrames = 12;

  std::atomic<int> framesDrawn{0};
  HWND dialog = nullptr;
  HWND picture = nullptr;
  win32::GdiObject<HBITMAP> table;   // the drawn table
  win32::GdiObject<HBITMAP> canvas;  // what the control shows during the reveal

  // The copy of the frame being shown: these rows of the table went to copiedTo on
  // the canvas. Read them on the worker, in frameShown.
  RECT copiedFrom{};
  POINT copiedTo{};

 protected:
  bool Run() override;
  void Completed() override;
};

class CHiScoreDlg : public CDialog {
 public:
  // highlight: the row to show in yellow (the new record's rank) or -1; the Send
  // button opens rankingAddress's address.
  CHiScoreDlg(ScoreRows rows, int highlight, RankingAddress rankingAddress, std::string unitSuffix);
  ~CHiScoreDlg() override;

  int GetRevealState() const { return worker_.RevealState(); }
  const std::shared_ptr<RevealJob>& Job() const { return job_; }
  // Before the dialog opens: called on the reveal's worker after each frame has
  // reached the control (tests look at the frames through it).
  void WatchRevealFrames(std::function<void(int frame)> frameShown) { revealFrameShown_ = std::move(frameShown); }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void StartReveal();
  void FinishReveal();
  void StopReveal();
  bool AnswerToolTip(NMHDR* header);

  ScoreRows rows_;
  int highlight_;
  RankingAddress rankingAddress_;
  std::string unitSuffix_;
  std::shared_ptr<RevealJob> job_;
  std::function<void(int frame)> revealFrameShown_;
  AnimationWorker worker_{1000};  // closing waits for the reveal at most this long
  HWND toolTip_ = nullptr;
  win32::GdiObject<HFONT> dialogFont_;  // the template's, made to show Japanese
  win32::GdiObject<HFONT> tipFont_;
  CFlexButton sendButton_;
};
