// Fonts that show Japanese on any Windows display language. A template's font
// asked for with the default character set draws boxes for Japanese on an English
// system even when Japanese fonts are installed; asked for with SHIFTJIS_CHARSET,
// and with an installed Japanese face when the named one is missing, it draws the
// characters. Nothing in the registry is needed.
#pragma once

#include <windows.h>

#include <string>

#include "core/win32/handle_owners.h"

// `wanted` when the system has it with Japanese characters, else the installed
// Japanese face ChooseJapaneseFace prefers, else `wanted` all the same. Looked up
// once per name.
std::wstring JapaneseFace(const std::wstring& wanted);

// A font as `lf` describes, with the Japanese character set and a face that has it.
win32::GdiObject<HFONT> MakeJapaneseFont(LOGFONTW lf);

// The font `window` uses (WM_GETFONT; the GUI font without one), made Japanese.
win32::GdiObject<HFONT> JapaneseFontLike(HWND window);

// Gives `font` to the dialog and to each of its controls (it must outlive them).
// Called at WM_INITDIALOG, before any control derives a font of its own from it.
void SetDialogFont(HWND dialog, HFONT font);
