#include "framework/application.h"

#include <commctrl.h>

#include "core/win32/trace_failure.h"
#include "framework/frame_window.h"
#include "framework/window.h"

namespace {
CWinApp* currentApplication = nullptr;
}

CWinApp::CWinApp() : instance(GetModuleHandleW(nullptr)) { currentApplication = this; }

CWinApp::~CWinApp() {
  if (currentApplication == this) currentApplication = nullptr;
}

CWinApp* CWinApp::Instance() { return currentApplication; }

int CWinApp::Main() {
  if (!InitInstance()) {
    if (mainWindow && mainWindow->GetSafeHwnd()) mainWindow->DestroyWindow();
    mainWindow = nullptr;
    return ExitInstance();
  }
  return Run();
}

int CWinApp::Run() {
  long idleCount = 0;
  bool idle = true;
  MSG peek;
  for (;;) {
    while (idle && !PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = false;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(lastMessage_)) {
        idle = true;
        idleCount = 0;
      }
    } while (PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
  }
}

int CWinApp::ExitInstance() {
  CWnd::DeleteTempObjects();
  return GetExitCode();
}

bool CWinApp::PumpMessage() {
  BOOL got = GetMessageW(&lastMessage_, nullptr, 0, 0);
  if (got == -1) {
    // Nothing to dispatch, and waiting again would fail again: end as with WM_QUIT(-1).
    TraceLastError("GetMessageW");
    lastMessage_ = MSG{};
    lastMessage_.message = WM_QUIT;
    lastMessage_.wParam = static_cast<WPARAM>(-1);
    return false;
  }
  if (!got) return false;
  if (!PreTranslateMessage(&lastMessage_)) {
    TranslateMessage(&lastMessage_);
    DispatchMessageW(&lastMessage_);
  }
  return true;
}

bool CWinApp::PreTranslateMessage(MSG* msg) {
  return mainWindow && mainWindow->PreTranslateMessage(msg);
}

bool CWinApp::IsIdleMessage(const MSG& msg) {
  if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
    bool repeated = msg.message == lastMouseMove_.message && msg.pt.x == lastMouseMove_.pt.x &&
                    msg.pt.y == lastMouseMove_.pt.y;
    lastMouseMove_ = msg;
    return !repeated;
  }
  return msg.message != WM_PAINT && msg.message != 0x0118;
}

bool CWinApp::OnIdle(long count) {
  if (count <= 0) {
    if (CFrameWnd* frame = dynamic_cast<CFrameWnd*>(mainWindow)) {
      if (frame->GetSafeHwnd()) frame->UpdateControlBars();
    }
    return true;
  }
  if (count == 1) CWnd::DeleteTempObjects();
  return false;
}

void CWinApp::EnableControlLook() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  if (!InitCommonControlsEx(&controls)) TraceLastError("InitCommonControlsEx");
}
