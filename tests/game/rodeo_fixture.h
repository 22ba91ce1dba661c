// The engine with the rodeo scene built on its first step, driven one 16 ms step
// at a time on FakeSystem's clock, with the asset pack's files behind the host.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/kl_sprite.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"
#include "support/engine_fixture.h"
#include "tests/game/recording_sound.h"

struct Rect {
  int left, top, right, bottom;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

class RodeoFixture : public EngineFixture {
 protected:
  void SetUp() override {
    rodeoState = RodeoState{};
    resetRecordedSounds();
    EngineFixture::SetUp();
    host.assetDir = RODEO_SOURCE_DIR "/assets/out/pack";
    Step();  // the boot step builds the scene
  }

  CMgGame* MakeGame() override { return CreateMgGame(); }

  // One engine step, drawn, exactly when it is due.
  void Step(int count = 1) {
    for (int i = 0; i < count; ++i) TickAt(klClock.nextStepTime);
  }

  klTask* FindTask(const klStepFn* table) {
    for (klTask* t = klTaskHead(); t; t = t->next) {
      if (t->stepTable == table) return t;
    }
    return nullptr;
  }
  template <typename Work>
  Work& WorkOf(const klStepFn* table) {
    return *static_cast<Work*>(FindTask(table)->work);
  }
  RodeoWork& Rodeo() { return WorkOf<RodeoWork>(RodeoTaskSteps); }
  CowWork& Cow() { return WorkOf<CowWork>(CowTaskSteps); }
  int RodeoStepIndex() { return FindTask(RodeoTaskSteps)->step; }
  int CowStepIndex() { return FindTask(CowTaskSteps)->step; }

  // Runs a task's current step outside the engine pass, as the pass would.
  void RunStepOf(const klStepFn* table) {
    klTask* t = FindTask(table);
    klCurTask = t;
    klCurTaskStep = &t->step;
    klCurTaskWork = t->work;
    t->stepTable[t->step]();
  }

  // A click between two steps: down and up, as the view's messages bring them.
  void Click(bool right) {
    klFilterMessage(host.view, right ? KL_WM_RBUTTONDOWN : KL_WM_LBUTTONDOWN, 0, 0);
    klFilterMessage(host.view, right ? KL_WM_RBUTTONUP : KL_WM_LBUTTONUP, 0, 0);
  }

  // Starts a round as the host's Start does and steps until GO has been given.
  void StartRound() {
    host.state = 1;
    for (int i = 0; i < 200 && RodeoStepIndex() != kRiding; ++i) Step();
    ASSERT_EQ(RodeoStepIndex(), kRiding);
  }

  // A pause as the host makes one: state 2, Stop(1), time passes, state 1, Stop(0).
  void Pause(uint32_t ms) {
    host.state = 2;
    game->Stop(1);
    sys.time += ms;
    sys.tickCount += ms;
    host.state = 1;
    game->Stop(0);
  }

  // Seeds the game's generator so that its next klRand(0, 1) gives want.
  static void NextCoinIs(int want) {
    for (uint32_t seed = 1;; ++seed) {
      klRandSeed(seed);
      if (klRand(0, 1) == want) {
        klRandSeed(seed);
        return;
      }
    }
  }

  // The sound cues so far as "play name", "loop name" and "stop name".
  static std::vector<std::string> SoundCues() {
    std::vector<std::string> cues;
    for (const SoundEvent& e : recordedSounds()) {
      cues.push_back(std::string(e.play ? (e.loop ? "loop " : "play ") : "stop ") + e.name);
    }
    return cues;
  }

  static Rect SourceOf(const klSprite* s) { return {s->srcLeft, s->srcTop, s->srcRight, s->srcBottom}; }
};
