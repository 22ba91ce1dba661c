// A framework call that fails says why: the call and its error code reach the debug
// output (klTrace), and the caller still finds the error in GetLastError().
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/kl_system.h"
#include "framework/dialog.h"
#include "framework/private_profile.h"
#include "framework/registry_profile.h"
#include "support/quiet_win32_system.h"
#include "test_windows.h"

namespace {

class TraceRecorder : public QuietWin32System {
 public:
  std::string text;
  void DebugOutput(const char* line) override { text += line; }
};

struct FailingCall {
  const char* what;
  std::function<void()> call;
  const char* traced;   // the start of the traced line
  unsigned long error;  // the code it names; 0: the one GetLastError() gives (Wine and
                        // Windows differ)
  bool keepsLastError;  // GetLastError() still gives it afterwards
};

TEST(FailureTrace, AFailedCallIsTracedWithItsError) {
  const FailingCall cases[] = {
      {"a window of a class nobody registered",
       [] {
         CWnd w;
         w.CreateEx(0, L"NoSuchClass", nullptr, WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0);
       },
       "CreateWindowExW(style 0x80000000, parent", 0, true},
      {"a missing accelerator table",
       [] {
         CFrameWnd frame;
         frame.LoadAccelTable(9999);
       },
       "LoadAcceleratorsW(9999) failed", ERROR_RESOURCE_NAME_NOT_FOUND, true},
      {"a missing dialog template",
       [] {
         CDialog dialog(9999);
         dialog.DoModal(nullptr);
       },
       "DialogBoxParamW(template 9999) failed", ERROR_RESOURCE_NAME_NOT_FOUND, true},
      {"a missing bar template",
       [] {
         RecordingFrame frame;
         frame.Create(nullptr, L"frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 200});
         TestBar bar;
         bar.Create(&frame, 9999, CDialogBar::kAlignTop, 100);
       },
       "CreateDialogParamW(template 9999) failed", ERROR_RESOURCE_NAME_NOT_FOUND, true},
      {"a registry section whose name is too long",
       [] {
         CRegistryProfile profile;
         profile.SetRegistryKey("RodeoFrameworkTest");
         profile.SetProfileName("trace");
         profile.WriteString(std::string(300, 's'), "entry", "value");
       },
       "RegCreateKeyExW(HKCU\\Software\\RodeoFrameworkTest\\trace\\sss", ERROR_INVALID_PARAMETER, false},
      {"an ini file in a folder that is not there",
       [] { WriteIniString("C:\\no such folder\\x.ini", "section", "key", "value"); },
       "WritePrivateProfileStringW(C:\\no such folder\\x.ini, [section] key) failed",
       ERROR_PATH_NOT_FOUND, true},
  };
  TraceRecorder recorder;
  KlSystem* previous = klSetSystem(&recorder);
  for (const FailingCall& c : cases) {
    SCOPED_TRACE(c.what);
    recorder.text.clear();
    SetLastError(0);
    c.call();
    DWORD lastError = GetLastError();
    size_t at = recorder.text.find(c.traced);
    EXPECT_NE(at, std::string::npos) << recorder.text;
    unsigned long code = c.error ? c.error : lastError;
    EXPECT_NE(code, 0u);
    std::string error = "failed: error " + std::to_string(code) + ": ";
    EXPECT_NE(recorder.text.find(error, at), std::string::npos) << recorder.text;
    if (c.keepsLastError) {
      EXPECT_EQ(lastError, code);
    }
  }
  klSetSystem(previous);
}

}  // namespace
