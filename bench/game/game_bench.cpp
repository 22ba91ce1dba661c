// What one step of the rodeo costs during a ride: the pass over the game's tasks
// alone, and a whole drawn step (the pass, the sprite pass over the scene's
// sprites drawn from the real sheets by the headless media, and the flip).
#include <benchmark/benchmark.h>

#include "engine/kl_clock.h"
#include "engine/kl_task.h"
#include "engine/mg_game.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"
#include "media/headless/headless_media.h"
#include "support/fake_system.h"
#include "support/test_host.h"

namespace {

// The engine with the rodeo scene built and a round running, the rider riding.
struct RidingRodeo {
  FakeSystem sys;
  TestHost host;
  CMgGame* game;
  RidingRodeo() {
    klSetSystem(&sys);
    SetMgHost(&host);
    headlessMediaReset();
    host.assetDir = RODEO_SOURCE_DIR "/assets/out/pack";
    sys.cursor = KlPoint{200, 150};  // inside: the game's cursor is drawn too
    game = CreateMgGame();
    game->Init();
    host.state = 1;
    for (int i = 0; i < 120; ++i) Step();  // boot, READY, GO
  }
  ~RidingRodeo() {
    game->Shutdown();
    delete game;
    SetMgHost(nullptr);
    klSetSystem(nullptr);
  }
  // Keeps the rider on and the tempo where bucks come every few steps.
  void HoldTheRide() {
    rodeoState.lean = 0;
    rodeoState.speed = 0.3f;
  }
  void Step() {
    sys.time = klClock.nextStepTime;
    game->Tick(1);
    headlessMediaLog().blits.clear();
  }
};

void BM_RideTaskPass(benchmark::State& state) {
  RidingRodeo rodeo;
  for (auto _ : state) {
    rodeo.HoldTheRide();
    rodeo.sys.time += 16;
    klTaskRunAll();
  }
}
BENCHMARK(BM_RideTaskPass);

void BM_RideDrawnStep(benchmark::State& state) {
  RidingRodeo rodeo;
  for (auto _ : state) {
    rodeo.HoldTheRide();
    rodeo.Step();
  }
}
BENCHMARK(BM_RideDrawnStep)->Unit(benchmark::kMicrosecond);

}  // namespace
