// CursorTask: the in-game cursor, drawn while the engine has the system cursor hidden.
#include "engine/kl_input.h"
#include "engine/kl_task.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"

namespace {

void CursorStep() {
  klSprite* cursor = static_cast<CursorWork*>(klCurTaskWork)->cursorSprite;
  SetSource(cursor, klInput.leftHeld || klInput.rightHeld ? kCursorHeldRect : kCursorRect);
  cursor->visible = cursorShown ? 0 : 1;
  cursor->x = klInput.mouseX;  // top left corner on the mouse point
  cursor->y = klInput.mouseY;
}

}  // namespace

const klStepFn CursorTaskSteps[] = {CursorStep};

void CreateCursorTask() {
  CursorWork* w = static_cast<CursorWork*>(klTaskCreate(CursorTaskSteps, kCompanionPriority, KL_RUN_MODE_ZERO, sizeof(CursorWork)));
  w->cursorSprite = MakeSprite(kCursorPriority, rodeoScene.partsSheet, kCursorRect, 0, 0, true);
}
