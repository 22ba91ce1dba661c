// Pictures of a scripted round at its key moments, drawn by the headless stand-in
// from the real sheets and compared pixel for pixel with the stored frames, so a
// change in drawing order, placement or clipping shows. To accept new pictures
// deliberately, run with RODEO_UPDATE_GOLDEN=1 and look at tests/game/golden/.
#include <cmath>
#include <cstdlib>
#include <string>

#include "media/headless/headless_media.h"
#include "tests/game/rodeo_fixture.h"

namespace {

class GoldenFrames : public RodeoFixture {
 protected:
  void SetUp() override {
    RodeoFixture::SetUp();
    // The pointer rests inside the view: the game draws its own cursor.
    sys.cursor = KlPoint{300, 200};
    klFilterMessage(host.view, KL_WM_MOUSEMOVE, 0, (200 << 16) | 300);
    Step();
  }

  void ExpectFrame(const std::string& name) {
    SCOPED_TRACE(name);
    const HeadlessPicture& frame = headlessFlippedPicture();
    const std::string path = RODEO_SOURCE_DIR "/tests/game/golden/" + name + ".png";
    if (std::getenv("RODEO_UPDATE_GOLDEN")) {
      ASSERT_TRUE(headlessSavePicture(frame, path.c_str())) << path;
      return;
    }
    HeadlessPicture golden;
    ASSERT_TRUE(headlessLoadPicture(path.c_str(), &golden)) << path << ": make it with RODEO_UPDATE_GOLDEN=1";
    ASSERT_EQ(frame.width, golden.width);
    ASSERT_EQ(frame.height, golden.height);
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < frame.height; ++y) {
      for (int x = 0; x < frame.width; ++x) {
        if (frame.Rgb(x, y) == golden.Rgb(x, y)) continue;
        if (differing++ == 0) firstX = x, firstY = y;
      }
    }
    if (differing) {
      const std::string actual = name + ".actual.png";  // beside the test program, to look at
      headlessSavePicture(frame, actual.c_str());
      ADD_FAILURE() << differing << " pixels differ, the first at " << firstX << "," << firstY << ": "
                    << std::hex << frame.Rgb(firstX, firstY) << " instead of " << golden.Rgb(firstX, firstY)
                    << "; this run's picture: " << actual;
    }
  }

  void StepUntil(RodeoStep step) {
    for (int i = 0; i < 2000 && RodeoStepIndex() != step; ++i) Step();
    ASSERT_EQ(RodeoStepIndex(), step);
  }
};

// The whole round of the player who never clicks, from the title to the result wait.
TEST_F(GoldenFrames, ScriptedRound) {
  Step(3);
  ExpectFrame("title");

  host.state = 1;
  Step(1 + 13);
  ExpectFrame("ready_half");

  StepUntil(kRiding);
  // Mid-buck, the first cloud of dust drifting, the GO! banner still up.
  for (int i = 0; i < 200 && !(CowStepIndex() != kStand && std::abs(rodeoState.pitch) > 2.0f); ++i) Step();
  ExpectFrame("riding");

  for (int i = 0; i < 2000 && RodeoStepIndex() == kRiding; ++i) Step();  // the fifth buck throws
  ASSERT_TRUE(rodeoState.fallen);
  Step(12);
  ExpectFrame("falling");

  StepUntil(kLieOnGround);
  Step(60);
  ExpectFrame("lying");

  StepUntil(kShowResult);
  Step(60);
  ExpectFrame("result_wait");
}

}  // namespace
