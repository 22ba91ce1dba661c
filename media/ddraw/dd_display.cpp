// The display device: DirectDraw in the engine window, a clipped primary
// surface and the 400 x 300 back surface the sprite pass draws into.
#include "media/ddraw/dd_media.h"

#include "core/kl_core.h"
#include "core/kl_system.h"

uint8_t colourDepth = 0;

IDirectDraw* klDirectDraw = nullptr;
IDirectDrawSurface* klFrontSurface = nullptr;
IDirectDrawClipper* klClipper = nullptr;
IDirectDrawSurface* klBackSurface = nullptr;
klObject klObjects[KL_OBJECT_SLOTS];

namespace {

int initialisedOnce = 0;

template <typename T>
void ReleaseAndNull(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

// A failed DirectDraw call: its result code to the debugger output, then the box.
int Fail(const char* call, HRESULT hr, const char* what) {
  klTrace("klDrawInit: %s failed 0x%08lx\n", call, static_cast<unsigned long>(hr));
  return klError("klDrawInit", what);
}

HRESULT CreateBackSurface(DWORD width, DWORD height, DWORD caps) {
  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  sd.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  sd.ddsCaps.dwCaps = caps;
  sd.dwWidth = width;
  sd.dwHeight = height;
  return klDirectDraw->CreateSurface(&sd, &klBackSurface, nullptr);
}

}  // namespace

int klDrawInit(unsigned width, unsigned height, unsigned) {
  if (klDirectDraw) klDrawRelease();
  klSetFatalBlank(klDrawToGDI);  // klError blanks the view before its box
  if (!initialisedOnce) {
    for (klObject& o : klObjects) o = klObject{};
    klPaletteFile.clear();
  }
  HRESULT hr = DD_OK;
  if (!klDirectDraw && FAILED(hr = DirectDrawCreate(nullptr, &klDirectDraw, nullptr))) {
    klDirectDraw = nullptr;
    return Fail("DirectDrawCreate", hr, "can't use DirectDraw");
  }
  if (FAILED(hr = klDirectDraw->SetCooperativeLevel(klEngineWindow, DDSCL_NORMAL)))
    return Fail("SetCooperativeLevel", hr, "can't set cooperative level");

  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  sd.dwFlags = DDSD_CAPS;
  sd.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  if (FAILED(hr = klDirectDraw->CreateSurface(&sd, &klFrontSurface, nullptr))) {
    klFrontSurface = nullptr;
    // During recovery the display may still be changing: wait for the next change.
    if (initialisedOnce) {
      klTrace("klDrawInit: CreateSurface (primary) failed 0x%08lx, waiting\n", static_cast<unsigned long>(hr));
      return 0;
    }
    return Fail("CreateSurface (primary)", hr, "can't create front surface");
  }

  ReleaseAndNull(klClipper);
  if (FAILED(hr = klDirectDraw->CreateClipper(0, &klClipper, nullptr))) {
    klClipper = nullptr;
    return Fail("CreateClipper", hr, "create clipping failed");
  }
  if (FAILED(hr = klClipper->SetHWnd(0, klEngineWindow))) return Fail("SetHWnd", hr, "get clip location failed");
  if (FAILED(hr = klFrontSurface->SetClipper(klClipper))) return Fail("SetClipper", hr, "set clipping failed");

  // The back surface asks for 3D use as well; a display without 3D (Wine's
  // software renderer) refuses that, and a plain offscreen surface serves.
  if (FAILED(CreateBackSurface(width, height, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE)) &&
      FAILED(hr = CreateBackSurface(width, height, DDSCAPS_OFFSCREENPLAIN))) {
    klBackSurface = nullptr;
    return Fail("CreateSurface (back)", hr, "can't create back surface");
  }

  HDC dc = GetDC(klEngineWindow);
  colourDepth = static_cast<uint8_t>(GetDeviceCaps(dc, BITSPIXEL));
  ReleaseDC(klEngineWindow, dc);

  klDrawClear();
  initialisedOnce = 1;
  return 1;
}

int klDrawRelease() {
  for (klObject& o : klObjects) ReleaseAndNull(o.surface);
  ReleaseAndNull(klBackSurface);
  ReleaseAndNull(klClipper);
  ReleaseAndNull(klFrontSurface);
  ReleaseAndNull(klDirectDraw);
  return 1;
}

int klDrawFlip() {
  if (displayLost) return 1;
  if (!klBackSurface || !klFrontSurface) return 0;
  POINT origin{0, 0};
  ClientToScreen(klEngineWindow, &origin);
  RECT dst{0, 0, KL_VIEW_WIDTH, KL_VIEW_HEIGHT};
  OffsetRect(&dst, origin.x, origin.y);
  RECT src{0, 0, KL_VIEW_WIDTH, KL_VIEW_HEIGHT};
  if (FAILED(klFrontSurface->Blt(&dst, klBackSurface, &src, DDBLT_WAIT, nullptr))) klDrawLost();
  return 1;
}

void klDrawClear() {
  if (!klBackSurface) return;
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = 0;
  RECT all{0, 0, KL_VIEW_WIDTH, KL_VIEW_HEIGHT};
  klBackSurface->Blt(&all, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

void klDrawToGDI() {
  klDrawClear();
  klDrawFlip();
  klDrawClear();
  klDrawFlip();
  if (klDirectDraw) klDirectDraw->FlipToGDISurface();
}
