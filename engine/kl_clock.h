// The frame clock: fixed 16 ms steps on the multimedia clock, run by Tick.
#pragma once

#include <cstdint>

struct klFrameClock {
  int32_t stepMs;
  uint32_t nextStepTime;   // when the next step is due
  int32_t catchUpCount;    // logic-only steps since the last drawn step
  int32_t framesCounted;   // drawn steps since the last frame-rate sample
  uint32_t nextSampleTime;
  int32_t fps;
};

extern klFrameClock klClock;

void klClockInit();                 // stepMs 16, everything due now, fps 60
int klEngineTick(int active);       // Tick: always 1
void klEngineStop(int stop);        // Stop
void klEngineResync();              // Resync
int klEngineInit();                 // Init: 0 success, 1 display failure
int klEngineShutdown();             // Shutdown: always 1
