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
// WM_DESTROY: engine Shutdown, record saved → the object deletes itself (module and
// temporary asset files go). The end of the session (WM_ENDSESSION) does the same
// at once, engine, record and temporary files: the process ends without WM_DESTROY.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "engine/mg_game.h"
#include "engine/mg_host.h"
#include "framework/frame_window.h"
#include "records/mg_info.h"
#include "shell/asset_pack.h"
#include "shell/frame_state.h"
#include "shell/mg_view.h"
#include "ui/button_bar.h"
#include "ui/modal_pause.h"
#include "ui/window_messages.h"

class CMgFrame : public CFrameWnd,
                 public CMgHost,
                 public CModalPause,
                 private CMgViewHost,
                 private shell::FrameActions {
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

  // For the application's start-up and its message loop.
  bool IsEngineReady() const override { return state_.engineReady; }
  bool IsAppActive() const { return state_.appActive; }
  HWND GetViewHandle() const { return view_.GetSafeHwnd(); }
  // The loop's tick: false when the module asks the program to close.
  bool TickEngine();
  const MgGameDesc& GetDesc() const { return desc_; }

 protected:
  bool PreCreateWindow(CREATESTRUCTW& cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  bool OnUpdateCommand(CCommandState& state) override;

 private:
  int OnCreate();
  void StartEngine();
  void OnDestroy();
  void OnEndSession();
  void ShutDownEngine();         // WM_DESTROY and the end of the session
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

  // CMgViewHost: what the view asks of the frame.
  void OnViewPress() override { state_.OnViewPress(GetTickCount()); }
  void PassToEngine(const MSG& message) override;
  void TickForPaint() override;

  // FrameActions: what the state changes do to the engine and the bar.
  void UpdateControls() override;
  void EngineOnStart() override;
  void EngineStop(bool stop) override;
  void EngineResync() override;
  bool IsStopEnabled() override;
  void FlipStopCheck() override;
  void UpdateStopButton();

  CMgView view_;
  CButtonBar bar_;
  MgInfo record_{};
  bool recordLoaded_ = false;
  CAssetPack pack_;
  MgGameDesc desc_;
  std::unique_ptr<CMgGame> module_;
  std::string resultText_;
  int resultValue_ = 0;
  shell::FrameState state_;
};
