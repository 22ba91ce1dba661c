#include "ui/hand_cursor.h"

#include <string>

HCURSOR LoadHandCursor() {
  wchar_t folder[MAX_PATH];
  UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    std::wstring path = std::wstring(folder) + L"\\winhlp32.exe";
    // Only its resources are wanted: map it as data, run none of its code.
    if (HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
      HCURSOR hand = LoadCursorW(module, MAKEINTRESOURCEW(106));
      HCURSOR copy = hand ? CopyCursor(hand) : nullptr;
      FreeLibrary(module);
      if (copy) return copy;
    }
  }
  // Current Windows has no such cursor in that file.
  HCURSOR system = LoadCursorW(nullptr, IDC_HAND);
  return system ? CopyCursor(system) : nullptr;
}
