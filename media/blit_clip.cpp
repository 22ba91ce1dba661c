#include "media/blit_clip.h"

#include <cstdint>

namespace {
constexpr int kViewWidth = 400;
constexpr int kViewHeight = 300;
constexpr int kStretchRight = 399;
constexpr int kStretchBottom = 299;

bool Empty(const KlRect& r) { return r.right <= r.left || r.bottom <= r.top; }
}  // namespace

bool klClipBlt(int* x, int* y, KlRect* src) {
  // 64-bit sums: no sprite position or rectangle can overflow the tests.
  int64_t l = src->left, t = src->top, r = src->right, b = src->bottom, px = *x, py = *y;
  if (px + (r - l) > kViewWidth) r = l + kViewWidth - px;
  if (py + (b - t) > kViewHeight) b = t + kViewHeight - py;
  if (px < 0) {
    l -= px;
    px = 0;
  }
  if (py < 0) {
    t -= py;
    py = 0;
  }
  // An empty rectangle is left out too: the copy would draw nothing anyway.
  if (r <= l || b <= t) return false;
  *x = static_cast<int>(px);
  *y = static_cast<int>(py);
  *src = KlRect{static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)};
  return true;
}

bool klClipStretch(int x, int y, int width, int height, const KlRect& src, int surfaceHeight,
                   KlRect* dst, KlRect* clippedSrc) {
  int64_t right = int64_t{x} + width, bottom = int64_t{y} + height;
  if (right > kStretchRight) right = kStretchRight;
  if (bottom > kStretchBottom) bottom = kStretchBottom;
  // Unclamped right and bottom beyond the int range would be inverted anyway.
  if (right < INT32_MIN || bottom < INT32_MIN) return false;
  KlRect d{x < 0 ? 0 : x, y < 0 ? 0 : y, static_cast<int>(right), static_cast<int>(bottom)};
  KlRect s = src;
  if (int64_t{y} + height > kStretchBottom) {
    d.bottom = kStretchBottom;
    int64_t sourceHeight = int64_t{src.bottom} - src.top;
    // The correction needs a source and a destination to scale between; without
    // them the stretch draws nothing rather than divide by zero.
    if (sourceHeight <= 0 || height <= 0) return false;
    int64_t magnification = height / sourceHeight;
    int64_t shown = kStretchBottom - static_cast<int64_t>(y);
    int64_t sourceBottom;
    if (magnification > 0) {
      // The rows the destination keeps, at the whole-number magnification. When
      // that rounds down (136 rows over 48 is 2, not 2.83) this reaches below the
      // sprite's own rows into the rest of its sheet, and the rows kept show at
      // exactly that magnification.
      sourceBottom = src.top + shown / magnification;
    } else {
      // Drawn shorter than its source: scale the kept rows in proportion.
      sourceBottom = src.top + shown * sourceHeight / height;
    }
    // Never below the picture itself: the rows that are there are stretched over
    // the kept destination, as the other clamps squeeze theirs.
    if (sourceBottom > surfaceHeight) sourceBottom = surfaceHeight;
    s.bottom = static_cast<int>(sourceBottom);
  }
  if (Empty(d) || Empty(s)) return false;
  *dst = d;
  *clippedSrc = s;
  return true;
}

bool klRectInside(const KlRect& r, int width, int height) {
  return !Empty(r) && r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
}
