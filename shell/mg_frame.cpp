#include "shell/mg_frame.h"

#include <shellapi.h>

#include "core/win32/wide_text.h"
#include "framework/application.h"
#include "shell/frame_dialogs.h"
#include "shell/win_record_platform.h"
#include "shell/window_position.h"
#include "ui/zoom_intro_dlg.h"

namespace {

// "Exists": the path names something that is not a directory.
bool FileExists(const std::wstring& path, bool* readOnly = nullptr) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (readOnly) *readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

const UINT kRedrawAll = RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;

}  // namespace

CMgFrame::CMgFrame() : view_(*this), module_(CreateMgGame()), state_(*this, record_) {
  if (module_) module_->Describe(&desc_);
  SetMgHost(this);
}

CMgFrame::~CMgFrame() {
  module_.reset();
  if (GetMgHost() == this) SetMgHost(nullptr);
  pack_.Release();  // the temporary asset files go here
}

bool CMgFrame::PreCreateWindow(CREATESTRUCTW& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return false;
  // Fixed size: no sizing border, no maximise box.
  cs.style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  cs.lpszClass = RegisterWindowClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr,
                                     LoadIconW(instance, MAKEINTRESOURCEW(kProgramIcon)));
  return cs.lpszClass != nullptr;
}

int CMgFrame::OnCreate() {
  if (Default() == -1) return -1;
  RECT none{0, 0, 0, 0};
  if (!view_.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, none, hwnd_, kFirstPaneId)) return -1;
  if (!bar_.Create(this)) return -1;
  UpdateControls();
  return 0;
}

