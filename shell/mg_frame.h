// CMgFrame: the program's main window and the owner of everything that lives as long
// as the program: the game module and its descriptor, the view it draws into, the
// control bar, the settings and high-score record and the unpacked asset pack. It is
// the engine's host (CMgHost), turns the bar's commands and the function keys into
// game-state changes (FrameState) and dialogs, and pauses the game around modal UI
// and while another program is active.
//
// Life: created hidden by CMgApp → ShowAndLoad (record, size, title, the zoom,
// shown, bar's slide-in) → WM_MG_OPENINGDONE → StartEngine (pack unpacked, Init, keys live) →
// play → destroyed (Exit, close box, failed start, a fatal error's posted close) →
// WM_DESTROY: engine Shutdown, record saved → the object deletes itself. The end of
// the session (WM_ENDSESSION) saves the record too; no WM_DESTROY follows it.
#pragma once

#include <windows.h>

#include <string>

#include "engine/mg_game.h"
#include "engine/mg_host.h"
#include "framework/frame_window.h"
#include "records/mg_info.h"
#include "shell/asset_pack.h"
#include "shell/frame_state.h"
#include "shell/mg_view.h"
#include "ui/button_bar.h"
#include "ui/record_dialogs.h"

#define WM_MG_RESULT (WM_USER + 10)  // posted by ReportResult: a ride ended with a result

class CMgFrame : public CFrameWnd, public CMgHost, public CModalPause, private shell::FrameActions {
 public:
  static constexpr UINT kAcceleratorTable = 131;
  static constexpr UINT kProgramIcon = 128;
  static constexpr UINT kPackResource = 999;

  CMgFrame();
  ~CMgFrame() override;

  // Once, after the single-instance check: loads the record, sizes and titles the
  // window, plays the zoom onto its rectangle, shows it and starts the bar's
  // slide-in. False only without a game module.
  bool ShowAndLoad();

  // Host services.
  KlWindow GetViewWindow() override { return view_.GetSafeHwnd(); }
  void RequestState(int request) override { state_.RequestState(request, GetTickCount()); }
  int GetState() override { return state_.gameState; }
  void ReportResult(const char* text, int value) override;
  void SetTickInterval(int milliseconds) override { desc_.tickInterval = milliseconds; }
  int GetTickInterval() override { return desc_.tickInterval; }
  const char* GetAssetPath(const char* fileName) override { return pack_.FindPath(fileName); }

  // Around every modal interaction of the frame (dialogs, help, window move).
  void SuspendForModal() override { state_.SuspendForModal(GetTickCount()); }
  void ResumeAfterModal() override { state_.ResumeAfterModal(GetTickCount()); }

  // For the message loop and the view.
  bool IsEngineReady() const { return state_.engineReady != 0; }
  bool IsAppActive() const { return state_.appActive != 0; }
  CMgGame* GetModule() const { return module_; }
  HWND GetViewHandle() const { return view_.GetSafeHwnd(); }
  void OnViewPress() { state_.OnViewPress(GetTickCount()); }
  void FilterMessage(const MSG& message);
  void TickForPaint();
  // The loop's tick: false when the module asks the program to close.
  bool TickEngine();

  // For the dialogs: the record and the descriptor.
  MgInfo& GetRecord() { return record_; }
  const MgGameDesc& GetDesc() const { return desc_; }
  const std::string& GetResultText() const { return resultText_; }
  int GetResultValue() const { return resultValue_; }
  const shell::FrameState& GetFrameState() const { return state_; }

 protected:
  bool PreCreateWindow(CREATESTRUCTW& cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  bool OnUpdateCommand(CCommandState& state) override;

 private:
  int OnCreate();
  void StartEngine();
  void OnDestroy();
  void SaveRecordAndPosition();  // WM_DESTROY and the end of the session
  void ShowHelp();
  void ToggleStopByKey() { state_.ToggleStopByKey(GetTickCount()); }
  void StopMessageBox(const wchar_t* text);
  void RedrawAll();

  // The stored record (the application's registry profile) and the dialogs.
  void LoadRecord();
  void OnResult();         // WM_MG_RESULT: rank resultText_/resultValue_, then the dialogs
  void ShowHighScores();   // 1004, F8
  void ShowVersion();      // 1006, F10

  // FrameActions: what the state changes do to the engine and the bar.
  void UpdateControls() override;
  void EngineOnStart() override;
  void EngineStop(int stop) override;
  void EngineResync() override;
  bool IsStopEnabled() override;
  void FlipStopCheck() override;
  void UpdateStopButton();

  CMgView view_;
  CButtonBar bar_;
  MgInfo record_{};
  int recordLoaded_ = 0;
  CAssetPack pack_;
  MgGameDesc desc_;
  CMgGame* module_ = nullptr;
  std::string resultText_;
  int resultValue_ = 0;
  shell::FrameState state_;
};
