// palette_probe: what an 8-bit display shows of a 256-colour palette, with
// nothing of the game in it. A 400 x 300 window; a palette of the twenty static
// colours plus 236 colours far from them (four ramps: grey, red, green, blue);
// the palette attached to a windowed DirectDraw primary and the same palette
// selected and realised through GDI. The upper half is drawn by DirectDraw (an
// 8-bit offscreen surface of indices, Blt to the clipped primary), the lower half
// by GDI (PALETTEINDEX brushes); each half is 16 x 16 cells, index 16 * row + column.
//
// Prints the display's facts, then for each half what GDI reads back from the
// window: the number of distinct colours, how many cells show their own colour,
// how many show one of the twenty static colours. Then it holds the window for
// the milliseconds given as the first argument, so that the X server's own
// picture can be taken (ImageMagick's import -window ...), which is what the
// player sees. Further arguments: "child" draws into a child window filling the
// frame (as a game view is), "3d" makes the offscreen surface a 3D-device one in
// place of system memory. Windows-only.
#include <windows.h>
#include <ddraw.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

constexpr int kWidth = 400, kHeight = 300;
constexpr int kCellW = 25, kCellH = 9, kHalf = 150;

struct LogPalette256 {
  WORD version;
  WORD count;
  PALETTEENTRY entries[256];
};

PALETTEENTRY colours[256];

COLORREF Ref(const PALETTEENTRY& e) { return RGB(e.peRed, e.peGreen, e.peBlue); }

