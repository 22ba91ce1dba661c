#include "game/rodeo_state.h"

RodeoState rodeoState;

RodeoScene rodeoScene;

klSprite* MakeSprite(uint32_t priority, int sheet, const RodeoRect& source, int x, int y,
                     bool visible) {
  klSprite* s = klSpriteAlloc(priority);
  if (!s) return nullptr;  // out of memory (klError has run) or the engine is closing
  s->object = sheet;
  SetSource(s, source);
  s->x = x;
  s->y = y;
  s->visible = visible ? 1 : 0;
  return s;
}
