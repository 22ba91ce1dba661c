#include "shell/window_placement.h"

#include <algorithm>
#include <cstdint>

namespace shell {

namespace {

// The window in 64 bits, so that x + width holds for every stored x.
struct Span {
  int64_t left, top, right, bottom;
};

bool Contains(const ScreenRect& area, const Span& w) {
  return w.left >= area.left && w.top >= area.top && w.right <= area.right && w.bottom <= area.bottom;
}

uint64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
  return static_cast<uint64_t>(std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0)));
}

// The gap between two intervals along one axis (0 when they meet or overlap).
int64_t Gap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
  if (a1 < b0) return b0 - a1;
  if (b1 < a0) return a0 - b1;
  return 0;
}

// One axis: the least move that puts [start, start + size) into [low, high), or
// low when it does not fit.
int Clamp(int64_t start, int64_t size, int low, int high) {
  if (size >= static_cast<int64_t>(high) - low) return low;
  return static_cast<int>(std::min<int64_t>(std::max<int64_t>(start, low), high - size));
}

}  // namespace

ScreenPoint PlaceWindow(int x, int y, int width, int height, const std::vector<ScreenRect>& workAreas) {
  const Span w{x, y, int64_t{x} + width, int64_t{y} + height};
  if (workAreas.empty()) return {x, y};
  for (const ScreenRect& area : workAreas) {
    if (Contains(area, w)) return {x, y};
  }
  // The nearest monitor: the largest overlap (each side of it is below 2^32, so the
  // area fits 64 bits); among monitors it does not touch, the smallest distance.
  // The squared distance can pass 2^64 for extreme values, so it is compared in
  // double: only the order matters.
  const ScreenRect* nearest = nullptr;
  uint64_t bestOverlap = 0;
  double bestDistance = 0;
  for (const ScreenRect& area : workAreas) {
    uint64_t overlap = Overlap(w.left, w.right, area.left, area.right) * Overlap(w.top, w.bottom, area.top, area.bottom);
    double dx = static_cast<double>(Gap(w.left, w.right, area.left, area.right));
    double dy = static_cast<double>(Gap(w.top, w.bottom, area.top, area.bottom));
    double distance = dx * dx + dy * dy;
    bool better = !nearest || overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && distance < bestDistance);
    if (better) {
      nearest = &area;
      bestOverlap = overlap;
      bestDistance = distance;
    }
  }
  return {Clamp(w.left, int64_t{width}, nearest->left, nearest->right),
          Clamp(w.top, int64_t{height}, nearest->top, nearest->bottom)};
}

}  // namespace shell
