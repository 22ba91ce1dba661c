// CFlexButton: takes over a push button, check box or radio button of a dialog
// template (AttachToControl) and draws it itself: a picture per look (a bitmap with a
// transparent colour, or an icon) and the optional caption, lit while the pointer is
// over it. A click is posted to the parent as the usual WM_COMMAND / BN_CLICKED.
// The looks and the placement are decided in flex_button_logic.h.
//
// Hover: the button takes the mouse capture on the first WM_SETCURSOR over it (while
// its top-level window is active) and gives it up when the pointer leaves; the
// OnHoverEnter / OnHoverLeave hooks mark those moments.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/window.h"
#include "ui/flex_button_logic.h"

class CFlexButton : public CWnd {
 public:
  // One look's picture, owned by its button.
  struct ImageSlot {
    static constexpr COLORREF kNoTransparentColour = 0xF0000000;
    HBITMAP bitmap = nullptr;
    COLORREF transparent = kNoTransparentColour;
    HICON icon = nullptr;
    int width = 0;
    int height = 0;
    ~ImageSlot();
  };
  static constexpr int kSlotCount = 6;

  CFlexButton() = default;
  ~CFlexButton() override;

  // Binds the control with that id of the parent; buttonKind follows its style.
  bool AttachToControl(UINT id, HWND parent);

  // Pictures from resources, for one look (flex::VisualState). False (and no
  // picture for that look) when the resource does not load.
  bool SetBitmap(UINT bitmapId, COLORREF transparent, int visualState);
  bool SetIcon(UINT iconId, int visualState);
  // One icon for every look; disabled draws it embossed.
  void SetSingleIcon(UINT iconId);
  void ReleaseImages();
  // The picture of the current look, else of the normal look; only bitmaps.
  const ImageSlot* CurrentImage() const;
  int VisualState() const;

  int buttonKind = flex::kPush;
  int isChecked = 0;
  int pressed = 0;
  int pointerInside = 0;
  int grayWhenDisabled = 1;
  int lightCheckedBackground = 1;
  int contentLayout = flex::kPictureLeft;
  int acceptFocus = 0;
  // Where a refused focus goes: nowhere by default. A dialog names a control here
  // so that its keys (Return, ESC) still reach it after a press on this button.
  HWND refusedFocusTo = nullptr;
  flex::FlexStyle flexStyle = flex::kFlat;
  std::unique_ptr<ImageSlot> imageSlots[kSlotCount];

 protected:
  virtual void OnHoverEnter() {}
  virtual void OnHoverLeave() {}
  virtual void DrawButton(HDC dc, int visualState, const RECT& rect);
  virtual void DrawBackground(HDC dc, int visualState, const RECT& rect);
  virtual void DrawContent(HDC dc, int visualState, const RECT& rect);
  virtual void DrawFocus(HDC dc, int visualState, const RECT& rect);
  virtual void DrawBorder(HDC dc, int visualState, const RECT& rect);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ImageSlot* PrepareSlot(int visualState);
  const ImageSlot* SlotFor(int visualState) const;
  void OnLButtonUp(POINT point);
  void ClearOtherRadios();
  void Paint();
  void Invalidate(bool erase = false) { InvalidateRect(hwnd_, nullptr, erase); }
  // Runs the default processing with redrawing off, then repaints in our look.
  template <typename Action>
  LRESULT WithoutRedraw(Action action);
};
