#include "ui/bar_layout.h"

namespace bar {

std::array<ControlSlot, kControlCount> LayOutControls() {
  std::array<ControlSlot, kControlCount> slots{};
  int x = 5;
  for (int i = 0; i < kControlCount; ++i) {
    bool separator = i == 3 || i == 7;
    int width = separator ? 8 : 34;
    slots[i] = {separator, {x, 4, x + width, 34}};
    x += width;
  }
  return slots;
}

Point LogoPosition(int barWidth, int logoWidth, int exitButtonRight) {
  int a = barWidth - logoWidth - 2;
  int b = exitButtonRight + 8;
  return a >= b ? Point{a, 5} : Point{b, 4};
}

EtchedLines EtchedLineCoordinates(int width, int height) {
  if (width < height) {
    int c = (width - 1) / 2;
    return {{c, 0}, {c, height}, {c + 1, 0}, {c + 1, height}};
  }
  int c = (height - 1) / 2;
  return {{0, c}, {width, c}, {0, c + 1}, {width, c + 1}};
}

int HoverLabelTop(int cursorY, int maskHeight, int maskBitsPerPixel, int hotSpotY) {
  int h = maskBitsPerPixel == 1 ? maskHeight / 2 : maskHeight;
  return cursorY + h - hotSpotY;
}

double SlideStep(double p, int target, double speed, bool* moved) {
  *moved = p != target;
  if (!*moved) return p;
  double next = p + speed;
  return static_cast<int>(next) < target ? next : target;
}

int TremblingX(int viewWidth, int r) { return (viewWidth - 170) / 2 - r + 2; }
int TremblingY(int viewHeight, int r) { return (viewHeight - 66) / 2 - r - 6; }

}  // namespace bar
