#include "engine/kl_sprite.h"

#include "engine/kl_engine.h"
#include "core/kl_system.h"
#include "media/kl_media.h"

namespace {
klSprite* head = nullptr;
}

klSprite* klSpriteHead() { return head; }

int klSpriteInit() {
  head = static_cast<klSprite*>(klSystem()->Alloc(sizeof(klSprite), true));
  if (!head) return klError("klSpriteInit", "out of memory");
  return 1;
}

klSprite* klSpriteAlloc(uint32_t priority) {
  // Before Init, after Shutdown or once closing: no list to insert into.
  if (!head || klFatalRaised()) return nullptr;
  klSprite* cur = head;
  while (cur->next && cur->next->priority < priority) cur = cur->next;
  klSprite* sprite = static_cast<klSprite*>(klSystem()->Alloc(sizeof(klSprite), true));
  if (!sprite) {
    klError("klSpriteAlloc", "out of memory");
    return nullptr;
  }
  sprite->prev = cur;
  sprite->next = cur->next;
  if (cur->next) cur->next->prev = sprite;
  cur->next = sprite;
  sprite->priority = priority;
  return sprite;
}

int klSpriteFree(klSprite* sprite) {
  if (!sprite || !head) return 0;
  sprite->prev->next = sprite->next;
  if (sprite->next) sprite->next->prev = sprite->prev;
  klSystem()->Free(sprite);
  return 1;
}

int klSpriteDrawAll() {
  if (!head || klFatalRaised()) return 1;
  for (klSprite* s = head->next; s; s = s->next) {
    if (!s->visible) continue;
    if (s->scaled) {
      klDrawStretchBlt(s->x, s->y, s->object, s->srcLeft, s->srcTop, s->srcRight, s->srcBottom,
                       s->right - s->x, s->bottom - s->y);
    } else {
      klDrawBlt(s->x, s->y, s->object, s->srcLeft, s->srcTop, s->srcRight, s->srcBottom);
    }
  }
  return 1;
}

int klSpriteRelease() {
  for (klSprite* s = head; s;) {
    klSprite* next = s->next;
    klSystem()->Free(s);
    s = next;
  }
  head = nullptr;
  return 1;
}
