// Engine-wide state and routines shared by the engine's own files.
#pragma once

#include "core/kl_core.h"
#include "engine/mg_host.h"

extern int klShutDown;  // 0 until Shutdown, then 1

// The engine window (klEngineWindow), klError and klTrace live in the core
// (core/kl_core.h), which the media library uses as well.

// True while the engine may run: initialised, not shut down, no fatal error.
bool klEngineLive();
