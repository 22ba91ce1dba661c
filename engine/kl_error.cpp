// Fatal errors, debug text and the engine's side of the host seam.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/kl_engine.h"
#include "engine/kl_system.h"
#include "media/kl_media.h"

namespace {
CMgHost* currentHost = nullptr;
KlSystem* currentSystem = nullptr;
}  // namespace

CMgHost* GetMgHost() { return currentHost; }
void SetMgHost(CMgHost* host) { currentHost = host; }

KlSystem* klSystem() { return currentSystem ? currentSystem : klDefaultSystem(); }

KlSystem* klSetSystem(KlSystem* system) {
  KlSystem* previous = currentSystem;
  currentSystem = system;
  return previous;
}

void CMgHost::Quit(const char* message) { klSystem()->QuitApplication(klEngineWindow, message); }

int klError(const char* where, const char* what) {
  char text[256];
  std::snprintf(text, sizeof text, "%s : %s", where, what);
  klDrawToGDI();
  KlSystem* sys = klSystem();
  sys->ErrorBox(klEngineWindow, text);
  sys->PostClose(klEngineWindow);
  if (CMgHost* host = GetMgHost()) host->Quit(nullptr);
  return 0;
}

int klTrace(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  int count = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  klSystem()->DebugOutput(text);
  if (count < 0) return 0;
  return count < static_cast<int>(sizeof text) ? count : static_cast<int>(sizeof text) - 1;
}
