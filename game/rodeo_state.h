// What the rodeo's tasks share: the round's values, the loaded sheets and sounds,
// and the sprites the scene build makes once for the whole run.
#pragma once

#include <cstdint>

#include "engine/kl_sprite.h"
#include "game/rodeo_layout.h"

struct RodeoState {
  float speed;     // tempo: 0.1 at a round start (1.0 with R held), +0.0003 a step until the fall
  float pitch;     // cow's tilt: > 0 rearing, < 0 kicking, within -3.75..3.75
  int16_t lean;    // rider's balance: 0 upright, 1..4 positive side, -1..-4 negative side
  float riderX, riderY;
  float scrollX;   // backdrop scroll, 0..1200 after each wrap
  float scrollY;   // backdrop lift, 0..50
  int32_t rideStarted;  // GO has been given
  int32_t fallen;
  uint32_t elapsedMs;   // ride time as displayed
  uint32_t startTime;   // multimedia clock at GO, moved on by every pause
  uint32_t resultMs;    // 0 until the fall has been timed
};

extern RodeoState rodeoState;

// Picture slots and sound handles, set by LoadRodeoAssets.
extern int bgSheet, pomulSheet, cowSheet, partsSheet;
extern int bgmSound, puSound, readySound, goSound, cowSound;

// Sprites made by BuildRodeoScene.
extern klSprite* coverSprite;
extern klSprite* captionSprite;
extern klSprite* riderSprite;
extern klSprite* signSprite;
extern klSprite* ropeDots[kRopeDots];
extern klSprite* bigDigits[3];
extern klSprite* pointSprite;
extern klSprite* smallDigits[3];
extern klSprite* secLabel;

// Cuts a sprite's source rectangle.
inline void SetSource(klSprite* sprite, const RodeoRect& r) {
  sprite->srcLeft = r.left;
  sprite->srcTop = r.top;
  sprite->srcRight = r.right;
  sprite->srcBottom = r.bottom;
}

// A new sprite cut from sheet and placed at x, y; null when klSpriteAlloc gave none.
klSprite* MakeSprite(uint32_t priority, int sheet, const RodeoRect& source, int x, int y,
                     bool visible);
