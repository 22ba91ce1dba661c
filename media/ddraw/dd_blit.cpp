// The two drawing primitives of the sprite pass: colour-keyed copies from a
// picture object into the back surface, clipped by the shared arithmetic.
#include "media/blit_clip.h"
#include "media/ddraw/dd_media.h"

namespace {

IDirectDrawSurface* ObjectSurface(int object) {
  if (object < 0 || object >= KL_OBJECT_SLOTS || !klBackSurface) return nullptr;
  return klObjects[object].surface;
}

RECT ToRect(const KlRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void klDrawBlt(int x, int y, int object, int left, int top, int right, int bottom) {
  IDirectDrawSurface* surface = ObjectSurface(object);
  if (!surface) return;
  KlRect src{left, top, right, bottom};
  if (!klClipBlt(&x, &y, &src)) return;
  RECT rect = ToRect(src);
  HRESULT hr = klBackSurface->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), surface, &rect,
                                      DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
  if (hr == DDERR_SURFACELOST) klDrawLost();
}

void klDrawStretchBlt(int x, int y, int object, int left, int top, int right, int bottom, int width,
                      int height) {
  IDirectDrawSurface* surface = ObjectSurface(object);
  if (!surface) return;
  // The bottom clamp may reach below the sprite's rows, but never below the picture.
  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  if (FAILED(surface->GetSurfaceDesc(&sd))) return;
  KlRect dst, src;
  // An inverted destination draws nothing, as DirectDraw would refuse it.
  if (!klClipStretch(x, y, width, height, KlRect{left, top, right, bottom},
                     static_cast<int>(sd.dwHeight), &dst, &src))
    return;
  RECT d = ToRect(dst), s = ToRect(src);
  HRESULT hr = klBackSurface->Blt(&d, surface, &s, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
  if (hr == DDERR_SURFACELOST) klDrawLost();
}
