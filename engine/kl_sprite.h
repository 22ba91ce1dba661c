// The sprite list: everything on screen is a rectangle cut from a picture object,
// drawn once per drawn step in ascending priority (so higher values are in front).
#pragma once

#include <cstdint>

struct klSprite {
  klSprite* prev;
  klSprite* next;
  uint32_t priority;
  int32_t visible;
  int32_t object;  // picture slot
  int32_t x, y;
  int32_t right, bottom;  // destination corner, used only when scaled
  int32_t srcLeft, srcTop, srcRight, srcBottom;  // right and bottom exclusive
  uint8_t scaled;
};

int klSpriteInit();                         // allocates the head record
klSprite* klSpriteAlloc(uint32_t priority);  // zero-filled; drawn behind equal priorities
int klSpriteFree(klSprite* sprite);
int klSpriteDrawAll();
int klSpriteRelease();                      // frees every record including the head
klSprite* klSpriteHead();