bool CMgFrame::ShowAndLoad() {
  if (!module_) return false;
  LoadRecord();

  RECT window, client;
  GetWindowRect(hwnd_, &window);
  GetClientRect(hwnd_, &client);
  shell::OuterSize size = shell::FrameOuterSize(desc_.viewWidth, desc_.viewHeight, window.right - window.left,
                                                window.bottom - window.top, client.right, client.bottom);
  // The stored position, unless the window would not lie whole on a monitor now.
  shell::ScreenPoint at = PlaceOnMonitors(record_.windowX, record_.windowY, size.width, size.height);
  record_.windowX = at.x;
  record_.windowY = at.y;
  SetWindowPos(hwnd_, nullptr, at.x, at.y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowTextW(hwnd_, WideFromUtf8(desc_.title.c_str()).c_str());

  // The zoom onto the window's rectangle; it returns when it has played.
  CZoomIntroDlg zoom(RECT{at.x, at.y, at.x + size.width, at.y + size.height});
  zoom.DoModal(hwnd_);

  if (CBarButton* start = bar_.GetButton(IDC_START)) ShowWindow(start->GetSafeHwnd(), SW_HIDE);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawAll();
  bar_.StartSlideIn(hwnd_, view_.GetSafeHwnd());
  return true;
}

void CMgFrame::RedrawAll() { RedrawWindow(hwnd_, nullptr, nullptr, kRedrawAll); }

void CMgFrame::StopMessageBox(const wchar_t* text) {
  MessageBoxW(hwnd_, text, WideFromUtf8(desc_.title.c_str()).c_str(), MB_ICONHAND | MB_OK);
}

void CMgFrame::StartEngine() {
  if (state_.engineReady || !module_) return;  // once
  RedrawAll();
  if (desc_.usesPack && !pack_.Extract(kPackResource)) {
    StopMessageBox(L"リソースが壊れています。");
    DestroyWindow();
    return;
  }
  int result = module_->Init();
  if (result != 0) {
    StopMessageBox(result == 1 ? L"DirectX の初期化に失敗しました。" : L"リソース不足により初期化に失敗しました。");
    DestroyWindow();
    return;
  }
  SetFocus(view_.GetSafeHwnd());
  LoadAccelTable(kAcceleratorTable);
  state_.OnEngineStarted();
}

void CMgFrame::ReportResult(const char* text, int value) {
  resultText_ = text ? text : "";
  resultValue_ = value;
  PostMessageW(hwnd_, WM_MG_RESULT, 0, 0);
}

void CMgFrame::PassToEngine(const MSG& message) {
  if (!module_) return;
  MSG copy = message;
  module_->FilterMessage(&copy);
}

void CMgFrame::TickForPaint() {
  if (module_) module_->Tick(0);
}

bool CMgFrame::TickEngine() { return !module_ || module_->Tick(1) != 0; }

// --- the record and the dialogs -------------------------------------------------

namespace {

// The application's profile: HKCU\Software\<registry key>\<title>, names set by
// CMgApp before the frame shows. Without an application object (never in the
// program) the record stays in memory.
const CRegistryProfile* Profile() {
  CWinApp* app = CWinApp::Instance();
  return app ? &app->GetProfile() : nullptr;
}

}  // namespace

void CMgFrame::LoadRecord() {
  if (const CRegistryProfile* profile = Profile()) {
    LoadStoredRecord(*profile, desc_.code.c_str(), &record_);
  }
  recordLoaded_ = true;
}

void CMgFrame::OnResult() {
  // Ranks the result into the record's table; only a result that ranks opens the
  // dialogs, paused, with the mouse capture released first.
  ShowResultDialogs(hwnd_, this, &record_, desc_, resultText_.c_str(), static_cast<uint32_t>(resultValue_));
}

void CMgFrame::ShowHighScores() { ::ShowHighScores(hwnd_, this, record_, desc_, -1); }

void CMgFrame::ShowVersion() { ShowAbout(hwnd_, this, record_, desc_); }

void CMgFrame::ShowHelp() {
  SuspendForModal();
  wchar_t exe[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    std::wstring help = shell::HelpPathFor(exe);
    if (!help.empty() && FileExists(help)) {
      ShellExecuteW(nullptr, L"open", help.c_str(), nullptr, nullptr, SW_SHOW);
    } else {
      StopMessageBox(L"ヘルプファイルが見つかりません。");
    }
  }
  ResumeAfterModal();
}

// --- the controls ---------------------------------------------------------------

void CMgFrame::UpdateStopButton() {
  CBarButton* stop = bar_.GetButton(IDC_STOP);
  if (!stop || !stop->GetSafeHwnd()) return;
  if (state_.gameState == kMgIdle) {
    stop->isChecked = 0;
    InvalidateRect(stop->GetSafeHwnd(), nullptr, TRUE);
    EnableWindow(stop->GetSafeHwnd(), FALSE);
  } else {
    EnableWindow(stop->GetSafeHwnd(), TRUE);
    stop->isChecked = state_.gameState == kMgPaused ? 1 : 0;
    InvalidateRect(stop->GetSafeHwnd(), nullptr, TRUE);
  }
}

void CMgFrame::UpdateControls() {
  bool idle = state_.gameState == kMgIdle;
  CBarButton* start = bar_.GetButton(IDC_START);
  CBarButton* reset = bar_.GetButton(IDC_RESET);
  if (start && start->GetSafeHwnd()) EnableWindow(start->GetSafeHwnd(), idle);
  UpdateStopButton();
  if (reset && reset->GetSafeHwnd()) EnableWindow(reset->GetSafeHwnd(), !idle);
  for (UINT id : {IDC_START, IDC_STOP, IDC_RESET}) {
    CBarButton* b = bar_.GetButton(id);
    if (b && b->GetSafeHwnd()) RedrawWindow(b->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
  }
}

bool CMgFrame::OnUpdateCommand(CCommandState& state) {
  switch (state.GetId()) {
    case IDC_START:
      state.Enable(state_.gameState == kMgIdle);
      return true;
    case IDC_STOP:
      UpdateStopButton();
      return true;
    case IDC_RESET:
      state.Enable(state_.gameState != kMgIdle);
      return true;
    default:
      return CFrameWnd::OnUpdateCommand(state);
  }
}

void CMgFrame::EngineOnStart() {
  if (module_) module_->OnStart();
}
void CMgFrame::EngineStop(bool stop) {
  if (module_) module_->Stop(stop ? 1 : 0);
}
void CMgFrame::EngineResync() {
  if (module_) module_->Resync();
}
bool CMgFrame::IsStopEnabled() {
  CBarButton* stop = bar_.GetButton(IDC_STOP);
  return stop && stop->GetSafeHwnd() && IsWindowEnabled(stop->GetSafeHwnd());
}
void CMgFrame::FlipStopCheck() {
  CBarButton* stop = bar_.GetButton(IDC_STOP);
  if (!stop || !stop->GetSafeHwnd()) return;
  stop->isChecked ^= 1;
  InvalidateRect(stop->GetSafeHwnd(), nullptr, TRUE);
}

// --- messages -------------------------------------------------------------------

bool CMgFrame::OnCommand(UINT id, UINT code, HWND control) {
  uint32_t now = GetTickCount();
  switch (id) {
    case IDC_START:
      state_.RequestState(kMgRequestStart, now);
      return true;
    case IDC_STOP:
      state_.RequestState(kMgRequestPauseToggle, now);
      return true;
    case IDC_RESET:
      state_.Reset(now);
      return true;
    case IDC_STOPKEY:
      ToggleStopByKey();
      return true;
    case IDC_HISCORE:
      ShowHighScores();
      return true;
    case IDC_VERSION:
      ShowVersion();
      return true;
    case IDC_EXIT:
      DestroyWindow();
      return true;
    case IDC_HELP_COMMAND:
      ShowHelp();
      return true;
    default:
      return CFrameWnd::OnCommand(id, code, control);
  }
}

void CMgFrame::ShutDownEngine() {
  if (state_.engineReady && module_) module_->Shutdown();
  state_.OnEngineShutDown();
}

void CMgFrame::OnDestroy() {
  ShutDownEngine();
  SaveRecordAndPosition();
}

void CMgFrame::OnEndSession() {
  // Log-off or shut-down: the process ends after this returns, without WM_DESTROY
  // and without the destructor. Do now what they would: the engine lets go of the
  // unpacked files, the record is kept, and the temporary files are deleted.
  ShutDownEngine();
  SaveRecordAndPosition();
  pack_.Release();
}

void CMgFrame::SaveRecordAndPosition() {
  if (!recordLoaded_) return;
  // The normal position, also when the window is minimised now.
  TakeWindowPosition(hwnd_, &record_);
  if (const CRegistryProfile* profile = Profile()) SaveStoredRecord(*profile, desc_.code.c_str(), record_);
}

LRESULT CMgFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_SETFOCUS:
      if (view_.GetSafeHwnd()) SetFocus(view_.GetSafeHwnd());
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return CFrameWnd::WindowProc(message, wParam, lParam);
    case WM_ACTIVATEAPP: {
      LRESULT result = Default();
      state_.OnActivateApp(wParam != 0, GetTickCount());
      return result;
    }
    case WM_SYSCOMMAND: {
      if (!shell::SystemCommandPauses(state_.gameState, static_cast<unsigned>(wParam))) return Default();
      HWND self = hwnd_;
      SuspendForModal();
      LRESULT result = Default();
      // Should the command have closed the window meanwhile, this object is gone.
      if (IsWindow(self) && FromHandlePermanent(self) == this) ResumeAfterModal();
      return result;
    }
    case WM_PALETTECHANGED:
      PassToEngine(GetCurrentMessage());
      return Default();
    case WM_QUERYNEWPALETTE: {
      MSG copy = GetCurrentMessage();
      if (module_ && module_->FilterMessage(&copy)) return 1;
      return Default();
    }
    case WM_ENDSESSION:
      if (wParam) OnEndSession();
      return 0;
    case WM_MG_RESULT:
      OnResult();
      return 0;
    case WM_MG_OPENINGDONE:
      StartEngine();
      return 0;
    default:
      return CFrameWnd::WindowProc(message, wParam, lParam);
  }
}
