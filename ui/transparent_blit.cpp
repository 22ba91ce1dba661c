#include "ui/transparent_blit.h"

void DrawTransparent(HDC target, int x, int y, HDC source, int width, int height,
                     COLORREF transparent, HDC mask) {
  HDC ownMask = nullptr;
  HBITMAP ownBitmap = nullptr;
  HGDIOBJ oldOwnBitmap = nullptr;
  if (!mask) {
    ownMask = CreateCompatibleDC(target);
    ownBitmap = CreateBitmap(width, height, 1, 1, nullptr);
    oldOwnBitmap = SelectObject(ownMask, ownBitmap);
    mask = ownMask;
  }
  // Copying colour to one bit: pixels of the source's background colour become 1.
  COLORREF oldSourceBack = SetBkColor(source, transparent);
  BitBlt(mask, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SetBkColor(source, oldSourceBack);
  // One bit to colour: 1 becomes the target's background (white), 0 its text (black).
  COLORREF oldBack = SetBkColor(target, RGB(255, 255, 255));
  COLORREF oldText = SetTextColor(target, RGB(0, 0, 0));
  BitBlt(target, x, y, width, height, source, 0, 0, SRCINVERT);
  BitBlt(target, x, y, width, height, mask, 0, 0, SRCAND);
  BitBlt(target, x, y, width, height, source, 0, 0, SRCINVERT);
  SetBkColor(target, oldBack);
  SetTextColor(target, oldText);
  if (ownMask) {
    SelectObject(ownMask, oldOwnBitmap);
    DeleteObject(ownBitmap);
    DeleteDC(ownMask);
  }
}
