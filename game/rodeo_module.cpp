// The module the host creates: the engine's module object, with the rodeo's scene
// build handed to the engine's boot step.
#include <new>

#include "engine/kl_task.h"
#include "engine/mg_engine.h"
#include "game/rodeo_tasks.h"

CMgGame* CreateMgGame() {
  klSetBootScene(StartRodeoScene);
  return new (std::nothrow) CMgEngine;
}