void MakeColours() {
  HDC screen = GetDC(nullptr);
  GetSystemPaletteEntries(screen, 0, 256, colours);
  ReleaseDC(nullptr, screen);
  // The static colours of an 8-bit display when the system gives none.
  static const COLORREF kStatic[20] = {
      RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
      RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
      RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
      RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
      RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
  bool none = true;
  for (int i = 0; i < 10; ++i) none = none && Ref(colours[i]) == 0 && Ref(colours[246 + i]) == 0;
  if (none)
    for (int i = 0; i < 20; ++i) {
      PALETTEENTRY& e = colours[i < 10 ? i : 236 + i];
      e = PALETTEENTRY{GetRValue(kStatic[i]), GetGValue(kStatic[i]), GetBValue(kStatic[i]), 0};
    }
  for (int k = 0; k < 236; ++k) {
    int ramp = k / 59, step = k % 59;
    BYTE v = static_cast<BYTE>(20 + step * 4), half = static_cast<BYTE>(v / 2);
    BYTE r = ramp == 0 ? v : ramp == 1 ? v : half, g = ramp == 0 ? v : ramp == 2 ? v : half,
         b = ramp == 0 ? v : ramp == 3 ? v : half;
    if (ramp == 0) r = g = b = static_cast<BYTE>(30 + step * 3);  // greys between the static ones
    colours[10 + k] = PALETTEENTRY{r, g, b, 0};
  }
}

// Wine's default colour table of an 8-bit picture: the static colours around a
// 3-3-2 cube. The probe counts the cells that read back as its nearest entry.
COLORREF DefaultTableEntry(int k) {
  if (k < 10 || k >= 246) return Ref(colours[k]);
  return RGB((k & 0x07) << 5, (k & 0x38) << 2, k & 0xC0);
}

int Distance(COLORREF a, COLORREF b) {
  int r = GetRValue(a) - GetRValue(b), g = GetGValue(a) - GetGValue(b), bl = GetBValue(a) - GetBValue(b);
  return r * r + g * g + bl * bl;
}

COLORREF NearestDefaultEntry(COLORREF c) {
  int best = 0;
  for (int k = 1; k < 256; ++k)
    if (Distance(DefaultTableEntry(k), c) < Distance(DefaultTableEntry(best), c)) best = k;
  return DefaultTableEntry(best);
}

bool IsStatic(COLORREF c) {
  for (int i = 0; i < 10; ++i)
    if (c == Ref(colours[i]) || c == Ref(colours[246 + i])) return true;
  return false;
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void Report(const char* what, const DWORD* pixels, int top) {
  std::set<DWORD> distinct;
  int own = 0, onStatic = 0, staticCells = 0, onTable = 0;
  for (int i = 0; i < 256; ++i) {
    int x = (i % 16) * kCellW + kCellW / 2, y = top + (i / 16) * kCellH + kCellH / 2;
    DWORD p = pixels[y * kWidth + x] & 0xFFFFFF;
    COLORREF got = RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
    bool isStaticIndex = i < 10 || i >= 246;
    staticCells += isStaticIndex;
    if (got == Ref(colours[i])) ++own;
    if (got == NearestDefaultEntry(Ref(colours[i]))) ++onTable;
    if (!isStaticIndex && IsStatic(got)) ++onStatic;
  }
  for (int y = top; y < top + 16 * kCellH; ++y)
    for (int x = 0; x < 16 * kCellW; ++x) distinct.insert(pixels[y * kWidth + x] & 0xFFFFFF);
  std::printf("%s: %zu distinct colours read back, %d of 256 cells in their own colour, "
              "%d of 236 free cells on a static colour, %d of 256 on the nearest entry of Wine's default "
              "8-bit colour table\n",
              what, distinct.size(), own, onStatic, onTable);
  (void)staticCells;
}

}  // namespace

int main(int argc, char** argv) {
  int holdMs = argc > 1 ? std::atoi(argv[1]) : 0;
  bool child = false, video = false;
  for (int i = 2; i < argc; ++i) {
    child = child || std::strcmp(argv[i], "child") == 0;
    video = video || std::strcmp(argv[i], "3d") == 0;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PaletteProbe";
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  RegisterClassW(&wc);
  RECT frame{0, 0, kWidth, kHeight};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  HWND window = CreateWindowW(L"PaletteProbe", L"palette probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                              20, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              wc.hInstance, nullptr);
  if (child) {  // draw into a child window filling the frame, as a game view would
    HWND parent = window;
    window = CreateWindowW(L"PaletteProbe", L"", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight, parent,
                           nullptr, wc.hInstance, nullptr);
  }
  Pump();

  HDC dc = GetDC(window);
  RECT clip{}, placed{};
  int clipKind = GetClipBox(dc, &clip);
  GetWindowRect(window, &placed);
  std::printf("%s window at %ld,%ld-%ld,%ld, visible %d, clip box %d: %ld,%ld-%ld,%ld\n",
              child ? "child" : "top-level", placed.left, placed.top, placed.right, placed.bottom,
              IsWindowVisible(window), clipKind, clip.left, clip.top, clip.right, clip.bottom);
  std::printf("BITSPIXEL %d, RC_PALETTE %s, SIZEPALETTE %d, NUMRESERVED %d\n",
              GetDeviceCaps(dc, BITSPIXEL), (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) ? "yes" : "no",
              GetDeviceCaps(dc, SIZEPALETTE), GetDeviceCaps(dc, NUMRESERVED));
  ReleaseDC(window, dc);
  MakeColours();

  // The same colours through GDI: realised in the foreground for the window.
  LogPalette256 lp{0x300, 256, {}};
  for (int i = 0; i < 256; ++i) {
    lp.entries[i] = colours[i];
    lp.entries[i].peFlags = (i >= 10 && i < 246) ? PC_NOCOLLAPSE : 0;
  }
  HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
  dc = GetDC(window);
  SelectPalette(dc, palette, FALSE);
  UINT realised = RealizePalette(dc);
  ReleaseDC(window, dc);
  PALETTEENTRY system[256];
  HDC screen = GetDC(nullptr);
  GetSystemPaletteEntries(screen, 0, 256, system);
  ReleaseDC(nullptr, screen);
  int systemMatches = 0;
  for (int i = 10; i < 246; ++i) systemMatches += Ref(system[i]) == Ref(colours[i]);
  std::printf("RealizePalette mapped %u entries; system palette holds %d of the 236 free colours\n",
              realised, systemMatches);

  // DirectDraw: a windowed primary with the palette attached, an 8-bit offscreen
  // surface of indices copied onto it.
  IDirectDraw* dd = nullptr;
  IDirectDrawSurface *front = nullptr, *back = nullptr;
  IDirectDrawClipper* clipper = nullptr;
  IDirectDrawPalette* ddPalette = nullptr;
  HRESULT hr = DirectDrawCreate(nullptr, &dd, nullptr);
  if (SUCCEEDED(hr)) hr = dd->SetCooperativeLevel(window, DDSCL_NORMAL);
  DDSURFACEDESC sd{};
  sd.dwSize = sizeof sd;
  sd.dwFlags = DDSD_CAPS;
  sd.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  if (SUCCEEDED(hr)) hr = dd->CreateSurface(&sd, &front, nullptr);
  if (SUCCEEDED(hr)) hr = dd->CreateClipper(0, &clipper, nullptr);
  if (SUCCEEDED(hr)) hr = clipper->SetHWnd(0, window);
  if (SUCCEEDED(hr)) hr = front->SetClipper(clipper);
  if (SUCCEEDED(hr)) {
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) entries[i] = PALETTEENTRY{colours[i].peRed, colours[i].peGreen, colours[i].peBlue, 0};
    hr = dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &ddPalette, nullptr);
  }
  if (SUCCEEDED(hr)) hr = front->SetPalette(ddPalette);
  DDSURFACEDESC bd{};
  bd.dwSize = sizeof bd;
  bd.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  bd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (video ? DDSCAPS_3DDEVICE : DDSCAPS_SYSTEMMEMORY);
  bd.dwWidth = kWidth;
  bd.dwHeight = kHalf;
  if (SUCCEEDED(hr)) hr = dd->CreateSurface(&bd, &back, nullptr);
  if (FAILED(hr)) {
    std::printf("DirectDraw set-up failed 0x%08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  DDSURFACEDESC ld{};
  ld.dwSize = sizeof ld;
  hr = back->Lock(nullptr, &ld, DDLOCK_WAIT, nullptr);
  std::printf("offscreen surface: %lu bits per pixel\n", static_cast<unsigned long>(ld.ddpfPixelFormat.dwRGBBitCount));
  if (SUCCEEDED(hr)) {
    for (int y = 0; y < kHalf; ++y) {
      BYTE* row = static_cast<BYTE*>(ld.lpSurface) + y * ld.lPitch;
      for (int x = 0; x < kWidth; ++x) {
        int cx = x / kCellW, cy = y / kCellH;
        row[x] = cy < 16 ? static_cast<BYTE>(cy * 16 + cx) : 0;
      }
    }
    back->Unlock(nullptr);
  }

  auto draw = [&]() {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT dst{origin.x, origin.y, origin.x + kWidth, origin.y + kHalf}, src{0, 0, kWidth, kHalf};
    HRESULT b = front->Blt(&dst, back, &src, DDBLT_WAIT, nullptr);
    HDC wdc = GetDC(window);
    HPALETTE old = SelectPalette(wdc, palette, FALSE);
    RealizePalette(wdc);
    for (int i = 0; i < 256; ++i) {
      HBRUSH brush = CreateSolidBrush(PALETTEINDEX(i));
      RECT cell{(i % 16) * kCellW, kHalf + (i / 16) * kCellH, (i % 16 + 1) * kCellW, kHalf + (i / 16 + 1) * kCellH};
      FillRect(wdc, &cell, brush);
      DeleteObject(brush);
    }
    SelectPalette(wdc, old, FALSE);
    ReleaseDC(window, wdc);
    GdiFlush();
    return b;
  };
  hr = draw();
  std::printf("primary Blt 0x%08lx\n", static_cast<unsigned long>(hr));
  Pump();
  Sleep(200);
  draw();

  // What GDI reads back from the window.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = kWidth;
  bi.bmiHeader.biHeight = -kHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  dc = GetDC(window);
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ oldBitmap = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
  GdiFlush();
  Report("DirectDraw half", static_cast<const DWORD*>(bits), 0);
  Report("GDI half", static_cast<const DWORD*>(bits), kHalf);
  SelectObject(mem, oldBitmap);
  DeleteDC(mem);
  DeleteObject(dib);
  ReleaseDC(window, dc);
  std::fflush(stdout);

  for (int waited = 0; waited < holdMs; waited += 100) {
    Pump();
    if (waited % 500 == 0) draw();
    Sleep(100);
  }
  back->Release();
  ddPalette->Release();
  front->Release();
  clipper->Release();
  dd->Release();
  DeleteObject(palette);
  DestroyWindow(window);
  return 0;
}
