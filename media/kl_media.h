// The media library as the engine and the game see it: the display device and its
// picture objects, the palette, the two blit primitives and sound objects.
// Two implementations share this header: DirectDraw/DirectSound on Windows
// (media/ddraw) and a headless software stand-in for tests (media/headless).
#pragma once

#include <cstdint>

#include "core/kl_core.h"  // KlWindow

constexpr int KL_VIEW_WIDTH = 400;
constexpr int KL_VIEW_HEIGHT = 300;
constexpr int KL_OBJECT_SLOTS = 256;
constexpr int KL_SOUND_RECORDS = 100;

extern uint8_t colourDepth;     // bits per pixel of the view's display: 8, 16, 24 or 32
extern int32_t displayLost;     // 1 while the display must be re-created
extern uint32_t displayLostTime;  // multimedia clock when displayLost was set

// Display device (the window is the engine window stored by Init).
int klDrawInit(unsigned width, unsigned height, unsigned depth);  // 1, or 0 after klError
int klDrawRelease();
int klDrawFlip();       // back surface to the window; 0 when there is no surface
void klDrawClear();     // back surface to fill value 0
void klDrawToGDI();     // blank the view so a message box over it is readable
void klDrawLost();      // mark the display for re-creation (first loss time kept)

// Every loader takes a UTF-8 path; a null path (a name the asset pack lacks) fails
// as a missing file does. After a fatal error (klError) the loaders return their
// failure at once, without a second box.

// Picture objects: slots 1..255 of the object table.
int klLoadObject(const char* name);                // slot, or 0 after klError
int klDrawSwapObject(const char* name, int slot);  // 1, or 0 after klError
int klDrawReloadObject(int slot);                  // 1

// Palette (8-bit displays).
int klDrawSetPalette(const char* name);  // 1 done (or not 8-bit), 0 file unusable or null
void klDrawRestorePalette();
void klDrawFlushPalette();
void klDrawMakePalette(const uint8_t colourTable[1024]);
void klDrawRealizePalette(KlWindow window);  // select and realise the engine palette, if any

// Colour-keyed copies into the back surface, clipped to the view.
void klDrawBlt(int x, int y, int object, int srcLeft, int srcTop, int srcRight, int srcBottom);
void klDrawStretchBlt(int x, int y, int object, int srcLeft, int srcTop, int srcRight,
                      int srcBottom, int width, int height);

// Sound objects: handles 0..99. Without a device everything is silent.
int klSoundInit();                         // 1 device opened, 0 not (not an error)
int klSoundLoadObject(const char* name);   // handle; 0 also when sound is off
void klSoundPlay(int handle, int loop);
void klSoundStop(int handle);
int klSoundRelease();
