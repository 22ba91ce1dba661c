// The table of picture objects: loading a file into a free slot, putting a
// picture into a slot in use, and reloading a slot after the display was lost.
#include <cstring>

#include "core/kl_core.h"
#include "media/ddraw/dd_media.h"

namespace {

constexpr size_t kNameBytes = sizeof(klObject::name);

void SetZeroKey(IDirectDrawSurface* surface) {
  DDCOLORKEY ck{0, 0};
  surface->SetColorKey(DDCKEY_SRCBLT, &ck);
}

// The last attempt: the name as a bitmap resource of the program, keyed with key.
IDirectDrawSurface* LoadResourceBitmap(const char* name, COLORREF key) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return nullptr;
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  IDirectDrawSurface* surface = klCreatePlainSurface(static_cast<DWORD>(bm.bmWidth), static_cast<DWORD>(bm.bmHeight));
  if (surface) {
    klDrawSetColorKey(surface, key);
    klDrawCopyBitmap(surface, bitmap, 0, 0, 0, 0);
  }
  DeleteObject(bitmap);
  return surface;
}

void CopyName(klObject& o, const char* name) {
  std::memset(o.name, 0, kNameBytes);
  std::memcpy(o.name, name, std::strlen(name));
}

}  // namespace

int klLoadObject(const char* name) {
  if (klFatalRaised()) return 0;
  if (!name) return klError("klLoadObject", "can't read bitmap file");  // not in the pack
  if (std::strlen(name) >= kNameBytes) return klError("klLoadObject", "too long object name");
  int slot = 1;
  while (slot < KL_OBJECT_SLOTS && klObjects[slot].name[0]) ++slot;
  if (slot == KL_OBJECT_SLOTS) return klError("klLoadObject", "object table over flow");
  klObject& o = klObjects[slot];
  CopyName(o, name);

  if ((o.surface = klDrawBMPToDirectDrawSurface(name))) {
    SetZeroKey(o.surface);
    o.colourKey = 0;
    return slot;
  }
  if ((o.surface = klDrawLoadBitmap(klDirectDraw, name, 0, 0))) {
    klDrawSetColorKey(o.surface, KL_MAGENTA);
    o.colourKey = KL_MAGENTA;
    return slot;
  }
  if ((o.surface = LoadResourceBitmap(name, KL_MAGENTA))) {
    o.colourKey = KL_MAGENTA;
    return slot;
  }
  return klError("klLoadObject", "can't read bitmap file");
}

int klDrawSwapObject(const char* name, int slot) {
  if (klFatalRaised()) return 0;
  if (!name) return klError("klDrawSwapObject", "can't read bitmap file");
  if (std::strlen(name) >= kNameBytes) return klError("klDrawSwapObject", "too long object name");
  if (slot < 0 || slot >= KL_OBJECT_SLOTS) return 0;  // no such slot: nothing to write
  klObject& o = klObjects[slot];
  klTrace("release\n");
  if (o.surface) o.surface->Release();
  o.surface = nullptr;
  klTrace("make filename\n");
  CopyName(o, name);
  klTrace("load %s\n", name);

  if ((o.surface = klDrawBMPToDirectDrawSurface(name))) {
    SetZeroKey(o.surface);
    o.colourKey = 0;
  } else {
    o.surface = klDrawLoadBitmap(klDirectDraw, name, 0, 0);
    klTrace("reading %s %dbit\n", name, colourDepth);
    if (o.surface) {
      klDrawSetColorKey(o.surface, o.colourKey);
    } else {
      klTrace("ddloadbitmap failed\n");
      o.surface = LoadResourceBitmap(name, o.colourKey);
      if (!o.surface) return klError("klDrawSwapObject", "can't read bitmap file");
    }
  }
  klTrace("ddswap complete %s\n", o.name);
  return 1;
}

int klDrawReloadObject(int slot) {
  if (klFatalRaised() || displayLost || slot < 0 || slot >= KL_OBJECT_SLOTS || !klObjects[slot].name[0]) return 1;
  klTrace("read %d:%s\n", slot, klObjects[slot].name);
  char name[kNameBytes];
  std::memcpy(name, klObjects[slot].name, kNameBytes);
  klDrawSwapObject(name, slot);
  return 1;
}
