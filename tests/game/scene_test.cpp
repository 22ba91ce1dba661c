// The scene build: assets asked for by name, every sprite and task in the order
// that the drawing pass and the scheduler rely on.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/game/rodeo_fixture.h"

namespace {

using Scene = RodeoFixture;

TEST_F(Scene, AsksForEveryAssetInLowerCaseInLoadingOrder) {
  const std::vector<std::string> expected = {"bg.bmp",  "bg.bmp", "pomul.bmp", "cow.bmp",   "parts.bmp",
                                             "bgm.wav", "pu.wav", "ready.wav", "go.wav", "cow1.wav"};
  EXPECT_EQ(host.assetNames, expected);
  // The pack spells some names in capitals; the host still finds them.
  EXPECT_EQ(std::filesystem::path(host.GetAssetPath("ready.wav")).filename(), "READY.WAV");
}

TEST_F(Scene, StepRunsTheTasksInTheirFixedOrder) {
  std::vector<const klStepFn*> order;
  for (klTask* t = klTaskHead()->next; t->next; t = t->next) order.push_back(t->stepTable);
  const std::vector<const klStepFn*> expected = {CowTaskSteps,    BackdropTaskSteps, RideTimerTaskSteps,
                                                 CursorTaskSteps, IdleTaskSteps,     RodeoTaskSteps};
  EXPECT_EQ(order, expected);
}

// The first drawn frame: every visible sprite in drawing order, equal priorities
// newest first, the title picture over all of it.
TEST_F(Scene, FirstFrameDrawsTheSceneUnderTheTitlePicture) {
  struct Expected {
    int object, x, y;
    Rect source;
  };
  const std::vector<Expected> expected = {
      {rodeoScene.bgSheet, 800, -50, {0, 700, 400, 1050}},  // panels: newest first
      {rodeoScene.bgSheet, 400, -50, {0, 350, 400, 700}},
      {rodeoScene.bgSheet, 0, -50, {0, 0, 400, 350}},
      {rodeoScene.cowSheet, 105, 100, {0, 0, 216, 195}},
      {rodeoScene.pomulSheet, 175, 80, {0, 0, 71, 120}},
      {rodeoScene.partsSheet, 267, 8, {278, 339, 334, 368}},  // "sec", then the digit row right to left
      {rodeoScene.partsSheet, 240, 8, {0, 339, 26, 368}},
      {rodeoScene.partsSheet, 213, 8, {0, 339, 26, 368}},
      {rodeoScene.partsSheet, 186, 8, {0, 339, 26, 368}},
      {rodeoScene.partsSheet, 178, 8, {270, 339, 278, 368}},
      {rodeoScene.partsSheet, 144, 1, {0, 301, 33, 338}},
      {rodeoScene.partsSheet, 110, 1, {0, 301, 33, 338}},
      {rodeoScene.partsSheet, 76, 1, {0, 301, 33, 338}},
      {rodeoScene.partsSheet, 276, 279, {152, 483, 268, 499}},
      {rodeoScene.partsSheet, 0, 0, {0, 0, 400, 300}},
  };
  const auto& blits = headlessMediaLog().blits;
  ASSERT_EQ(blits.size(), expected.size());
  for (size_t i = 0; i < blits.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(blits[i].stretched);
    EXPECT_EQ(blits[i].object, expected[i].object);
    EXPECT_EQ(blits[i].x, expected[i].x);
    EXPECT_EQ(blits[i].y, expected[i].y);
    EXPECT_EQ((Rect{blits[i].srcLeft, blits[i].srcTop, blits[i].srcRight, blits[i].srcBottom}), expected[i].source);
  }
  // The four sheets took the first four picture slots.
  EXPECT_EQ((std::vector<int>{rodeoScene.bgSheet, rodeoScene.pomulSheet, rodeoScene.cowSheet, rodeoScene.partsSheet}), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(Scene, HiddenSpritesWaitBelowTheirLayers) {
  // READY banner, rope dots, snort and cursor exist but are not drawn yet.
  std::vector<uint32_t> hidden;
  for (klSprite* s = klSpriteHead()->next; s; s = s->next) {
    if (!s->visible) hidden.push_back(s->priority);
  }
  std::vector<uint32_t> expected = {kSnortPriority};
  expected.insert(expected.end(), kRopeDots, kRopePriority);
  expected.push_back(kSignPriority);
  expected.push_back(kCursorPriority);
  EXPECT_EQ(hidden, expected);
}

}  // namespace

namespace {

// A sheet that cannot be read is reported as a fatal error and no scene is
// built: only the idle task was made, and nothing is drawn afterwards.
class MissingAssets : public EngineFixture {
 protected:
  CMgGame* MakeGame() override { return CreateMgGame(); }
};

TEST_F(MissingAssets, BuildNothingButTheIdleTask) {
  resetRecordedSounds();
  host.assetDir = RODEO_SOURCE_DIR "/tests/game/no-such-pack";
  TickAt(klClock.nextStepTime);
  EXPECT_EQ(sys.errors, std::vector<std::string>{"klLoadObject : can't read bitmap file"});
  EXPECT_EQ(klTaskCount(), 1);
  EXPECT_EQ(klTaskHead()->next->stepTable, IdleTaskSteps);
  EXPECT_EQ(klSpriteHead()->next, nullptr);
  // The first failure ended the loading: the palette's and the first sheet's names only.
  EXPECT_EQ(host.assetNames, (std::vector<std::string>{"bg.bmp", "bg.bmp"}));
  TickAt(klClock.nextStepTime);
  EXPECT_TRUE(headlessMediaLog().blits.empty());
}

}  // namespace
