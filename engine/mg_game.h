// The game module interface: the seam between the host shell and the game.
// The host knows the game only through CMgGame and the descriptor it fills.
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
  virtual int Tick(int active) = 0;          // always 1
  virtual int FilterMessage(tagMSG* msg) = 0;  // always 1; never consumes
  virtual void OnStart() = 0;
  virtual void Stop(int stop) = 0;           // 1 stop, 0 resume
  virtual void Resync() = 0;
};

// Allocates the one module object; null when out of memory. The host deletes it.
CMgGame* CreateMgGame();
