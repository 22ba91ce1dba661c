// The main window's position between runs, on Windows: taken from the window at the
// end (its normal position, in screen coordinates) and, at the start, checked against
// the monitors present now (shell/window_placement.h decides).
#pragma once

#include <windows.h>

#include <vector>

#include "records/mg_info.h"
#include "shell/window_placement.h"

// windowX/windowY from the frame's normal (not minimised) position.
void TakeWindowPosition(HWND frame, MgInfo* record);

// The work areas of the monitors attached now (the primary's alone when they cannot
// be listed).
std::vector<shell::ScreenRect> MonitorWorkAreas();

// Where a window of width x height stored at (x, y) goes on the monitors of now.
shell::ScreenPoint PlaceOnMonitors(int x, int y, int width, int height);
