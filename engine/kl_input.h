// Mouse input state kept by FilterMessage and read by the game's steps, and the
// engine's records of the cursor and of stops.
#pragma once

#include <cstdint>

#include "engine/mg_host.h"

struct klInputState {
  int16_t mouseX, mouseY;        // last pointer position in view client coordinates
  int32_t leftHeld, rightHeld;   // button is down
  int32_t leftPressed, rightPressed;    // went down (or double-clicked) since the last step
  int32_t leftReleased, rightReleased;  // went up since the last step
};

extern klInputState klInput;
extern int cursorShown;     // whether the engine has the system cursor shown
extern int stopped;         // argument of the last effective Stop
extern uint32_t stopTicks;  // after Stop(1): tick count at its start; after Stop(0): its length
extern uint32_t stopCount;  // effective Stop(1) calls so far, so a new pause is seen even
                            // when it lasts exactly as long as the previous one

// The window messages the engine reacts to.
enum : uint32_t {
  KL_WM_MOVE = 0x0003,
  KL_WM_PAINT = 0x000F,
  KL_WM_DISPLAYCHANGE = 0x007E,
  KL_WM_MOUSEMOVE = 0x0200,
  KL_WM_LBUTTONDOWN = 0x0201,
  KL_WM_LBUTTONUP = 0x0202,
  KL_WM_LBUTTONDBLCLK = 0x0203,
  KL_WM_RBUTTONDOWN = 0x0204,
  KL_WM_RBUTTONUP = 0x0205,
  KL_WM_RBUTTONDBLCLK = 0x0206,
  KL_WM_QUERYNEWPALETTE = 0x030F,
  KL_WM_PALETTECHANGED = 0x0311,
};

// The portable part of FilterMessage: message fields as the window procedure got them.
void klFilterMessage(KlWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
