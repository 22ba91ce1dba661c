// Inspection hooks of the headless media stand-in, for tests: a log of the calls
// and the pictures the stand-in draws (400 x 300, 32 bits per pixel).
#pragma once

#include <string>
#include <vector>

#include "media/headless/soft_picture.h"

struct HeadlessBlit {
  bool stretched;
  int x, y, object, srcLeft, srcTop, srcRight, srcBottom, width, height;  // as called
};

struct HeadlessMediaLog {
  int inits = 0;
  int releases = 0;
  int flips = 0;
  int clears = 0;
  std::vector<HeadlessBlit> blits;  // since the last reset
  std::vector<int> reloadedSlots;
  std::vector<std::string> soundsPlayed;
};

HeadlessMediaLog& headlessMediaLog();
// Empties the log, the tables and the pictures and clears the fatal flag, as at
// process start.
void headlessMediaReset();

// The back picture the sprite pass draws into, and the picture of the last
// klDrawFlip (what the window would show). Empty until klDrawInit.
const HeadlessPicture& headlessBackPicture();
const HeadlessPicture& headlessFlippedPicture();
// The picture of an object slot, or null when the slot has none.
const HeadlessPicture* headlessObjectPicture(int slot);
// The name of the last klDrawSetPalette (remembered at every depth).
const std::string& headlessPaletteFile();
// The next inits klDrawInit calls succeed, the one after fails as when DirectDraw
// cannot be created ("klDrawInit : can't use DirectDraw"); -1 (the reset's
// default): never fails.
void headlessFailDisplayAfter(int inits);

// Writes a picture as PNG (".png", where the build has libpng) or as a 24-bit
// BMP (any other name). Reads a PNG back for golden-frame comparisons; the top
// byte of each read pixel is 0. False on any failure.
bool headlessSavePicture(const HeadlessPicture& picture, const char* path);
bool headlessLoadPicture(const char* path, HeadlessPicture* picture);
