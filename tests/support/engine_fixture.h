// Puts the engine into a known state around each test: a fake system and test
// host installed, the headless media library emptied, the module initialised.
#pragma once

#include <gtest/gtest.h>

#include "engine/kl_clock.h"
#include "engine/kl_input.h"
#include "engine/kl_math.h"
#include "engine/kl_task.h"
#include "engine/mg_engine.h"
#include "media/headless/headless_media.h"
#include "support/fake_system.h"
#include "support/test_host.h"
#include "support/window_message.h"

class EngineFixture : public ::testing::Test {
 protected:
  FakeSystem sys;
  TestHost host;
  CMgGame* game = nullptr;

  void SetUp() override {
    klSetSystem(&sys);
    SetMgHost(&host);
    headlessMediaReset();
    klInput = klInputState{};
    stopped = 0;
    stopTicks = 0;
    stopCount = 0;
    klRandSeed(1);
    game = MakeGame();
    ASSERT_EQ(game->Init(), 0);
  }

  // The bare engine, whose boot step builds no scene; the rodeo's fixture makes the
  // module the way the host does (CreateMgGame).
  virtual CMgGame* MakeGame() {
    klSetBootScene(nullptr);
    return new CMgEngine;
  }

  void TearDown() override {
    DeleteAllTasks();
    game->Shutdown();
    delete game;
    SetMgHost(nullptr);
    klSetSystem(nullptr);
  }

  // The engine keeps its tasks to the end of the process; tests free them so that
  // the leak checker sees only real leaks.
  static void DeleteAllTasks() {
    while (klTaskHead()->next && klTaskHead()->next->next) klTaskDelete(klTaskHead()->next);
  }

  // Moves the clock on and ticks as the host's idle loop would.
  void TickAt(uint32_t time, int active = 1) {
    sys.time = time;
    game->Tick(active);
  }
};
