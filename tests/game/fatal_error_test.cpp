// Fatal errors end the run cleanly: one "Error" box, nothing more done by the
// engine or the game, and the application closed after the failing call has
// returned. The host here closes the way the frame does: the posted close is
// handled by its message pump, whose WM_DESTROY shuts the engine down and deletes
// the module. Under the sanitizers no case may touch freed memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/kl_clock.h"
#include "engine/kl_input.h"
#include "engine/kl_math.h"
#include "engine/kl_sprite.h"
#include "engine/kl_task.h"
#include "engine/mg_game.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"
#include "media/headless/headless_media.h"
#include "media/kl_media.h"
#include "support/fake_system.h"
#include "support/test_host.h"
#include "support/window_message.h"
#include "tests/game/recording_sound.h"

namespace fs = std::filesystem;

namespace {

class FatalErrors : public ::testing::Test {
 protected:
  FakeSystem sys;
  TestHost host;
  CMgGame* game = nullptr;
  bool engineReady = false;
  int flipsAtBox = -1;

  void SetUp() override {
    klSetSystem(&sys);
    SetMgHost(&host);
    headlessMediaReset();
    resetRecordedSounds();
    rodeoState = RodeoState{};
    klInput = klInputState{};
    stopped = 0;
    stopCount = 0;
    klRandSeed(1);
    host.assetDir = RODEO_SOURCE_DIR "/assets/out/pack";
    // While the box is up its modal loop paints the view and deactivates the
    // frame: the engine must neither step nor draw.
    sys.duringErrorBox = [this] {
      flipsAtBox = headlessMediaLog().flips;
      if (!game) return;
      game->Tick(0);
      game->Tick(1);
      host.state = kMgPaused;
      game->Stop(1);
      game->Stop(0);
      host.state = kMgRunning;
      MSG paint{};
      paint.hwnd = host.view;
      paint.message = KL_WM_PAINT;
      game->FilterMessage(&paint);
    };
  }

  void TearDown() override {
    Close();
    SetMgHost(nullptr);
    klSetSystem(nullptr);
  }

  // The frame's start: the module made and initialised; ticking only after 0.
  int Start() {
    game = CreateMgGame();
    int result = game->Init();
    engineReady = result == 0;
    return result;
  }

  // The frame's WM_DESTROY: Shutdown when Init succeeded, then the module deleted.
  // The task records stay with the process; they are freed here for the leak checker.
  void Close() {
    if (!game) return;
    if (engineReady) game->Shutdown();
    delete game;
    game = nullptr;
    while (klTaskHead()->next && klTaskHead()->next->next) klTaskDelete(klTaskHead()->next);
  }

  // The message loop between two engine calls: handles a posted close.
  void Pump() {
    if (!sys.closePending) return;
    sys.closePending = false;
    Close();
  }

  // The loop's idle tick at the next due step, then its messages.
  void Step() {
    if (game && engineReady) {
      sys.time = klClock.nextStepTime;
      game->Tick(1);
    }
    Pump();
  }

  // After the error: exactly one box with that text, the close posted once and
  // handled (the module is gone), and nothing drawn since the box went up.
  void ExpectClosedAfterOneBox(const std::string& text) {
    EXPECT_EQ(sys.errors, std::vector<std::string>{text});
    EXPECT_EQ(sys.quits, 1);
    if (flipsAtBox >= 0) {
      EXPECT_EQ(headlessMediaLog().flips, flipsAtBox);
    }
    for (int i = 0; i < 3 && game; ++i) Step();
    EXPECT_EQ(game, nullptr) << "the posted close was never handled";
    EXPECT_EQ(sys.errors.size(), 1u);
  }

  // A copy of the asset pack the test may spoil.
  fs::path CopyPack() {
    fs::path dir = fs::temp_directory_path() /
                   ("rodeo-fatal-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(RODEO_SOURCE_DIR "/assets/out/pack")) {
      fs::copy_file(entry.path(), dir / entry.path().filename());
    }
    host.assetDir = dir.string();
    return dir;
  }

