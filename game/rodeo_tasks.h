// The rodeo's tasks: their step tables, work areas and the entry points that
// build the scene. Every engine step runs, after the engine's head task:
// CowTask, BackdropTask, RideTimerTask, CursorTask, the dust tasks in spawn
// order, the idle task, RodeoTask.
#pragma once

#include <cstdint>

#include "engine/kl_sprite.h"
#include "engine/kl_task.h"

// RodeoTask's steps.
enum RodeoStep : int16_t {
  kWaitStart = 0,
  kReadySign = 1,
  kRiding = 2,
  kFallPositive = 3,
  kFallNegative = 4,
  kLieOnGround = 5,
  kShowResult = 6,
};

// CowTask's steps.
enum CowStep : int16_t { kStand = 0, kRear = 1, kRearDown = 2, kKick = 3, kKickDown = 4 };

struct RodeoWork {
  float stepTimer;        // counts the fall, the lying and the result wait
  float signTimer;        // counts the banner
  uint16_t frameCounter;
  uint8_t riderFrame;     // upright frame, 0 or 1
};

struct CowWork {
  klSprite* cowSprite;
  klSprite* snortSprite;
  float runOff;           // how far the cow has run off after the fall
  uint16_t cowFrame;      // standing frame, 0 or 1
  uint16_t frameCounter;
  uint16_t buckCounter;
  uint32_t nextCallTime;  // the cow's call is not played again before this
};

struct DustWork {
  klSprite* dustSprite;
  int32_t dustX, dustY;
  float dustTime;
};

struct BackdropWork {
  klSprite* panels[3];
};

struct RideTimerWork {
  uint32_t seenStops;  // the engine's stop count when this task last looked
};

struct CursorWork {
  klSprite* cursorSprite;
};

constexpr int16_t kRodeoPriority = 257;
constexpr int16_t kCompanionPriority = 256;
constexpr uint32_t kCoverPriority = 9001;
constexpr uint32_t kDigitPriority = 8001;
constexpr uint32_t kSignPriority = 6001;
constexpr uint32_t kDustPriority = 2001;
constexpr uint32_t kRiderPriority = 31;
constexpr uint32_t kRopePriority = 30;
constexpr uint32_t kSnortPriority = 12;
constexpr uint32_t kCowPriority = 11;
constexpr uint32_t kBackdropPriority = 1;
constexpr uint32_t kCursorPriority = 10001;

extern const klStepFn IdleTaskSteps[];
extern const klStepFn RodeoTaskSteps[];
extern const klStepFn CowTaskSteps[];
extern const klStepFn DustTaskSteps[];
extern const klStepFn BackdropTaskSteps[];
extern const klStepFn RideTimerTaskSteps[];
extern const klStepFn CursorTaskSteps[];

// Called once by the engine's first step: the idle task, then BuildRodeoScene.
void StartRodeoScene();
// Loads the assets and creates every sprite and task; 0 when the assets failed.
int BuildRodeoScene();
// Nonzero when the palette and all four sheets were loaded.
int LoadRodeoAssets();

// Creators of the companion tasks, in the order the scene build calls them.
void CreateRodeoTask();
void CreateCowTask();
void CreateBackdropTask();
void CreateRideTimerTask();
void CreateCursorTask();
// One dust cloud at x, y, played by a short-lived task.
void SpawnDust(int x, int y);

// Sets the digit row from elapsedMs (BackdropTask calls it every step).
void ShowTime();
// The rider's pose from lean and the upright frame f; the rope from the cow to the hand.
void UpdateRiderPose(int f);
void UpdateRope();
int PoseRowForLean(int lean);
