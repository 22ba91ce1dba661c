// The headless stand-in for the media library: the same operations and results
// as the DirectDraw library, drawing into 32-bit pictures in memory instead of a
// display. It reads the same bitmap files with the same reader and clips with the
// same arithmetic; what DirectDraw would refuse draws nothing here too. Files the
// 8-bit reader refuses would go to GDI on Windows; there is no GDI here, so they
// fail as a file GDI cannot read does.
#include "media/headless/headless_media.h"

#include <algorithm>
#include <cstring>

#include "core/kl_core.h"
#include "core/kl_file.h"
#include "core/kl_system.h"
#include "media/bitmap_file.h"
#include "media/kl_media.h"
#include "media/pixel_convert.h"

uint8_t colourDepth = 32;
int32_t displayLost = 0;
uint32_t displayLostTime = 0;

namespace {

constexpr int kDepth = 32;  // the stand-in's display
constexpr size_t kNameBytes = 260;

struct Slot {
  bool hasPicture = false;
  HeadlessPicture picture;
  std::string name;     // empty: the slot is free
  uint32_t colourKey = 0;
};

HeadlessMediaLog mediaLog;
Slot slots[KL_OBJECT_SLOTS];
HeadlessPicture back, flipped;
std::string paletteFile;
bool deviceOpen = false;
bool initialisedOnce = false;
int initsBeforeFailure = -1;  // -1: the display always opens

bool ValidSlot(int slot) { return slot >= 0 && slot < KL_OBJECT_SLOTS; }

// The 8-bit reader, converting as for a 32-bit display.
bool ReadPicture(const char* name, HeadlessPicture* picture) {
  std::vector<uint8_t> bytes;
  KlBitmapFile file;
  if (!klReadWholeFile(name, &bytes) || !klParseBitmap(bytes.data(), bytes.size(), &file)) return false;
  klTrace("klDrawBMPToDirectDrawSurface start %dbpp %s\n", kDepth, name);
  uint32_t table[256];
  klBuildPixelTable(kDepth, file.colourTable, klDrawPixelFormat{}, table);
  *picture = HeadlessPicture(file.width, file.height);
  for (int r = 0; r < file.height; ++r) {
    const uint8_t* row = file.Row(r);
    uint32_t* out = &picture->pixels[static_cast<size_t>(r) * file.width];
    for (int j = 0; j < file.width; ++j) out[j] = table[row[j]];
  }
  return true;
}

const HeadlessPicture* PictureOf(int object) {
  if (!deviceOpen || !ValidSlot(object) || !slots[object].hasPicture) return nullptr;
  return &slots[object].picture;
}

}  // namespace

HeadlessMediaLog& headlessMediaLog() { return mediaLog; }

void headlessMediaReset() {
  klFatalReset();
  mediaLog = HeadlessMediaLog{};
  for (Slot& s : slots) s = Slot{};
  back = flipped = HeadlessPicture{};
  paletteFile.clear();
  deviceOpen = initialisedOnce = false;
  initsBeforeFailure = -1;
  colourDepth = kDepth;
  displayLost = 0;
  displayLostTime = 0;
}

const HeadlessPicture& headlessBackPicture() { return back; }
const HeadlessPicture& headlessFlippedPicture() { return flipped; }
const HeadlessPicture* headlessObjectPicture(int slot) {
  return ValidSlot(slot) && slots[slot].hasPicture ? &slots[slot].picture : nullptr;
}
const std::string& headlessPaletteFile() { return paletteFile; }
void headlessFailDisplayAfter(int inits) { initsBeforeFailure = inits; }

int klDrawInit(unsigned, unsigned, unsigned) {
  if (deviceOpen) klDrawRelease();
  klSetFatalBlank(klDrawToGDI);
  if (initsBeforeFailure == 0) return klError("klDrawInit", "can't use DirectDraw");
  if (initsBeforeFailure > 0) --initsBeforeFailure;
  if (!initialisedOnce) {
    for (Slot& s : slots) s = Slot{};
    paletteFile.clear();
  }
  back = HeadlessPicture(KL_VIEW_WIDTH, KL_VIEW_HEIGHT);
  colourDepth = kDepth;
  deviceOpen = initialisedOnce = true;
  ++mediaLog.inits;
  klDrawClear();
  return 1;
}

