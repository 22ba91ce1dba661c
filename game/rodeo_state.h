// What the rodeo's tasks share: the round's values (RodeoState) and the loaded
// sheets, sounds and sprites of the scene (RodeoScene).
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

// What the scene build loads and makes once for the whole run, freed (sprites,
// pictures, sounds) by the engine's Shutdown.
struct RodeoScene {
  // Picture slots and sound handles, set by LoadRodeoAssets (0 when not loaded).
  int bgSheet, pomulSheet, cowSheet, partsSheet;
  int bgmSound, puSound, readySound, goSound, cowSound;
  // Sprites made by BuildRodeoScene (null when not made).
  klSprite* coverSprite;
  klSprite* captionSprite;
  klSprite* riderSprite;
  klSprite* signSprite;
  klSprite* ropeDots[kRopeDots];
  klSprite* bigDigits[3];
  klSprite* pointSprite;
  klSprite* smallDigits[3];
  klSprite* secLabel;
};

extern RodeoScene rodeoScene;

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
