// Driving a modal dialog from a second thread, as a player would from outside: the
// test's thread runs DoModal, the script finds the dialog's window, sends it
// messages, takes screenshots and closes it. Window messages sent across threads
// are handled by the dialog's own loop.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace dialog_test {

inline HWND WaitForWindow(const wchar_t* caption, DWORD timeoutMs = 8000) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND hwnd = FindWindowW(L"#32770", caption);
    if (hwnd && IsWindowVisible(hwnd)) return hwnd;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(5);
  }
}

inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 8000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(2);
  }
  return true;
}

inline std::wstring Text(HWND hwnd) {
  wchar_t text[512] = L"";
  SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

inline void Type(HWND edit, const std::wstring& text) {
  for (wchar_t ch : text) SendMessageW(edit, WM_CHAR, ch, 1);
}

// Real input, through the system's input queue as a player's would come: the
// pointer moved to a screen point, the left button, a key pressed and released.
inline void PointerTo(int x, int y) {
  // Absolute positions are in 65536ths of the screen; round up so that the
  // system's conversion back lands on the very pixel.
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65536 + w - 1) / w);
  in.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65536 + h - 1) / h);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

inline void LeftButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

inline void PressKey(WORD key) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

inline POINT Centre(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The window with the keyboard focus and the one with the capture, in the thread
// that owns `hwnd`.
inline GUITHREADINFO GuiState(HWND hwnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
  return info;
}

// The screen under a window, written as a 24-bit BMP file.
inline bool SaveScreenShot(const RECT& r, const char* path) {
  int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  int stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + stride * h;
  bool ok = false;
  if (FILE* out = std::fopen(path, "wb")) {
    ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
         std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
         std::fwrite(bits, stride * h, 1, out) == 1;
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

inline bool SaveWindowShot(HWND hwnd, const char* path) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return SaveScreenShot(r, path);
}

// The script runs beside the test's thread until it returns; joined on destruction.
class Driver {
 public:
  explicit Driver(std::function<void()> script) : thread_(std::move(script)) {}
  ~Driver() { thread_.join(); }

 private:
  std::thread thread_;
};

}  // namespace dialog_test
