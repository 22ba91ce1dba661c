// A stand-in for the Windows MSG record in native builds, with the same leading
// fields, so tests can hand the module a window message.
#pragma once

#include <cstdint>

#include "engine/mg_host.h"

struct tagMSG {
  KlWindow hwnd;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};
typedef tagMSG MSG;
