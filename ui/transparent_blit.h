// Copies a picture onto a target leaving out the pixels of one colour: a one-bit
// mask of those pixels, then target XOR picture, AND mask, XOR picture. Safe on any
// thread for device contexts of that thread.
#pragma once

#include <windows.h>

// source holds the picture at (0, 0); mask is a memory DC with a one-bit bitmap at
// least width x height selected (null: one is made for this call).
void DrawTransparent(HDC target, int x, int y, HDC source, int width, int height,
                     COLORREF transparent, HDC mask = nullptr);
