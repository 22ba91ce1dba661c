// The picture side of the media library as a silent stand-in, so the sound tests
// link the real sound objects and the engine (whose klError blanks the view)
// without any display.
#include "media/kl_media.h"

uint8_t colourDepth = 32;
int32_t displayLost = 0;
uint32_t displayLostTime = 0;

int klDrawInit(unsigned, unsigned, unsigned) { return 1; }
int klDrawRelease() { return 1; }
int klDrawFlip() { return 0; }
void klDrawClear() {}
void klDrawToGDI() {}
void klDrawLost() {}
int klLoadObject(const char*) { return 0; }
int klDrawSwapObject(const char*, int) { return 1; }
int klDrawReloadObject(int) { return 1; }
int klDrawSetPalette(const char*) { return 1; }
void klDrawRestorePalette() {}
void klDrawFlushPalette() {}
void klDrawMakePalette(const uint8_t*) {}
void klDrawRealizePalette(KlWindow) {}
void klDrawBlt(int, int, int, int, int, int, int) {}
void klDrawStretchBlt(int, int, int, int, int, int, int, int, int) {}
