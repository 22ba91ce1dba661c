// The engine palette on 8-bit displays: entries 10 to 245 from a bitmap file's
// colour table, the twenty static colours kept, realised one to one so that
// picture index i shows as the file's colour i.
#include <vector>

#include "core/kl_core.h"
#include "media/bitmap_file.h"
#include "media/ddraw/dd_media.h"

HPALETTE klEnginePalette = nullptr;
std::string klPaletteFile;

namespace {

struct LogPalette256 {
  WORD version;
  WORD count;
  PALETTEENTRY entries[256];
};

void SelectAndRealize(HWND window) {
  HDC dc = GetDC(window);
  SelectPalette(dc, klEnginePalette, FALSE);
  RealizePalette(dc);
  ReleaseDC(window, dc);
}

// The primary surface shows indices through the palette attached to it; without
// one, Wine's windowed primary has a colour table of its own rather than the
// system palette. The engine palette is what the realisation puts there.
void AttachToFront() {
  if (!klFrontSurface || !klDirectDraw || !klEnginePalette) return;
  PALETTEENTRY entries[256];
  GetPaletteEntries(klEnginePalette, 0, 256, entries);
  for (PALETTEENTRY& e : entries) e.peFlags = 0;
  IDirectDrawPalette* palette = nullptr;
  if (FAILED(klDirectDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr))) return;
  klFrontSurface->SetPalette(palette);
  palette->Release();  // the surface keeps its own reference
}

}  // namespace

int klDrawSetPalette(const char* name) {
  if (!name || klFatalRaised()) return 0;  // not in the pack: no file to read
  // Kept whole (not cut to a fixed field) so recovery reopens the same file.
  klPaletteFile = name;
  if (colourDepth != 8) return 1;
  klTrace("GetPal\n");
  std::vector<uint8_t> bytes;
  if (!klReadWholeFile(name, &bytes) && !klReadWholeFile((std::string("..\\") + name).c_str(), &bytes))
    return 0;
  KlBitmapFile file;
  if (!klParseBitmapHeader(bytes.data(), bytes.size(), &file)) return 0;
  klDrawClear();
  klDrawFlip();
  klDrawFlushPalette();
  klDrawMakePalette(file.colourTable);
  if (klEnginePalette) SelectAndRealize(klEngineWindow);
  AttachToFront();
  return 1;
}

void klDrawRestorePalette() {
  if (!klPaletteFile.empty()) {
    std::string name = klPaletteFile;
    klDrawSetPalette(name.c_str());
  }
}

void klDrawFlushPalette() {
  LogPalette256 lp{0x300, 256, {}};
  for (PALETTEENTRY& e : lp.entries) e = PALETTEENTRY{0, 0, 0, PC_NOCOLLAPSE};
  HPALETTE empty = CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
  if (!empty) return;
  HDC screen = GetDC(nullptr);
  HPALETTE old = SelectPalette(screen, empty, FALSE);
  RealizePalette(screen);
  SelectPalette(screen, old, FALSE);
  ReleaseDC(nullptr, screen);
  DeleteObject(empty);
}

void klDrawMakePalette(const uint8_t colourTable[1024]) {
  LogPalette256 lp{0x300, 256, {}};
  HDC screen = GetDC(nullptr);
  GetSystemPaletteEntries(screen, 0, 256, lp.entries);
  ReleaseDC(nullptr, screen);
  for (int i = 10; i <= 245; ++i) {
    const uint8_t* c = colourTable + 4 * i;
    lp.entries[i] = PALETTEENTRY{c[2], c[1], c[0], PC_NOCOLLAPSE};
  }
  HPALETTE made = CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
  // Each recovery makes the palette again; the previous one is not kept.
  if (made && klEnginePalette) DeleteObject(klEnginePalette);
  if (made) klEnginePalette = made;
}

void klDrawRealizePalette(KlWindow window) {
  if (klEnginePalette) SelectAndRealize(window);
}
