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
#include "media/object_table.h"
#include "media/pixel_convert.h"

uint8_t colourDepth = 32;

namespace {

constexpr int kDepth = 32;  // the stand-in's display

struct Slot {
  bool hasPicture = false;
  HeadlessPicture picture;
  char name[KL_OBJECT_NAME_BYTES] = {};  // empty: the slot is free
  uint32_t colourKey = 0;
};

// Everything the stand-in holds, reset at once by headlessMediaReset.
struct HeadlessState {
  HeadlessMediaLog log;
  Slot slots[KL_OBJECT_SLOTS];
  HeadlessPicture back, flipped;
  std::string paletteFile;
  bool deviceOpen = false;
  bool initialisedOnce = false;
  int initsBeforeFailure = -1;  // -1: the display always opens
};

HeadlessState state;

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

// The stand-in's side of the shared table: the 8-bit reader only, keyed 0.
class HeadlessObjects : public KlObjectStore {
 public:
  bool MakePicture(int slot, const char* name, Making) override {
    Slot& s = state.slots[slot];
    if (!ReadPicture(name, &s.picture)) return false;
    s.hasPicture = true;
    s.colourKey = 0;
    return true;
  }
  void DropPicture(int slot) override {
    state.slots[slot].hasPicture = false;
    state.slots[slot].picture = HeadlessPicture{};
  }
  char* Name(int slot) override { return state.slots[slot].name; }
  void Reloading(int slot) override { state.log.reloadedSlots.push_back(slot); }
};

HeadlessObjects objects;

const HeadlessPicture* PictureOf(int object) {
  if (!state.deviceOpen || !ValidSlot(object) || !state.slots[object].hasPicture) return nullptr;
  return &state.slots[object].picture;
}

}  // namespace

HeadlessMediaLog& headlessMediaLog() { return state.log; }

void headlessMediaReset() {
  klFatalReset();
  state = HeadlessState{};
  colourDepth = kDepth;
  displayLost = 0;
  displayLostTime = 0;
}

const HeadlessPicture& headlessBackPicture() { return state.back; }
const HeadlessPicture& headlessFlippedPicture() { return state.flipped; }
const HeadlessPicture* headlessObjectPicture(int slot) {
  return ValidSlot(slot) && state.slots[slot].hasPicture ? &state.slots[slot].picture : nullptr;
}
const std::string& headlessPaletteFile() { return state.paletteFile; }
void headlessFailDisplayAfter(int inits) { state.initsBeforeFailure = inits; }

int klDrawInit(unsigned, unsigned, unsigned) {
  if (state.deviceOpen) klDrawRelease();
  klSetFatalBlank(klDrawToGDI);
  if (state.initsBeforeFailure == 0) return klError("klDrawInit", "can't use DirectDraw");
  if (state.initsBeforeFailure > 0) --state.initsBeforeFailure;
  if (!state.initialisedOnce) {
    for (Slot& s : state.slots) s = Slot{};
    state.paletteFile.clear();
  }
  state.back = HeadlessPicture(KL_VIEW_WIDTH, KL_VIEW_HEIGHT);
  colourDepth = kDepth;
  state.deviceOpen = state.initialisedOnce = true;
  ++state.log.inits;
  klDrawClear();
  return 1;
}

int klDrawRelease() {
  for (Slot& s : state.slots) {
    s.hasPicture = false;
    s.picture = HeadlessPicture{};
  }
  state.back = HeadlessPicture{};
  state.deviceOpen = false;
  ++state.log.releases;
  return 1;
}

int klDrawFlip() {
  if (displayLost) return 1;
  if (!state.deviceOpen) return 0;
  state.flipped = state.back;
  ++state.log.flips;
  return 1;
}

void klDrawClear() {
  if (!state.deviceOpen) return;
  std::fill(state.back.pixels.begin(), state.back.pixels.end(), 0u);
  ++state.log.clears;
}

void klDrawToGDI() {
  klDrawClear();
  klDrawFlip();
  klDrawClear();
  klDrawFlip();
}

int klLoadObject(const char* name) { return klObjectLoad(objects, name); }
int klDrawSwapObject(const char* name, int slot) { return klObjectSwap(objects, name, slot); }
int klDrawReloadObject(int slot) { return klObjectReload(objects, slot); }

// The stand-in's display is 32-bit: colours are applied per pixel, no palette.
int klDrawSetPalette(const char* name) {
  if (!name || klFatalRaised()) return 0;  // no such file: unusable, as on an 8-bit display
  state.paletteFile = name;
  return 1;
}
void klDrawRestorePalette() {
  if (!state.paletteFile.empty()) klDrawSetPalette(state.paletteFile.c_str());
}
void klDrawFlushPalette() {}
void klDrawMakePalette(const uint8_t*) {}
void klDrawRealizePalette(KlWindow) {}

void klDrawBlt(int x, int y, int object, int l, int t, int r, int b) {
  state.log.blits.push_back({false, x, y, object, l, t, r, b, r - l, b - t});
  const HeadlessPicture* picture = PictureOf(object);
  if (!picture) return;
  KlRect src{l, t, r, b};
  if (!klClipBlt(&x, &y, &src) || !klRectInside(src, picture->width, picture->height)) return;
  KlRect dst{x, y, x + (src.right - src.left), y + (src.bottom - src.top)};
  headlessKeyedBlt(&state.back, dst, *picture, src, state.slots[object].colourKey);
}

void klDrawStretchBlt(int x, int y, int object, int l, int t, int r, int b, int w, int h) {
  state.log.blits.push_back({true, x, y, object, l, t, r, b, w, h});
  const HeadlessPicture* picture = PictureOf(object);
  if (!picture) return;
  KlRect dst, src;
  if (!klClipStretch(x, y, w, h, KlRect{l, t, r, b}, picture->height, &dst, &src)) return;
  if (!klRectInside(src, picture->width, picture->height)) return;
  headlessKeyedBlt(&state.back, dst, *picture, src, state.slots[object].colourKey);
}
