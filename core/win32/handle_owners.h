// Small owners for Windows handles: each releases what it holds when it goes out of
// scope, so an early return cannot leak a bitmap, a context or a key, and no
// handler writes the select / restore / delete pairing by hand.
//
//   GdiObject<HBITMAP> picture(CreateCompatibleBitmap(dc, w, h));   // DeleteObject
//   MemoryDc memory(CreateCompatibleDC(dc));                          // DeleteDC
//   WindowDc screen(hwnd);                                            // GetDC / ReleaseDC
//   PaintDc paint(hwnd);                                              // BeginPaint / EndPaint
//   SelectedObject keep(memory.get(), picture.get());                 // restores the old one
//   RegistryKey key;  RegOpenKeyExW(..., key.receive());               // RegCloseKey
//   KernelHandle thread(CreateThread(...));                           // CloseHandle
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace win32 {

namespace detail {
struct DeleteGdiObject {
  void operator()(void* object) const { ::DeleteObject(static_cast<HGDIOBJ>(object)); }
};
struct DeleteDc {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct CloseKernelHandle {
  void operator()(void* handle) const {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
};
}  // namespace detail

// A pen, brush, font, bitmap, region or palette, deleted with DeleteObject. It must
// not be selected into a context when the owner goes (restore the old one first:
// a SelectedObject made after this owner is gone before it).
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, detail::DeleteGdiObject>;

// A memory context of CreateCompatibleDC, deleted with DeleteDC.
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, detail::DeleteDc>;

// An open registry key, closed with RegCloseKey. receive() is for the out parameter
// of RegOpenKeyExW and RegCreateKeyExW: it closes what was held first.
class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(HKEY key) : key_(key) {}
  ~RegistryKey() { reset(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  HKEY* receive() {
    reset();
    return &key_;
  }
  void reset() {
    if (key_) ::RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// A kernel handle (thread, event, mutex, section), closed with CloseHandle; null
// and INVALID_HANDLE_VALUE are both "nothing".
using KernelHandle = std::unique_ptr<void, detail::CloseKernelHandle>;

// A window's context of GetDC, given back with ReleaseDC. Null hwnd is the screen.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A WM_PAINT handler's context: BeginPaint, and EndPaint at scope exit.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
  ~PaintDc() {
    if (dc_) ::EndPaint(hwnd_, &paint_);
  }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return paint_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a context and puts the previous one back at scope exit.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Selects a palette into a context and puts the previous one back at scope exit.
class SelectedPalette {
 public:
  SelectedPalette(HDC dc, HPALETTE palette, bool background)
      : dc_(dc), old_(dc && palette ? ::SelectPalette(dc, palette, background) : nullptr) {}
  ~SelectedPalette() {
    if (old_) ::SelectPalette(dc_, old_, TRUE);
  }
  SelectedPalette(const SelectedPalette&) = delete;
  SelectedPalette& operator=(const SelectedPalette&) = delete;

 private:
  HDC dc_;
  HPALETTE old_;
};

}  // namespace win32
