#include "media/object_table.h"

#include <cstring>

#include "core/kl_core.h"
#include "core/kl_system.h"
#include "media/kl_media.h"

// The lost-display state, the same for every back end.
int32_t displayLost = 0;
uint32_t displayLostTime = 0;

void klDrawLost() {
  if (displayLost) return;
  displayLost = 1;
  displayLostTime = klSystem()->Time();
}

namespace {

bool ValidSlot(int slot) { return slot >= 0 && slot < KL_OBJECT_SLOTS; }

void SetName(char* field, const char* name) {
  std::memset(field, 0, KL_OBJECT_NAME_BYTES);
  std::memcpy(field, name, std::strlen(name));
}

// The checks every load and swap makes first; 0 when the name is refused, with the
// error raised (a null name is one the pack lacks: no file to read).
int CheckName(const char* where, const char* name) {
  if (!name) return klError(where, "can't read bitmap file");
  if (std::strlen(name) >= KL_OBJECT_NAME_BYTES) return klError(where, "too long object name");
  return 1;
}

}  // namespace

int klObjectLoad(KlObjectStore& store, const char* name) {
  const char kWhere[] = "klLoadObject";
  if (klFatalRaised() || !CheckName(kWhere, name)) return 0;
  int slot = 1;
  while (slot < KL_OBJECT_SLOTS && store.Name(slot)[0]) ++slot;
  if (slot == KL_OBJECT_SLOTS) return klError(kWhere, "object table over flow");
  // The slot stays taken by its name even when no picture can be made.
  SetName(store.Name(slot), name);
  if (!store.MakePicture(slot, name, KlObjectStore::Making::load)) return klError(kWhere, "can't read bitmap file");
  return slot;
}

int klObjectSwap(KlObjectStore& store, const char* name, int slot) {
  const char kWhere[] = "klDrawSwapObject";
  if (klFatalRaised() || !CheckName(kWhere, name)) return 0;
  if (!ValidSlot(slot)) return 0;  // no such slot: nothing to write
  klTrace("release\n");
  store.DropPicture(slot);
  klTrace("make filename\n");
  SetName(store.Name(slot), name);
  klTrace("load %s\n", name);
  if (!store.MakePicture(slot, name, KlObjectStore::Making::swap)) return klError(kWhere, "can't read bitmap file");
  klTrace("ddswap complete %s\n", name);
  return 1;
}

int klObjectReload(KlObjectStore& store, int slot) {
  if (klFatalRaised() || displayLost || !ValidSlot(slot) || !store.Name(slot)[0]) return 1;
  store.Reloading(slot);
  char name[KL_OBJECT_NAME_BYTES];
  std::memcpy(name, store.Name(slot), KL_OBJECT_NAME_BYTES);
  klTrace("read %d:%s\n", slot, name);
  klObjectSwap(store, name, slot);
  return 1;
}
