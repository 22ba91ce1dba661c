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
// Zero-filled, drawn behind the sprites of equal priority. Null when out of memory
// (after klError), before Init, after Shutdown and after any fatal error.
klSprite* klSpriteAlloc(uint32_t priority);
int klSpriteFree(klSprite* sprite);  // 0 for null or when the list is gone
int klSpriteDrawAll();
int klSpriteRelease();                      // frees every record including the head
klSprite* klSpriteHead();
