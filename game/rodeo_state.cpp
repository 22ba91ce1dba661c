#include "game/rodeo_state.h"

RodeoState rodeoState;

int bgSheet, pomulSheet, cowSheet, partsSheet;
int bgmSound, puSound, readySound, goSound, cowSound;

klSprite* coverSprite;
klSprite* captionSprite;
klSprite* riderSprite;
klSprite* signSprite;
klSprite* ropeDots[kRopeDots];
klSprite* bigDigits[3];
klSprite* pointSprite;
klSprite* smallDigits[3];
klSprite* secLabel;

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
