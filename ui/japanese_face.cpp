#include "ui/japanese_face.h"

#include <algorithm>
#include <tuple>

std::wstring ChooseJapaneseFace(std::vector<InstalledFace> faces) {
  faces.erase(std::remove_if(faces.begin(), faces.end(),
                             [](const InstalledFace& f) { return f.name.empty() || f.name[0] == L'@'; }),
              faces.end());
  if (faces.empty()) return std::wstring();
  auto rank = [](const InstalledFace& f) { return std::make_tuple(f.serif, f.fixedPitch, f.name); };
  return std::min_element(faces.begin(), faces.end(),
                          [&](const InstalledFace& a, const InstalledFace& b) { return rank(a) < rank(b); })
      ->name;
}
