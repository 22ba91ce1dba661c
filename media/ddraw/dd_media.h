// The DirectDraw library's own state and picture routines, shared by its files
// and by the Windows tests that read surfaces back. Windows-only.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <string>

#include "core/kl_file.h"
#include "media/kl_media.h"
#include "media/pixel_convert.h"

// One slot of the object table. A slot is taken when its name is not empty.
struct klObject {
  IDirectDrawSurface* surface;
  char name[260];
  COLORREF colourKey;  // 0 for the 8-bit reader's pictures, magenta for GDI's
};

extern IDirectDraw* klDirectDraw;
extern IDirectDrawSurface* klFrontSurface;
extern IDirectDrawClipper* klClipper;
extern IDirectDrawSurface* klBackSurface;
extern klObject klObjects[KL_OBJECT_SLOTS];
extern HPALETTE klEnginePalette;    // null until a palette is made on an 8-bit display
extern std::string klPaletteFile;   // the last name given to klDrawSetPalette

constexpr COLORREF KL_MAGENTA = RGB(255, 0, 255);

// An offscreen plain surface in system memory; null on failure.
IDirectDrawSurface* klCreatePlainSurface(DWORD width, DWORD height);

// The 8-bit reader: a surface in the display's format, index 0 as pixel 0; null
// when the file is missing, refused by the reader, or no surface can be made.
IDirectDrawSurface* klDrawBMPToDirectDrawSurface(const char* name);
int klDrawGetPixelFormat(IDirectDrawSurface* surface, klDrawPixelFormat* format);

// The GDI path for any bitmap the 8-bit reader refuses.
IDirectDrawSurface* klDrawLoadBitmap(IDirectDraw* dd, const char* name, int width, int height);
HRESULT klDrawCopyBitmap(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int dx, int dy);
void klDrawSetColorKey(IDirectDrawSurface* surface, COLORREF colour);
DWORD klDrawColorMatch(IDirectDrawSurface* surface, COLORREF colour);
