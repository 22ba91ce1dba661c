// The one implementation of the game module: a thin object over the engine's
// process-wide state. The game creates it (CreateMgGame, game/rodeo_module.cpp)
// after handing the engine its scene build (klSetBootScene).
#pragma once

#include "engine/mg_game.h"

class CMgEngine : public CMgGame {
 public:
  void Describe(MgGameDesc* desc) override;
  int Init() override;
  int Shutdown() override;
  int Tick(int active) override;
  int FilterMessage(tagMSG* msg) override;  // platform file: reads the message fields
  void OnStart() override;
  void Stop(int stop) override;
  void Resync() override;
};
