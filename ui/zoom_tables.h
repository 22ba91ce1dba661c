// The start-up zoom's geometry: a square canvas around the window's rectangle, the
// 45 spinning outlines that close in on its centre and the 32 rectangles that grow
// out to the window, in canvas coordinates; and the pacing of the two phases.
// Every halving of an integer and every real-to-integer conversion truncates
// toward zero.
#pragma once

#include <array>

struct ZoomPoint {
  int x, y;
};

struct ZoomRect {
  int left, top, right, bottom;
};

struct ZoomGeometry {
  int a, b;          // one and a half times the target's width and height
  int size;          // the canvas square's side: the larger of a and b
  int canvasX, canvasY;  // the canvas's top-left corner on the screen
  ZoomRect target;   // the window's rectangle in canvas coordinates
};

constexpr int kZoomOutlineCount = 45;
constexpr int kZoomRectCount = 32;
constexpr int kZoomOutlineSteps = 57;  // each outline drawn, then erased 12 steps later
constexpr int kZoomOutlinesShown = 12;
constexpr int kZoomRectSteps = 40;     // each rectangle drawn, then erased 8 steps later
constexpr int kZoomRectsShown = 8;
constexpr int kZoomOutlineStepMs = 8;

using ZoomOutline = std::array<ZoomPoint, 4>;
using ZoomOutlineTable = std::array<ZoomOutline, kZoomOutlineCount>;
using ZoomRectTable = std::array<ZoomRect, kZoomRectCount>;

// The canvas for a target rectangle given in screen coordinates.
ZoomGeometry ComputeZoomGeometry(const ZoomRect& screenTarget);

// Outline 0 is an axis-parallel rectangle of a x b centred on the canvas; each
// next one is smaller by a 45th and turned 11 degrees further.
ZoomOutlineTable BuildZoomOutlines(const ZoomGeometry& g);

// Rectangle k is (k + 1) / 32 of the target's size, centred on it; the last one is
// the target itself.
ZoomRectTable BuildZoomRects(const ZoomGeometry& g);

// How long step i of the rectangle phase lasts: slowing from 22 ms over the first
// eight steps, then 5 ms.
int ZoomRectStepMs(int step);

// What a step draws with the XOR pen: the item to erase (drawn `shown` steps
// earlier) and the item to draw, each -1 when there is none.
struct ZoomStepDraws {
  int erase, draw;
};
ZoomStepDraws ZoomStep(int step, int itemCount, int shown);
