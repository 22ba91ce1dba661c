// The drawn step the media benchmarks time: the four sheets of the game loaded,
// and 60 sprites like a busy round's (the full backdrop, the cow, the rider,
// digits, dust and stretched banners) in the engine's sprite list.
#pragma once

#include <string>

#include "engine/kl_sprite.h"
#include "media/kl_media.h"

inline void AddSprite(uint32_t priority, int object, int x, int y, int l, int t, int r, int b) {
  klSprite* s = klSpriteAlloc(priority);
  s->visible = 1;
  s->object = object;
  s->x = x;
  s->y = y;
  s->srcLeft = l;
  s->srcTop = t;
  s->srcRight = r;
  s->srcBottom = b;
}

// Loads the sheets from the asset folder and builds the list; klSpriteInit and
// klDrawInit come first. Returns false when a sheet does not load.
inline bool BuildSixtySprites(const std::string& packDir) {
  int bg = klLoadObject((packDir + "/bg.bmp").c_str());
  int cow = klLoadObject((packDir + "/cow.bmp").c_str());
  int parts = klLoadObject((packDir + "/parts.bmp").c_str());
  int pomul = klLoadObject((packDir + "/pomul.bmp").c_str());
  if (!bg || !cow || !parts || !pomul) return false;
  AddSprite(10, bg, 0, 0, 0, 0, 400, 300);
  AddSprite(20, cow, 92, 80, 0, 196, 216, 391);
  AddSprite(30, pomul, 150, 40, 0, 0, 100, 118);
  for (int i = 0; i < 7; ++i) AddSprite(40, parts, 10 + i * 20, 10, i * 20, 300, i * 20 + 20, 330);
  for (int i = 0; i < 40; ++i) AddSprite(50, parts, (i * 37) % 380, 200 + (i * 13) % 90, 0, 500, 40, 530);
  for (int i = 0; i < 11; ++i) {
    klSprite* s = klSpriteAlloc(60);
    s->visible = 1;
    s->scaled = 1;
    s->object = parts;
    s->x = 20 + i * 10;
    s->y = 120 + i * 5;
    s->right = s->x + 160 + i * 8;
    s->bottom = s->y + 60 + i * 3;
    s->srcLeft = 0;
    s->srcTop = 400;
    s->srcRight = 120;
    s->srcBottom = 440;
  }
  return true;
}

// One drawn step's media work: the sprite pass and the flip.
inline void DrawnStep() {
  klSpriteDrawAll();
  klDrawFlip();
}
