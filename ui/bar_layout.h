// The control bar's arithmetic, apart from any window: where its nine controls go,
// where the logo goes when the bar is resized, the etched separator's two lines,
// the hover label's place under the pointer, and the slide-in's motion. Used by
// CButtonBar, CEtchedLine and the hover label; pure, so it is tested natively.
#pragma once

#include <array>

namespace bar {

struct Rect {
  int left, top, right, bottom;
};
struct Point {
  int x, y;
};

// The controls in layout order: Start, Stop, Reset, sep1, High score, Help,
// Version, sep2, Exit. Buttons are 34 x 30, separators 8 x 30, from x = 5, y = 4.
constexpr int kControlCount = 9;
struct ControlSlot {
  bool separator;
  Rect rect;
};
std::array<ControlSlot, kControlCount> LayOutControls();

// The logo when the bar is barWidth wide: 2 pixels from the right edge at y = 5, or,
// if that would come closer than 8 pixels to the Exit button, 8 pixels right of it
// at y = 4.
Point LogoPosition(int barWidth, int logoWidth, int exitButtonRight);

// A separator of w x h: a vertical line pair when narrower than tall, else
// horizontal. The highlight line lies one pixel right of (or below) the shadow.
struct EtchedLines {
  Point shadowFrom, shadowTo, lightFrom, lightTo;
};
EtchedLines EtchedLineCoordinates(int width, int height);

// The hover label's top edge: below the arrow pointer's picture. maskHeight and
// maskBitsPerPixel describe the arrow cursor's mask bitmap (a one-bit mask holds
// the AND and XOR halves stacked, so only half of it is the picture).
int HoverLabelTop(int cursorY, int maskHeight, int maskBitsPerPixel, int hotSpotY);

// One frame of a sliding picture: from p towards its target t at speed; reaches
// exactly t once the next whole pixel would not be short of it. moved tells
// whether p changed.
double SlideStep(double p, int target, double speed, bool* moved);

// The slide-in's three pictures (170 x 66) tremble around the view's centre;
// r is a pseudo-random number from 0 to 4.
int TremblingX(int viewWidth, int r);
int TremblingY(int viewHeight, int r);

}  // namespace bar
