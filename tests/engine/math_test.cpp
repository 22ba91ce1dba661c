#include <cmath>

#include "support/engine_fixture.h"

namespace {

TEST(KlSin, TableWrapsEvery628EntriesAndTruncatesTowardZero) {
  klSinInit();
  struct Case {
    float angle;
    int entry;
  };
  const Case cases[] = {
      {0.0f, 0},      {0.009f, 0},  {0.01f, 0},     {0.015f, 1},   {1.57f, 157},
      {6.279f, 627},  {6.28f, 0},   {6.3f, 2},      {12.58f, 1},   {-0.01f, 0},
      {-0.02f, 627},  {-6.28f, 0},  {-6.295f, 627},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(klSin(c.angle), klSinTable[c.entry]) << "angle " << c.angle << " expected entry " << c.entry;
  }
  EXPECT_FLOAT_EQ(klSinTable[157], static_cast<float>(std::sin(1.57)));
}

TEST(KlRand, FollowsTheRuntimeGeneratorFromStateOne) {
  klRandSeed(1);
  // The runtime's rand() from an unseeded state: 41, 18467, 6334, 26500, 19169.
  EXPECT_EQ(klRandNext(), 41);
  EXPECT_EQ(klRandNext(), 18467);
  EXPECT_EQ(klRandNext(), 6334);
  klRandSeed(1);
  EXPECT_EQ(klRand(0, 9), 41 % 10);
  EXPECT_EQ(klRand(-5, 5), -5 + 18467 % 11);
  EXPECT_EQ(klRand(7, 7), 7);
  for (int i = 0; i < 1000; ++i) {
    int r = klRand(3, 8);
    ASSERT_TRUE(r >= 3 && r <= 8) << r;
  }
}

}  // namespace
