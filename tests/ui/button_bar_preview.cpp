// The control bar in a stand-in main window, to look at and drive by hand or with
// xdotool: the slide-in plays on start, the hover labels show, and each command the
// frame receives is printed ("command 1007"; Exit also closes the window).
#include <windows.h>

#include <cstdio>

#include "bar_test_window.h"
#include "framework/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CWinApp app;
  app.EnableControlLook();
  BarWindow w(true, 400, true);
  if (!w.created) return 1;
  app.mainWindow = &w.frame;
  w.bar.StartSlideIn(w.frame.GetSafeHwnd(), w.view.GetSafeHwnd());
  int code = app.Run();  // ends when the frame's window goes
  std::printf("exit %d\n", code);
  return code;
}
