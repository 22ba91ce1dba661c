#include "ui/japanese_font.h"

#include <map>
#include <mutex>
#include <vector>

#include "ui/japanese_face.h"

namespace {

int CALLBACK CollectFace(const LOGFONTW* lf, const TEXTMETRICW* tm, DWORD, LPARAM parameter) {
  auto* faces = reinterpret_cast<std::vector<InstalledFace>*>(parameter);
  InstalledFace face;
  face.name = lf->lfFaceName;
  // TMPF_FIXED_PITCH set means a variable pitch (the bit's name says the opposite).
  face.fixedPitch = !(tm->tmPitchAndFamily & TMPF_FIXED_PITCH);
  face.serif = (tm->tmPitchAndFamily & 0xF0) == FF_ROMAN;
  faces->push_back(face);
  return 1;
}

// The faces with Japanese characters; only `name` (in any of its names) if given.
std::vector<InstalledFace> JapaneseFaces(const std::wstring& name) {
  std::vector<InstalledFace> faces;
  LOGFONTW query{};
  query.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(query.lfFaceName, name.c_str(), LF_FACESIZE);
  win32::WindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.get(), &query, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
  return faces;
}

}  // namespace

std::wstring JapaneseFace(const std::wstring& wanted) {
  static std::mutex lock;
  static std::map<std::wstring, std::wstring> chosen;
  std::lock_guard<std::mutex> hold(lock);
  auto known = chosen.find(wanted);
  if (known != chosen.end()) return known->second;
  std::wstring face = wanted;
  if (wanted.empty() || JapaneseFaces(wanted).empty()) {
    std::wstring installed = ChooseJapaneseFace(JapaneseFaces(std::wstring()));
    if (!installed.empty()) face = installed;
  }
  chosen[wanted] = face;
  return face;
}

win32::GdiObject<HFONT> MakeJapaneseFont(LOGFONTW lf) {
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::wstring face = JapaneseFace(lf.lfFaceName);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return win32::GdiObject<HFONT>(CreateFontIndirectW(&lf));
}

win32::GdiObject<HFONT> JapaneseFontLike(HWND window) {
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf{};
  if (!GetObjectW(current, sizeof lf, &lf)) return nullptr;
  return MakeJapaneseFont(lf);
}

void SetDialogFont(HWND dialog, HFONT font) {
  if (!font) return;
  SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
