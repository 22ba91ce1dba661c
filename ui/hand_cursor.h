// The pointing-hand cursor for links: the help viewer's hand (cursor 106 of
// winhlp32.exe in the Windows folder) where there is one, else the system's hand.
// The result is a copy the caller owns (DestroyCursor); null only if both fail.
#pragma once

#include <windows.h>

HCURSOR LoadHandCursor();
