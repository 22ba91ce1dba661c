#include "engine/kl_math.h"

#include <cmath>

float klSinTable[628];

namespace {
uint32_t randState = 1;
}

void klSinInit() {
  for (int i = 0; i < 628; ++i) klSinTable[i] = static_cast<float>(std::sin(static_cast<long double>(i) * 0.01L));
}

float klSin(float angle) {
  // The float angle is scaled in double precision: -0.01f * 100 then stays just
  // above -1 and truncates to 0, where a single-precision product would round to -1.
  int i = static_cast<int>(static_cast<double>(angle) * 100.0);
  if (i >= 628) i %= 628;
  if (i < 0) i = 627 - ((627 - i) % 628);
  return klSinTable[i];
}

int klRandNext() {
  randState = randState * 214013u + 2531011u;
  return static_cast<int>((randState >> 16) & 0x7FFF);
}

void klRandSeed(uint32_t state) { randState = state; }

int klRand(int a, int b) { return a + klRandNext() % (b - a + 1); }
