#include "ui/zoom_tables.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees) { return degrees * kPi / 180.0; }

}  // namespace

ZoomGeometry ComputeZoomGeometry(const ZoomRect& t) {
  int w = t.right - t.left, h = t.bottom - t.top;
  ZoomGeometry g;
  g.a = static_cast<int>(1.5 * w);
  g.b = static_cast<int>(1.5 * h);
  g.size = std::max(g.a, g.b);
  int left = (g.size - w) / 2, top = (g.size - h) / 2;
  g.canvasX = t.left - left;
  g.canvasY = t.top - top;
  g.target = {left, top, left + w, top + h};
  return g;
}

ZoomOutlineTable BuildZoomOutlines(const ZoomGeometry& g) {
  const int ha = g.a / 2, hb = g.b / 2, c = g.size / 2;
  const int phi = static_cast<int>(std::atan2(static_cast<double>(hb), static_cast<double>(-ha)) * 180.0 / kPi);
  const int corners[4] = {phi, 180 - phi, phi - 180, -phi};
  // A flat target has no height to scale by.
  const double aspect = ha != 0 ? static_cast<double>(hb) / ha : 0.0;
  const double shrink = ha / 45.0;
  ZoomOutlineTable table;
  double r = -ha;  // built up step by step, as the outlines are drawn
  for (int n = 0; n < kZoomOutlineCount; ++n, r += shrink) {
    for (int j = 0; j < 4; ++j) {
      double theta = Radians(corners[j] - 11 * n);
      table[n][j] = {static_cast<int>(c - r * std::cos(theta)), static_cast<int>(c + aspect * r * std::sin(theta))};
    }
  }
  return table;
}

ZoomRectTable BuildZoomRects(const ZoomGeometry& g) {
  const ZoomRect& t = g.target;
  const int w = t.right - t.left, h = t.bottom - t.top;
  ZoomRectTable table;
  double sx = 0, sy = 0;
  for (int k = 0; k < kZoomRectCount - 1; ++k) {
    sx += w / 32.0;
    sy += h / 32.0;
    int left = static_cast<int>(t.left + (w - sx) / 2), top = static_cast<int>(t.top + (h - sy) / 2);
    table[k] = {left, top, static_cast<int>(left + sx), static_cast<int>(top + sy)};
  }
  table[kZoomRectCount - 1] = t;
  return table;
}

int ZoomRectStepMs(int step) {
  return step < 8 ? static_cast<int>((4.5 - step * 0.13513513513513511) * 5) : 5;
}

ZoomStepDraws ZoomStep(int step, int itemCount, int shown) {
  return {step >= shown && step - shown < itemCount ? step - shown : -1, step < itemCount ? step : -1};
}
