// What one engine step costs: a scheduler pass over 60 tasks, and a whole drawn
// step (the pass, the sprite pass over 60 sprites of the real sheets and the flip)
// on the headless media.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/media/sixty_sprites.h"
#include "engine/kl_clock.h"
#include "engine/kl_sprite.h"
#include "engine/kl_task.h"
#include "engine/mg_engine.h"
#include "media/headless/headless_media.h"
#include "support/fake_system.h"
#include "support/test_host.h"

namespace {

struct Work {
  int counter;
  float x;
};

void MoveStep() {
  Work* w = static_cast<Work*>(klCurTaskWork);
  ++w->counter;
  w->x += 0.5f;
}
const klStepFn kMoveTable[] = {MoveStep};

struct EngineWith60 {
  FakeSystem sys;
  TestHost host;
  CMgGame* game;
  EngineWith60() {
    klSetSystem(&sys);
    SetMgHost(&host);
    headlessMediaReset();
    klSetBootScene(nullptr);
    game = new CMgEngine;
    game->Init();
    klTaskInit();
    for (int i = 0; i < 60; ++i) {
      Work* w = static_cast<Work*>(klTaskCreate(kMoveTable, static_cast<int16_t>(100 + i), 1, sizeof(Work)));
      *w = Work{0, 0};
    }
    if (!BuildSixtySprites(RODEO_SOURCE_DIR "/assets/out/pack")) std::abort();
  }
  ~EngineWith60() {
    game->Shutdown();
    delete game;
    SetMgHost(nullptr);
    klSetSystem(nullptr);
  }
};

void BM_SchedulerPass60Tasks(benchmark::State& state) {
  EngineWith60 engine;
  for (auto _ : state) klTaskRunAll();
}
BENCHMARK(BM_SchedulerPass60Tasks);

void BM_DrawnStep60Tasks60Sprites(benchmark::State& state) {
  EngineWith60 engine;
  for (auto _ : state) {
    engine.sys.time += 16;
    engine.game->Tick(1);
    headlessMediaLog().blits.clear();
  }
}
BENCHMARK(BM_DrawnStep60Tasks60Sprites);

}  // namespace
