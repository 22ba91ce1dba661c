// The window message record tests hand to FilterMessage: the real MSG on Windows,
// the engine's stand-in natively.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include "engine/native/native_msg.h"
#endif
