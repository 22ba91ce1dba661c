// The rules of the picture object table, written once for both back ends: the
// name checks, the slot search, the error texts, the order of a swap and the
// reload after a lost display, and the lost-display bookkeeping itself. A back
// end keeps the slots (a picture, a name of KL_OBJECT_NAME_BYTES bytes, a colour
// key) and makes and drops the pictures.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t KL_OBJECT_NAME_BYTES = 260;

class KlObjectStore {
 public:
  // Makes slot's picture from the named file (or resource). A new load keys a
  // picture of GDI's with magenta; a swap keeps the slot's earlier key. False
  // when nothing could read it.
  enum class Making { load, swap };
  virtual bool MakePicture(int slot, const char* name, Making making) = 0;
  virtual void DropPicture(int slot) = 0;
  virtual char* Name(int slot) = 0;  // KL_OBJECT_NAME_BYTES bytes; empty: the slot is free
  virtual void Reloading(int) {}     // told before a slot is reloaded

 protected:
  ~KlObjectStore() {}
};

// klLoadObject: the first free slot of 1..255 named and made; the slot, or 0 after klError.
int klObjectLoad(KlObjectStore& store, const char* name);
// klDrawSwapObject: slot's picture dropped, renamed and made again; 1, or 0 (after
// klError, or without klError for a slot outside the table).
int klObjectSwap(KlObjectStore& store, const char* name, int slot);
// klDrawReloadObject: a named slot made again from its name; always 1. Nothing is
// done while the display is lost or after a fatal error.
int klObjectReload(KlObjectStore& store, int slot);
