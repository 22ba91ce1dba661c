// The headless stand-in for the media library: same operations and results as
// the DirectDraw library, without a display. Tests inspect what was drawn.
#include "media/headless/headless_media.h"

#include <cstring>

#include "engine/kl_engine.h"
#include "engine/kl_system.h"
#include "media/kl_media.h"

uint8_t colourDepth = 32;
int32_t displayLost = 0;
uint32_t displayLostTime = 0;

namespace {

struct Slot {
  bool hasPicture;
  std::string name;
};

HeadlessMediaLog mediaLog;
Slot slots[KL_OBJECT_SLOTS];
bool deviceOpen = false;
bool initialisedOnce = false;

}  // namespace

HeadlessMediaLog& headlessMediaLog() { return mediaLog; }

void headlessMediaReset() {
  mediaLog = HeadlessMediaLog{};
  for (Slot& s : slots) s = Slot{};
  deviceOpen = initialisedOnce = false;
  displayLost = 0;
  displayLostTime = 0;
}

int klDrawInit(unsigned, unsigned, unsigned) {
  if (!initialisedOnce) {
    for (Slot& s : slots) s = Slot{};
  }
  deviceOpen = initialisedOnce = true;
  ++mediaLog.inits;
  klDrawClear();
  return 1;
}

int klDrawRelease() {
  for (Slot& s : slots) s.hasPicture = false;
  deviceOpen = false;
  ++mediaLog.releases;
  return 1;
}

int klDrawFlip() {
  if (displayLost) return 1;
  if (!deviceOpen) return 0;
  ++mediaLog.flips;
  return 1;
}

void klDrawClear() {
  if (deviceOpen) ++mediaLog.clears;
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
  if (std::strlen(name) >= 260) return klError("klLoadObject", "too long object name");
  for (int slot = 1; slot < KL_OBJECT_SLOTS; ++slot) {
    if (!slots[slot].name.empty()) continue;
    slots[slot] = Slot{true, name};
    return slot;
  }
  return klError("klLoadObject", "object table over flow");
}

int klDrawSwapObject(const char* name, int slot) {
  if (std::strlen(name) >= 260) return klError("klDrawSwapObject", "too long object name");
  slots[slot] = Slot{true, name};
  return 1;
}

int klDrawReloadObject(int slot) {
  if (displayLost || slots[slot].name.empty()) return 1;
  mediaLog.reloadedSlots.push_back(slot);
  return klDrawSwapObject(slots[slot].name.c_str(), slot);
}

int klDrawSetPalette(const char*) { return 1; }
void klDrawRestorePalette() {}
void klDrawFlushPalette() {}
void klDrawMakePalette(const uint8_t*) {}
void klDrawRealizePalette(KlWindow) {}

void klDrawBlt(int x, int y, int object, int l, int t, int r, int b) {
  mediaLog.blits.push_back({false, x, y, object, l, t, r, b, r - l, b - t});
}

void klDrawStretchBlt(int x, int y, int object, int l, int t, int r, int b, int w, int h) {
  mediaLog.blits.push_back({true, x, y, object, l, t, r, b, w, h});
}

int klSoundInit() { return 0; }
int klSoundLoadObject(const char*) { return 0; }
void klSoundPlay(int, int) {}
void klSoundStop(int) {}
int klSoundRelease() { return 1; }
