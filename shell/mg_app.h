// CMgApp: the program's application object. Start-up makes the hidden main frame,
// lets only one copy run (CSingleInstance) and shows the frame; between messages the
// message loop ticks the engine whenever the multimedia clock has moved on and the
// program is active, and runs the idle passes. When a turn finds nothing to do it
// rests: until the next message while no tick can reach the engine (inactive, not
// started, closing), otherwise until a message comes or the engine's next step is
// due, with the system timer at 1 ms while it may wait for a step. The environment
// variable RODEO_BUSY_LOOP=1, read once when the loop starts, keeps a loop that
// never rests, for the benchmarks that compare the two.
#pragma once

#include <cstdint>

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
  // How long the loop may wait for a message before its next turn (shell::LoopRestMs).
  uint32_t RestMs() const;

  CSingleInstance guard_;
  DWORD lastTickTime_ = 0;
  bool ticking_ = true;  // false once a tick asked to stop
};
