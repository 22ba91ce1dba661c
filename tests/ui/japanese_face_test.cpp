// The face chosen for Japanese text when the template's is not installed: a
// proportional Gothic before a fixed one, a Gothic before a Mincho, never a vertical
// variant, and the same answer whatever order the system lists the faces in.
#include "ui/japanese_face.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

InstalledFace Face(const wchar_t* name, bool fixed, bool serif) { return InstalledFace{name, fixed, serif}; }

TEST(JapaneseFace, PrefersAProportionalGothicAndIgnoresVerticalFaces) {
  const InstalledFace pGothic = Face(L"IPAPGothic", false, false), gothic = Face(L"IPAGothic", true, false),
                      pMincho = Face(L"IPAPMincho", false, true), mincho = Face(L"IPAMincho", true, true),
                      vertical = Face(L"@IPAPGothic", false, false);
  struct Case {
    const char* what;
    std::vector<InstalledFace> faces;
    std::wstring chosen;
  } cases[] = {
      {"none installed", {}, L""},
      {"only vertical faces", {vertical}, L""},
      {"the IPA set", {mincho, pMincho, vertical, gothic, pGothic}, L"IPAPGothic"},
      {"a fixed Gothic before any Mincho", {pMincho, mincho, gothic}, L"IPAGothic"},
      {"a Mincho when nothing else", {mincho, pMincho, Face(L"@IPAMincho", true, true)}, L"IPAPMincho"},
      {"equals in name order", {Face(L"Noto Sans CJK JP", false, false), pGothic}, L"IPAPGothic"},
  };
  for (Case& c : cases) {
    EXPECT_EQ(ChooseJapaneseFace(c.faces), c.chosen) << c.what;
    std::reverse(c.faces.begin(), c.faces.end());
    EXPECT_EQ(ChooseJapaneseFace(c.faces), c.chosen) << c.what << ", listed the other way round";
  }
}

}  // namespace
