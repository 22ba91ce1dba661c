#include <windows.h>

#include <cstddef>

#include "engine/kl_input.h"
#include "engine/mg_engine.h"

// The portable code names the messages it reacts to itself; they must be the
// platform's own numbers.
static_assert(KL_WM_MOVE == WM_MOVE, "WM_MOVE");
static_assert(KL_WM_PAINT == WM_PAINT, "WM_PAINT");
static_assert(KL_WM_DISPLAYCHANGE == WM_DISPLAYCHANGE, "WM_DISPLAYCHANGE");
static_assert(KL_WM_MOUSEMOVE == WM_MOUSEMOVE, "WM_MOUSEMOVE");
static_assert(KL_WM_LBUTTONDOWN == WM_LBUTTONDOWN, "WM_LBUTTONDOWN");
static_assert(KL_WM_LBUTTONUP == WM_LBUTTONUP, "WM_LBUTTONUP");
static_assert(KL_WM_LBUTTONDBLCLK == WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK");
static_assert(KL_WM_RBUTTONDOWN == WM_RBUTTONDOWN, "WM_RBUTTONDOWN");
static_assert(KL_WM_RBUTTONUP == WM_RBUTTONUP, "WM_RBUTTONUP");
static_assert(KL_WM_RBUTTONDBLCLK == WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK");
static_assert(KL_WM_QUERYNEWPALETTE == WM_QUERYNEWPALETTE, "WM_QUERYNEWPALETTE");
static_assert(KL_WM_PALETTECHANGED == WM_PALETTECHANGED, "WM_PALETTECHANGED");
// The native stand-in of MSG (engine/native/native_msg.h) mirrors these fields.
static_assert(offsetof(MSG, hwnd) == 0, "MSG layout");

int CMgEngine::FilterMessage(tagMSG* msg) {
  klFilterMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  return 1;
}
