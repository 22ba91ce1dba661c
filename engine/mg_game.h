// The game module interface: the seam between the host shell and the game.
// The host knows the game only through CMgGame and the descriptor it fills; the
// game reaches the host only through CMgHost (engine/mg_host.h). Everything runs
// on the thread of the host's message loop.
//
// Who calls what, and when:
//   CreateMgGame, Describe  the frame's constructor, once, in this order.
//   Init          the frame, once its window and view exist, the host is registered
//                 (SetMgHost) and, with usesPack, the asset pack is unpacked. On 1
//                 the host shows "DirectX の初期化に失敗しました。" and closes
//                 without calling Shutdown; on 0 it starts ticking.
//   Tick(1)       the message loop's idle check, while the program is active and
//                 the clock has moved more than tickInterval past the last call.
//   Tick(0)       the view's paint handler (inside BeginPaint/EndPaint).
//   FilterMessage every message of the view, before the view's own handling, and
//                 the frame's WM_QUERYNEWPALETTE and WM_PALETTECHANGED.
//   OnStart       RequestState(kMgRequestStart) going from idle to running.
//   Stop(1/0)     RequestState(kMgRequestPauseToggle) pausing / resuming; also
//                 Stop(1) when modal UI opens while idle, Stop(0) when it closes,
//                 and Stop(0) before a reset from the paused state.
//   Resync        RequestState(kMgRequestReset) going back to idle.
//   Shutdown      the frame's WM_DESTROY, if Init returned 0; then the frame deletes
//                 the module and the pack's files.
//
// After a fatal error (klError) every operation returns at once; the error has
// posted the close, which ends in the frame's WM_DESTROY and Shutdown as above.
#pragma once

#include <string>

struct tagMSG;  // the platform's window message (MSG on Windows)

// Filled by CMgGame::Describe; owned by the host (a member of its frame).
struct MgGameDesc {
  std::string title;       // UTF-8; frame caption and message-box caption
  std::string version;     // shown in the About box
  std::string code;        // registry entry, single-instance names, ranking code
  std::string unitSuffix;  // written after each result in the score table
  int viewWidth = 0;
  int viewHeight = 0;
  int tickInterval = 0;    // host ticks only when its clock moved further than this
  int usesPack = 0;        // nonzero: host opens the asset pack before Init
};

class CMgGame {
 public:
  virtual ~CMgGame() {}
  virtual void Describe(MgGameDesc* desc) = 0;
  virtual int Init() = 0;                    // 0 success, 1 display failure
  virtual int Shutdown() = 0;                // always 1
  virtual int Tick(int active) = 0;          // always 1; the host closes on 0
  virtual int FilterMessage(tagMSG* msg) = 0;  // always 1; never consumes
  virtual void OnStart() = 0;
  virtual void Stop(int stop) = 0;           // 1 stop, 0 resume
  virtual void Resync() = 0;
};

// Allocates the one module object; null when out of memory. The host deletes it.
// Defined by the game (game/rodeo_module.cpp), which hands the engine its scene build.
CMgGame* CreateMgGame();
