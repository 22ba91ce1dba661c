// The engine's side of the host seam: the registered host and CMgHost::Quit.
#include "engine/mg_host.h"

#include "core/kl_system.h"

namespace {
CMgHost* currentHost = nullptr;
}  // namespace

CMgHost* GetMgHost() { return currentHost; }
void SetMgHost(CMgHost* host) { currentHost = host; }

void CMgHost::Quit(const char* message) { klSystem()->QuitApplication(klEngineWindow, message); }
