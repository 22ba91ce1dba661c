// Fatal errors, debug text and the choice of system services.
#include <cstdarg>
#include <cstdio>

#include "core/kl_core.h"
#include "core/kl_system.h"

KlWindow klEngineWindow = nullptr;

namespace {
KlSystem* currentSystem = nullptr;
int fatalRaised = 0;
void (*fatalBlank)() = nullptr;
void (*fatalClose)() = nullptr;
}  // namespace

KlSystem* klSystem() { return currentSystem ? currentSystem : klDefaultSystem(); }

KlSystem* klSetSystem(KlSystem* system) {
  KlSystem* previous = currentSystem;
  currentSystem = system;
  return previous;
}

int klFatalRaised() { return fatalRaised; }
void klFatalReset() { fatalRaised = 0; }
void klSetFatalBlank(void (*blank)()) { fatalBlank = blank; }
void klSetFatalClose(void (*close)()) { fatalClose = close; }

int klError(const char* where, const char* what) {
  char text[256];
  std::snprintf(text, sizeof text, "%s : %s", where ? where : "", what ? what : "");
  if (fatalRaised) {
    // The program is already closing: one box is all the player sees.
    klTrace("after the error: %s\n", text);
    return 0;
  }
  // Set before the box: its modal loop dispatches paint and activation messages,
  // and the engine must not run a step while it is up.
  fatalRaised = 1;
  klTrace("Error: %s\n", text);
  if (fatalBlank) fatalBlank();
  KlSystem* sys = klSystem();
  sys->ErrorBox(klEngineWindow, text);
  sys->PostClose(klEngineWindow);
  if (fatalClose) fatalClose();
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
