#include <vector>

#include "engine/kl_sprite.h"
#include "support/engine_fixture.h"

namespace {

using SpriteList = EngineFixture;

klSprite* Visible(uint32_t priority, int object) {
  klSprite* s = klSpriteAlloc(priority);
  s->visible = 1;
  s->object = object;
  s->srcRight = 10;
  s->srcBottom = 10;
  return s;
}

std::vector<int> DrawnObjects() {
  headlessMediaLog().blits.clear();
  klSpriteDrawAll();
  std::vector<int> objects;
  for (const HeadlessBlit& b : headlessMediaLog().blits) objects.push_back(b.object);
  return objects;
}

TEST_F(SpriteList, DrawsByPriorityAndEqualPrioritiesNewestFirst) {
  Visible(9001, 3);
  Visible(30, 1);
  Visible(31, 2);
  Visible(30, 4);  // same priority as object 1, created later: drawn first
  klSprite* hidden = Visible(20, 5);
  hidden->visible = 0;
  EXPECT_EQ(DrawnObjects(), (std::vector<int>{4, 1, 2, 3}));
}

TEST_F(SpriteList, FreeingKeepsTheListWellFormed) {
  klSprite* a = Visible(10, 1);
  klSprite* b = Visible(20, 2);
  klSprite* c = Visible(30, 3);
  klSpriteFree(c);  // the last one
  EXPECT_EQ(b->next, nullptr);
  EXPECT_EQ(DrawnObjects(), (std::vector<int>{1, 2}));
  klSpriteFree(a);
  EXPECT_EQ(klSpriteHead()->next, b);
  EXPECT_EQ(b->prev, klSpriteHead());
  Visible(15, 6);
  EXPECT_EQ(DrawnObjects(), (std::vector<int>{6, 2}));
}

TEST_F(SpriteList, ScaledSpritesPassTheirDestinationSize) {
  klSprite* s = Visible(10, 7);
  s->scaled = 1;
  s->x = 100;
  s->y = 50;
  s->right = 180;
  s->bottom = 90;
  DrawnObjects();
  ASSERT_EQ(headlessMediaLog().blits.size(), 1u);
  const HeadlessBlit& b = headlessMediaLog().blits[0];
  EXPECT_TRUE(b.stretched);
  EXPECT_EQ(b.width, 80);
  EXPECT_EQ(b.height, 40);
}

}  // namespace
