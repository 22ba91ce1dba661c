// CWinApp: the application object. The program makes one (derived) global object;
// wWinMain calls Main(), which runs, in this order:
//   InitInstance()   start-up: make the main window (mainWindow); false ends the
//                    program (the main window, if any, is destroyed first)
//   Run()            the message loop; its result is the exit code
//   ExitInstance()   called by Run when WM_QUIT arrives
// Run's default loop blocks in GetMessage; a derived application may replace it and
// use the same pieces: PumpMessage, PreTranslateMessage, IsIdleMessage, OnIdle.
// Destroying the main frame posts WM_QUIT(0) (CFrameWnd::PostNcDestroy).
#pragma once

#include <windows.h>

#include <string>

#include "framework/registry_profile.h"

class CWnd;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // The one application object (the last constructed and not yet destroyed).
  static CWinApp* Instance();

  // Start-up, loop, exit: see above.
  int Main();
  virtual bool InitInstance() { return true; }
  virtual int Run();
  virtual int ExitInstance();

  // Idle processing, pass count from 0 after each message that restarts idling.
  // Pass 0 updates the main frame's control bars (command states) and asks for more;
  // pass 1 deletes the temporary window objects and asks for no more.
  virtual bool OnIdle(long count);
  // Offers the message to the main window (a frame applies its accelerators).
  virtual bool PreTranslateMessage(MSG* msg);
  // False for messages after which idle processing need not run again: WM_PAINT,
  // the system timer 0x0118, and a mouse move that repeats the previous one.
  virtual bool IsIdleMessage(const MSG& msg);
  // Takes one message (GetMessageW, which waits) and pre-translates or dispatches
  // it; false when it was WM_QUIT, whose wParam is then GetExitCode().
  bool PumpMessage();
  // The message PumpMessage took last.
  const MSG& GetLastMessage() const { return lastMessage_; }
  int GetExitCode() const { return static_cast<int>(lastMessage_.wParam); }

  // The common controls with the visual styles (the three-dimensional look).
  void EnableControlLook();

  // Settings in the registry: HKCU\Software\<registry key>\<profile name>\<section>.
  // Set both names before the first access; texts are UTF-8.
  void SetRegistryKey(const std::string& key) { profile_.SetRegistryKey(key); }
  void SetProfileName(const std::string& name) { profile_.SetProfileName(name); }
  std::string GetProfileValue(const std::string& section, const std::string& entry,
                              const std::string& fallback = std::string()) const {
    return profile_.GetString(section, entry, fallback);
  }
  bool WriteProfileValue(const std::string& section, const std::string& entry,
                         const std::string& value) const {
    return profile_.WriteString(section, entry, value);
  }
  const CRegistryProfile& GetProfile() const { return profile_; }

  CWnd* mainWindow = nullptr;  // the main frame; InitInstance sets it
  HINSTANCE instance = nullptr;

 private:
  CRegistryProfile profile_;
  MSG lastMessage_{};
  MSG lastMouseMove_{};  // for IsIdleMessage
};
