// The table of picture objects: loading a file into a free slot, putting a
// picture into a slot in use, and reloading a slot after the display was lost.
#include "core/kl_core.h"
#include "media/ddraw/dd_media.h"
#include "media/object_table.h"

namespace {

static_assert(sizeof(klObject::name) == KL_OBJECT_NAME_BYTES, "the shared table's name field");

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

// The DirectDraw side of the table: surfaces from the 8-bit reader (keyed 0),
// else from GDI (magenta for a new load, the slot's own key for a swap), else
// from a bitmap resource of the program.
class DirectDrawObjects : public KlObjectStore {
 public:
  bool MakePicture(int slot, const char* name, Making making) override {
    klObject& o = klObjects[slot];
    if ((o.surface = klDrawBMPToDirectDrawSurface(name))) {
      SetZeroKey(o.surface);
      o.colourKey = 0;
      return true;
    }
    COLORREF key = making == Making::load ? KL_MAGENTA : o.colourKey;
    o.surface = klDrawLoadBitmap(klDirectDraw, name, 0, 0);
    if (making == Making::swap) klTrace("reading %s %dbit\n", name, colourDepth);
    if (o.surface) {
      klDrawSetColorKey(o.surface, key);
    } else {
      if (making == Making::swap) klTrace("ddloadbitmap failed\n");
      o.surface = LoadResourceBitmap(name, key);
      if (!o.surface) return false;
    }
    o.colourKey = key;
    return true;
  }
  void DropPicture(int slot) override {
    klObject& o = klObjects[slot];
    if (o.surface) o.surface->Release();
    o.surface = nullptr;
  }
  char* Name(int slot) override { return klObjects[slot].name; }
};

DirectDrawObjects objects;

}  // namespace

int klLoadObject(const char* name) { return klObjectLoad(objects, name); }
int klDrawSwapObject(const char* name, int slot) { return klObjectSwap(objects, name, slot); }
int klDrawReloadObject(int slot) { return klObjectReload(objects, slot); }
