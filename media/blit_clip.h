// The clipping arithmetic of the two blit primitives, shared by the DirectDraw
// library and the headless stand-in so both draw exactly the same pixels.
// Pure code, tested natively.
#pragma once

struct KlRect {
  int left, top, right, bottom;  // right and bottom exclusive
};

inline bool operator==(const KlRect& a, const KlRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The plain copy at the source's own size: clips x, y and src to the 400 x 300
// view in the engine's order (right, bottom, left, top). False: nothing to draw.
bool klClipBlt(int* x, int* y, KlRect* src);

// The stretch: the destination x, y, width, height is clamped to 0..399 and
// 0..299 (so a stretch reaching the right or bottom edge loses its last column or
// row); only the bottom clamp recomputes the source bottom, as top + the kept rows
// divided by the whole-number vertical magnification, which may reach past the
// sprite's own bottom row but never past surfaceHeight, the height of the picture
// it is cut from. False: nothing to draw (an inverted or empty rectangle, which
// DirectDraw refuses as well).
bool klClipStretch(int x, int y, int width, int height, const KlRect& src, int surfaceHeight,
                   KlRect* dst, KlRect* clippedSrc);

// True when r is a non-empty rectangle inside a width x height surface; a blit
// from any other rectangle is refused by DirectDraw and draws nothing.
bool klRectInside(const KlRect& r, int width, int height);
