// Small numeric routines for task code: a table sine and a repeatable random range.
#pragma once

#include <cstdint>

extern float klSinTable[628];  // entry i = sin(i * 0.01)

void klSinInit();        // fills klSinTable (Init does it)
float klSin(float angle);  // table lookup; the table wraps every 628 entries (6.28 rad)

// a + r mod (b - a + 1), r from a linear congruential generator whose state starts
// at 1, so the game's random numbers repeat the same sequence in every run.
int klRand(int a, int b);
int klRandNext();            // the generator's next value, 0..32767
void klRandSeed(uint32_t state);
