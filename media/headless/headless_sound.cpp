// Sound objects of the headless stand-in: silent, as without a sound device.
#include "media/kl_media.h"

int klSoundInit() { return 0; }
int klSoundLoadObject(const char*) { return 0; }
void klSoundPlay(int, int) {}
void klSoundStop(int) {}
int klSoundRelease() { return 1; }