  // Built, the ride going, the display lost and due to be re-created.
  void RideThenLoseTheDisplay() {
    ASSERT_EQ(Start(), 0);
    Step();  // the scene build
    ASSERT_TRUE(sys.errors.empty());
    host.state = kMgRunning;
    for (int i = 0; i < 50; ++i) Step();
    klDrawLost();
    sys.time += 1600;
  }
};

TEST_F(FatalErrors, DisplayThatCannotOpenAtInit) {
  headlessFailDisplayAfter(0);
  EXPECT_EQ(Start(), 1);  // the host reports it and closes without Shutdown
  EXPECT_EQ(sys.destroyed, 1);  // the view
  ExpectClosedAfterOneBox("klDrawInit : can't use DirectDraw");
}

TEST_F(FatalErrors, NoMemoryForTheSpriteListAtInit) {
  sys.allocsBeforeFailure = 0;
  EXPECT_EQ(Start(), 0);
  sys.allocsBeforeFailure = -1;
  EXPECT_EQ(klSpriteAlloc(10), nullptr);  // no list to put it in
  ExpectClosedAfterOneBox("klSpriteInit : out of memory");
  EXPECT_EQ(klTaskCount(), 0);  // the boot step never ran
}

// Every allocation of the scene build in turn fails: the build stops there,
// nothing runs or draws afterwards, and the shutdown frees what was made.
TEST_F(FatalErrors, EveryAllocationOfTheSceneBuildMayFail) {
  int failures = 0;
  for (int n = 0;; ++n) {
    SCOPED_TRACE(n);
    SetUp();
    ASSERT_EQ(Start(), 0);
    sys.allocsBeforeFailure = n;
    sys.time = klClock.nextStepTime;
    game->Tick(1);  // the boot step builds the scene
    sys.allocsBeforeFailure = -1;
    if (sys.errors.empty()) {
      Close();
      break;
    }
    ++failures;
    const std::string& text = sys.errors[0];
    EXPECT_TRUE(text == "klTaskCreate : out of memory" || text == "klSpriteAlloc : out of memory") << text;
    EXPECT_TRUE(headlessMediaLog().blits.empty());  // the failing tick drew no sprite
    ExpectClosedAfterOneBox(text);
    sys = FakeSystem{};
    flipsAtBox = -1;
  }
  EXPECT_GT(failures, 30);  // every task and sprite of the scene was tried
}

TEST_F(FatalErrors, NoMemoryForADustCloudDuringARide) {
  ASSERT_EQ(Start(), 0);
  Step();
  host.state = kMgRunning;
  sys.allocsBeforeFailure = 0;  // the first dust cloud of the ride fails
  for (int i = 0; i < 3000 && sys.errors.empty(); ++i) Step();
  ASSERT_FALSE(sys.errors.empty()) << "no allocation during the ride";
  ExpectClosedAfterOneBox("klTaskCreate : out of memory");
}

TEST_F(FatalErrors, UnreadablePackEndsTheBuildAtTheFirstSheet) {
  host.assetDir = RODEO_SOURCE_DIR "/tests/game/no-such-pack";
  ASSERT_EQ(Start(), 0);
  sys.time = klClock.nextStepTime;
  game->Tick(1);
  EXPECT_EQ(host.assetNames, (std::vector<std::string>{"bg.bmp", "bg.bmp"}));
  ExpectClosedAfterOneBox("klLoadObject : can't read bitmap file");
}

TEST_F(FatalErrors, SoundThatCannotBeLoaded) {
  failSoundLoadsOf("ready.wav");
  ASSERT_EQ(Start(), 0);
  sys.time = klClock.nextStepTime;
  game->Tick(1);
  EXPECT_EQ(host.assetNames.back(), "ready.wav");  // go.wav and cow1.wav not asked for
  EXPECT_EQ(klTaskCount(), 1);  // the idle task only
  ExpectClosedAfterOneBox("klSoundLoadObject : not found wave resource");
}

// A pack without one of the nine names: GetAssetPath gives null, and the loader
// fails as for a missing file.
TEST_F(FatalErrors, PackLackingANameFailsThatLoad) {
  const std::pair<const char*, const char*> cases[] = {
      {"bg.bmp", "klLoadObject : can't read bitmap file"},
      {"pomul.bmp", "klLoadObject : can't read bitmap file"},
      {"cow.bmp", "klLoadObject : can't read bitmap file"},
      {"parts.bmp", "klLoadObject : can't read bitmap file"},
      {"bgm.wav", "klSoundLoadObject : not found wave resource"},
      {"pu.wav", "klSoundLoadObject : not found wave resource"},
      {"ready.wav", "klSoundLoadObject : not found wave resource"},
      {"go.wav", "klSoundLoadObject : not found wave resource"},
      {"cow1.wav", "klSoundLoadObject : not found wave resource"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    SetUp();
    host.lacking = {c.first};
    ASSERT_EQ(Start(), 0);
    sys.time = klClock.nextStepTime;
    game->Tick(1);
    EXPECT_EQ(host.assetNames.back(), c.first);
    ExpectClosedAfterOneBox(c.second);
    sys = FakeSystem{};
    host = TestHost{};
    flipsAtBox = -1;
  }
}

TEST_F(FatalErrors, DisplayThatCannotBeRecreated) {
  RideThenLoseTheDisplay();
  int16_t rodeoStep = -1;
  for (klTask* t = klTaskHead(); t; t = t->next) {
    if (t->stepTable == RodeoTaskSteps) rodeoStep = t->step;
  }
  const RodeoState before = rodeoState;
  headlessFailDisplayAfter(0);
  game->Tick(1);
  // The tick ended with the failure: no step ran over the released pictures.
  EXPECT_EQ(rodeoState.elapsedMs, before.elapsedMs);
  EXPECT_EQ(rodeoState.speed, before.speed);
  for (klTask* t = klTaskHead(); t; t = t->next) {
    if (t->stepTable == RodeoTaskSteps) {
      EXPECT_EQ(t->step, rodeoStep);
    }
  }
  ExpectClosedAfterOneBox("klDrawInit : can't use DirectDraw");
}

TEST_F(FatalErrors, PictureThatCannotBeReloaded) {
  fs::path dir = CopyPack();
  RideThenLoseTheDisplay();
  fs::remove(dir / "pomul.bmp");
  fs::remove(dir / "parts.bmp");
  game->Tick(1);
  EXPECT_EQ(headlessMediaLog().reloadedSlots.size(), 2u);  // bg, then pomul failed: no more
  ExpectClosedAfterOneBox("klDrawSwapObject : can't read bitmap file");
  fs::remove_all(dir);
}

TEST_F(FatalErrors, LaterEngineCallsDoNothing) {
  ASSERT_EQ(Start(), 0);
  Step();
  klError("klLoadObject", "object table over flow");
  const int flips = headlessMediaLog().flips;
  const int tasks = klTaskCount();
  EXPECT_EQ(klSpriteAlloc(5), nullptr);
  EXPECT_EQ(MakeSprite(5, 1, RodeoRect{0, 0, 1, 1}, 0, 0, true), nullptr);
  SpawnDust(10, 10);  // a scratch work area, no task
  EXPECT_EQ(klTaskCount(), tasks);
  EXPECT_EQ(klLoadObject(RODEO_SOURCE_DIR "/assets/out/pack/bg.bmp"), 0);
  sys.time += 100;
  game->Tick(1);
  game->Stop(1);
  EXPECT_EQ(headlessMediaLog().flips, flips);
  ExpectClosedAfterOneBox("klLoadObject : object table over flow");
}

}  // namespace
