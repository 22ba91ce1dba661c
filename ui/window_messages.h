// Every private window message of the program, in one place so that no two meet at
// one window with different meanings: who posts each, to whom, and what it says.
// WM_USER values reach the frame and the dialogs; none collides with a dialog's
// own DM_ messages (WM_USER + 0 to 2).
#pragma once

#include <windows.h>

// ReportResult → the frame: a ride ended; its text and value are in the frame.
#define WM_MG_RESULT (WM_USER + 10)
// The zoom's worker → its dialog: the animation has completed, end the dialog.
#define WM_ZOOM_DONE (WM_USER + 30)
// The reveal worker → the table dialog: the last frame is drawn, show the finished
// picture (on the UI thread).
#define WM_REVEAL_DONE (WM_USER + 31)
// The control bar → the frame: the slide-in has ended, start the engine now.
#define WM_MG_OPENINGDONE (WM_USER + 100)
// The slide-in's worker → the control bar: its last frame is drawn.
#define WM_SLIDEIN_DONE (WM_APP + 1)