int klDrawRelease() {
  for (Slot& s : slots) {
    s.hasPicture = false;
    s.picture = HeadlessPicture{};
  }
  back = HeadlessPicture{};
  deviceOpen = false;
  ++mediaLog.releases;
  return 1;
}

int klDrawFlip() {
  if (displayLost) return 1;
  if (!deviceOpen) return 0;
  flipped = back;
  ++mediaLog.flips;
  return 1;
}

void klDrawClear() {
  if (!deviceOpen) return;
  std::fill(back.pixels.begin(), back.pixels.end(), 0u);
  ++mediaLog.clears;
}

void klDrawToGDI() {
  klDrawClear();
  klDrawFlip();
  klDrawClear();
  klDrawFlip();
}

void klDrawLost() {
  if (displayLost) return;
  displayLost = 1;
  displayLostTime = klSystem()->Time();
}

int klLoadObject(const char* name) {
  if (klFatalRaised()) return 0;
  if (!name) return klError("klLoadObject", "can't read bitmap file");  // not in the pack
  if (std::strlen(name) >= kNameBytes) return klError("klLoadObject", "too long object name");
  int slot = 1;
  while (slot < KL_OBJECT_SLOTS && !slots[slot].name.empty()) ++slot;
  if (slot == KL_OBJECT_SLOTS) return klError("klLoadObject", "object table over flow");
  Slot& s = slots[slot];
  s.name = name;
  if (!ReadPicture(name, &s.picture)) return klError("klLoadObject", "can't read bitmap file");
  s.hasPicture = true;
  s.colourKey = 0;
  return slot;
}

int klDrawSwapObject(const char* name, int slot) {
  if (klFatalRaised()) return 0;
  if (!name) return klError("klDrawSwapObject", "can't read bitmap file");
  if (std::strlen(name) >= kNameBytes) return klError("klDrawSwapObject", "too long object name");
  if (!ValidSlot(slot)) return 0;
  Slot& s = slots[slot];
  s.hasPicture = false;
  s.picture = HeadlessPicture{};
  s.name = name;
  klTrace("load %s\n", name);
  if (!ReadPicture(name, &s.picture)) return klError("klDrawSwapObject", "can't read bitmap file");
  s.hasPicture = true;
  s.colourKey = 0;
  klTrace("ddswap complete %s\n", name);
  return 1;
}

int klDrawReloadObject(int slot) {
  if (klFatalRaised() || displayLost || !ValidSlot(slot) || slots[slot].name.empty()) return 1;
  mediaLog.reloadedSlots.push_back(slot);
  klTrace("read %d:%s\n", slot, slots[slot].name.c_str());
  std::string name = slots[slot].name;
  klDrawSwapObject(name.c_str(), slot);
  return 1;
}

// The stand-in's display is 32-bit: colours are applied per pixel, no palette.
int klDrawSetPalette(const char* name) {
  if (!name || klFatalRaised()) return 0;  // no such file: unusable, as on an 8-bit display
  paletteFile = name;
  return 1;
}
void klDrawRestorePalette() {
  if (!paletteFile.empty()) klDrawSetPalette(paletteFile.c_str());
}
void klDrawFlushPalette() {}
void klDrawMakePalette(const uint8_t*) {}
void klDrawRealizePalette(KlWindow) {}

void klDrawBlt(int x, int y, int object, int l, int t, int r, int b) {
  mediaLog.blits.push_back({false, x, y, object, l, t, r, b, r - l, b - t});
  const HeadlessPicture* picture = PictureOf(object);
  if (!picture) return;
  KlRect src{l, t, r, b};
  if (!klClipBlt(&x, &y, &src) || !klRectInside(src, picture->width, picture->height)) return;
  KlRect dst{x, y, x + (src.right - src.left), y + (src.bottom - src.top)};
  headlessKeyedBlt(&back, dst, *picture, src, slots[object].colourKey);
}

void klDrawStretchBlt(int x, int y, int object, int l, int t, int r, int b, int w, int h) {
  mediaLog.blits.push_back({true, x, y, object, l, t, r, b, w, h});
  const HeadlessPicture* picture = PictureOf(object);
  if (!picture) return;
  KlRect dst, src;
  if (!klClipStretch(x, y, w, h, KlRect{l, t, r, b}, &dst, &src)) return;
  if (!klRectInside(src, picture->width, picture->height)) return;
  headlessKeyedBlt(&back, dst, *picture, src, slots[object].colourKey);
}
