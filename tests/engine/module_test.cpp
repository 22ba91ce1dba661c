#include <cmath>
#include <string>

#include "engine/kl_engine.h"
#include "support/engine_fixture.h"

namespace {

TEST(Module, DescribesTheRodeo) {
  CMgGame* game = new CMgEngine;
  MgGameDesc desc;
  game->Describe(&desc);
  EXPECT_EQ(desc.title, "ポムルのロデオ");
  EXPECT_EQ(desc.version, "1.00");
  EXPECT_EQ(desc.code, "QM100");
  EXPECT_EQ(desc.unitSuffix, "秒ポムル");
  EXPECT_EQ(desc.viewWidth, 400);
  EXPECT_EQ(desc.viewHeight, 300);
  EXPECT_EQ(desc.tickInterval, 0);
  EXPECT_EQ(desc.usesPack, 1);
  delete game;
}

using ModuleServices = EngineFixture;

TEST_F(ModuleServices, InitHidesTheCursorAndSetsTheClock) {
  EXPECT_EQ(sys.hideCalls, 1);
  EXPECT_EQ(cursorShown, 0);
  EXPECT_EQ(klClock.stepMs, 16);
  EXPECT_EQ(klClock.nextStepTime, sys.time);
  EXPECT_EQ(klClock.fps, 60);
  EXPECT_EQ(klTaskCount(), 0);
  EXPECT_EQ(klSinTable[100], static_cast<float>(std::sin(1.0L)));
}

TEST_F(ModuleServices, ErrorShowsOneBoxClosesAndReturnsZero) {
  EXPECT_EQ(klError("klLoadObject", "object table over flow"), 0);
  ASSERT_EQ(sys.errors.size(), 1u);
  EXPECT_EQ(sys.errors[0], "klLoadObject : object table over flow");
  EXPECT_EQ(sys.closePosts, 1);
  EXPECT_EQ(sys.quits, 1);
}

TEST_F(ModuleServices, LongTextsAreCutNotOverflowed) {
  std::string longWhat(600, 'w');
  klError("where", longWhat.c_str());
  ASSERT_EQ(sys.errors.size(), 1u);
  EXPECT_EQ(sys.errors[0].size(), 255u);
  EXPECT_EQ(sys.errors[0].substr(0, 9), "where : w");

  std::string longTrace(3000, 't');
  sys.debugText.clear();
  EXPECT_EQ(klTrace("%s\n", longTrace.c_str()), 1023);
  EXPECT_EQ(sys.debugText.size(), 1023u);
  sys.debugText.clear();
  EXPECT_EQ(klTrace("read %d:%s\n", 3, "bg.bmp"), 14);
  EXPECT_EQ(sys.debugText, "read 3:bg.bmp\n");
}

TEST(ModuleErrors, ErrorBeforeTheDisplayExistsStillShowsItsBox) {
  FakeSystem sys;
  klSetSystem(&sys);
  headlessMediaReset();
  SetMgHost(nullptr);
  EXPECT_EQ(klError("klDrawInit", "can't use DirectDraw"), 0);
  ASSERT_EQ(sys.errors.size(), 1u);
  EXPECT_EQ(sys.errors[0], "klDrawInit : can't use DirectDraw");
  klSetSystem(nullptr);
}

}  // namespace
