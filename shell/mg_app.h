// CMgApp: the program's application object. Start-up makes the hidden main frame,
// lets only one copy run (CSingleInstance) and shows the frame; the message loop
// never waits: between messages it ticks the engine whenever the multimedia clock
// has moved on and the program is active, and runs the idle passes.
#pragma once

#include "framework/application.h"
#include "shell/single_instance.h"

class CMgFrame;

class CMgApp : public CWinApp {
 public:
  static constexpr char kRegistryKey[] = "ZUMRA-PELLO";

  bool InitInstance() override;
  int Run() override;
  bool OnIdle(long count) override;

 private:
  // The frame while it is the main window; null once it is gone.
  CMgFrame* Frame() const;
  // Ticks the engine when the clock has moved on past the tick interval.
  void TickCheck();

  CSingleInstance guard_;
  DWORD lastTickTime_ = 0;
  bool ticking_ = true;  // false once a tick asked to stop
};
