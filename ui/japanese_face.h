// Which installed face shows Japanese text when the one a template names is not
// there (an English Windows with Japanese fonts added has no "ＭＳ Ｐゴシック"
// under that name, and its dialog font would draw boxes). Pure: the Windows side
// lists the faces, this picks one.
#pragma once

#include <string>
#include <vector>

struct InstalledFace {
  std::wstring name;
  bool fixedPitch = false;
  bool serif = false;  // a Mincho: the dialogs are set in a Gothic
};

// The first of the installed faces that has Japanese characters, best first: a
// proportional Gothic, then any Gothic, then anything; ties in name order. The
// vertical variants ("@name") are never chosen. Empty when there is none.
std::wstring ChooseJapaneseFace(std::vector<InstalledFace> faces);
