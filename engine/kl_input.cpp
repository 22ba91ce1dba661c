#include "engine/kl_input.h"

#include "engine/kl_clock.h"
#include "engine/kl_engine.h"
#include "core/kl_system.h"
#include "media/kl_media.h"

klInputState klInput;
int cursorShown = 0;
int stopped = 0;
uint32_t stopTicks = 0;
uint32_t stopCount = 0;

void klFilterMessage(KlWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!klEngineLive()) return;
  switch (message) {
    case KL_WM_MOVE:
      klClock.nextStepTime = klClock.nextSampleTime = klSystem()->Time();
      break;
    case KL_WM_PAINT:
      klDrawFlip();
      break;
    case KL_WM_DISPLAYCHANGE:
      klDrawLost();
      break;
    case KL_WM_MOUSEMOVE:
      klInput.mouseX = static_cast<int16_t>(lParam & 0xFFFF);
      klInput.mouseY = static_cast<int16_t>((lParam >> 16) & 0xFFFF);
      break;
    case KL_WM_LBUTTONDOWN:
    case KL_WM_LBUTTONDBLCLK:
      klInput.leftHeld = klInput.leftPressed = 1;
      klInput.leftReleased = 0;
      break;
    case KL_WM_LBUTTONUP:
      klInput.leftReleased = 1;
      klInput.leftHeld = 0;
      break;
    case KL_WM_RBUTTONDOWN:
    case KL_WM_RBUTTONDBLCLK:
      klInput.rightHeld = klInput.rightPressed = 1;
      klInput.rightReleased = 0;
      break;
    case KL_WM_RBUTTONUP:
      klInput.rightReleased = 1;
      klInput.rightHeld = 0;
      break;
    case KL_WM_QUERYNEWPALETTE:
      if (colourDepth == 8) klDrawRealizePalette(window);
      break;
    case KL_WM_PALETTECHANGED:
      if (colourDepth == 8 && reinterpret_cast<KlWindow>(wParam) != window) klDrawRealizePalette(window);
      break;
    default:
      break;
  }
}
