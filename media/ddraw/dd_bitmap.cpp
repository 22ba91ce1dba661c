// Bitmap files to surfaces: the 8-bit reader that converts to the display's
// depth, and the GDI path with its colour-key helpers for any other bitmap.
#include <vector>

#include "core/kl_core.h"
#include "core/win32/wide_text.h"
#include "media/bitmap_file.h"
#include "media/ddraw/dd_media.h"

IDirectDrawSurface* klCreatePlainSurface(DWORD width, DWORD height) {
  if (!klDirectDraw) return nullptr;
  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  sd.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  sd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  sd.dwWidth = width;
  sd.dwHeight = height;
  IDirectDrawSurface* surface = nullptr;
  HRESULT hr = klDirectDraw->CreateSurface(&sd, &surface, nullptr);
  if (FAILED(hr)) {
    klTrace("CreateSurface %lux%lu failed 0x%08lx\n", static_cast<unsigned long>(width),
            static_cast<unsigned long>(height), static_cast<unsigned long>(hr));
    return nullptr;
  }
  return surface;
}

int klDrawGetPixelFormat(IDirectDrawSurface* surface, klDrawPixelFormat* format) {
  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  sd.dwFlags = DDSD_PIXELFORMAT;
  if (FAILED(surface->GetSurfaceDesc(&sd))) return 0;
  *format = klPixelFormatFromMasks(sd.ddpfPixelFormat.dwRBitMask, sd.ddpfPixelFormat.dwGBitMask,
                                   sd.ddpfPixelFormat.dwBBitMask);
  return 1;
}

IDirectDrawSurface* klDrawBMPToDirectDrawSurface(const char* name) {
  HDC ic = CreateICA("Display", nullptr, nullptr, nullptr);
  int depth = GetDeviceCaps(ic, BITSPIXEL);
  DeleteDC(ic);
  klTrace("klDrawBMPToDirectDrawSurface start %dbpp %s\n", depth, name);

  std::vector<uint8_t> bytes;
  KlBitmapFile file;
  if (!klReadWholeFile(name, &bytes) || !klParseBitmap(bytes.data(), bytes.size(), &file)) return nullptr;

  IDirectDrawSurface* surface = klCreatePlainSurface(static_cast<DWORD>(file.width), static_cast<DWORD>(file.height));
  if (!surface) return nullptr;
  klDrawPixelFormat format{};
  if (depth == 16 && !klDrawGetPixelFormat(surface, &format)) {
    surface->Release();
    return nullptr;
  }
  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  HRESULT hr = surface->Lock(nullptr, &sd, DDLOCK_WAIT, nullptr);
  if (FAILED(hr)) {
    klTrace("klDrawBMPToDirectDrawSurface: Lock failed 0x%08lx\n", static_cast<unsigned long>(hr));
    surface->Release();
    return nullptr;
  }
  // The surface's own pixel size bounds every row written, whatever the display said.
  int bytesPerPixel = static_cast<int>(sd.ddpfPixelFormat.dwRGBBitCount / 8);
  if (bytesPerPixel == klBytesPerPixel(depth)) {
    uint32_t pixels[256];
    klBuildPixelTable(depth, file.colourTable, format, pixels);
    int count = file.width;
    if (static_cast<LONG>(count * bytesPerPixel) > sd.lPitch) count = sd.lPitch / bytesPerPixel;
    auto* base = static_cast<uint8_t*>(sd.lpSurface);
    int rows = static_cast<int>(sd.dwHeight) < file.height ? static_cast<int>(sd.dwHeight) : file.height;
    for (int r = 0; r < rows; ++r) klConvertRow(depth, file.Row(r), count, pixels, base + r * sd.lPitch);
  }
  surface->Unlock(nullptr);
  return surface;
}

HRESULT klDrawCopyBitmap(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int dx, int dy) {
  if (!bitmap || !surface) return E_FAIL;
  surface->Restore();
  HDC image = CreateCompatibleDC(nullptr);
  if (!image) klTrace("createcompatible dc failed\n");
  HGDIOBJ old = SelectObject(image, bitmap);
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  if (dx == 0) dx = bm.bmWidth;
  if (dy == 0) dy = bm.bmHeight;
  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  sd.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
  surface->GetSurfaceDesc(&sd);
  HDC dc = nullptr;
  HRESULT hr = surface->GetDC(&dc);
  if (SUCCEEDED(hr)) {
    StretchBlt(dc, 0, 0, static_cast<int>(sd.dwWidth), static_cast<int>(sd.dwHeight), image, x, y, dx, dy, SRCCOPY);
    surface->ReleaseDC(dc);
  }
  if (image) {
    SelectObject(image, old);
    DeleteDC(image);
  }
  return hr;
}

IDirectDrawSurface* klDrawLoadBitmap(IDirectDraw*, const char* name, int width, int height) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, width, height, LR_CREATEDIBSECTION));
  if (!bitmap)
    bitmap = static_cast<HBITMAP>(
        LoadImageW(nullptr, WideFromUtf8(name).c_str(), IMAGE_BITMAP, width, height,
                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) return nullptr;
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  IDirectDrawSurface* surface = klCreatePlainSurface(static_cast<DWORD>(bm.bmWidth), static_cast<DWORD>(bm.bmHeight));
  if (surface) klDrawCopyBitmap(surface, bitmap, 0, 0, 0, 0);
  DeleteObject(bitmap);
  return surface;
}

DWORD klDrawColorMatch(IDirectDrawSurface* surface, COLORREF colour) {
  COLORREF saved = 0;
  HDC dc = nullptr;
  if (colour != CLR_INVALID && SUCCEEDED(surface->GetDC(&dc))) {
    saved = GetPixel(dc, 0, 0);
    SetPixel(dc, 0, 0, colour);
    surface->ReleaseDC(dc);
  }
  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  HRESULT hr;
  while ((hr = surface->Lock(nullptr, &sd, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
  }
  DWORD value = CLR_INVALID;
  if (SUCCEEDED(hr)) {
    value = *static_cast<DWORD*>(sd.lpSurface);
    DWORD bits = sd.ddpfPixelFormat.dwRGBBitCount;
    if (bits < 32) value &= (DWORD{1} << bits) - 1;
    surface->Unlock(nullptr);
  }
  if (colour != CLR_INVALID && SUCCEEDED(surface->GetDC(&dc))) {
    SetPixel(dc, 0, 0, saved);
    surface->ReleaseDC(dc);
  }
  return value;
}

void klDrawSetColorKey(IDirectDrawSurface* surface, COLORREF colour) {
  // At 32 bits the match's mask would not work; magenta is the fixed key there.
  DWORD key = colourDepth == 32 ? 0xFF00FFu : klDrawColorMatch(surface, colour);
  DDCOLORKEY ck{key, key};
  surface->SetColorKey(DDCKEY_SRCBLT, &ck);
}
