#include "ui/flex_button.h"

#include <windowsx.h>

#include <string>

#include "ui/transparent_blit.h"

namespace {

bool ValidState(int visualState) { return visualState >= 0 && visualState < CFlexButton::kSlotCount; }

// Top and left in one colour, bottom and right in the other.
void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  auto fill = [dc](int left, int top, int right, int bottom, COLORREF colour) {
    RECT line = {left, top, right, bottom};
    COLORREF old = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
    SetBkColor(dc, old);
  };
  fill(r.left, r.top, r.right - 1, r.top + 1, topLeft);
  fill(r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
  fill(r.right - 1, r.top, r.right, r.bottom, bottomRight);
  fill(r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
}

std::wstring WindowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, &text[0], length + 1)));
  return text;
}

}  // namespace

CFlexButton::ImageSlot::~ImageSlot() {
  if (bitmap) DeleteObject(bitmap);
  if (icon) DestroyIcon(icon);
}

CFlexButton::~CFlexButton() = default;

bool CFlexButton::AttachToControl(UINT id, HWND parent) {
  if (!SubclassDlgItem(id, parent)) return false;
  buttonKind = flex::ButtonKindFromStyle(static_cast<uint32_t>(GetWindowLongPtrW(hwnd_, GWL_STYLE)));
  return true;
}

CFlexButton::ImageSlot* CFlexButton::PrepareSlot(int visualState) {
  imageSlots[visualState] = std::make_unique<ImageSlot>();
  return imageSlots[visualState].get();
}

bool CFlexButton::SetBitmap(UINT bitmapId, COLORREF transparent, int visualState) {
  if (!ValidState(visualState)) return false;
  ImageSlot* slot = PrepareSlot(visualState);
  slot->transparent = transparent;
  slot->bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId),
                                                 IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  BITMAP info;
  if (!slot->bitmap || !GetObjectW(slot->bitmap, sizeof(info), &info)) {
    imageSlots[visualState].reset();
    return false;
  }
  slot->width = info.bmWidth;
  slot->height = info.bmHeight;
  return true;
}

bool CFlexButton::SetIcon(UINT iconId, int visualState) {
  if (!ValidState(visualState)) return false;
  ImageSlot* slot = PrepareSlot(visualState);
  slot->icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                                             IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
  ICONINFO info{};
  if (!slot->icon || !GetIconInfo(slot->icon, &info)) {
    imageSlots[visualState].reset();
    return false;
  }
  BITMAP colour{};
  HBITMAP measured = info.hbmColor ? info.hbmColor : info.hbmMask;
  GetObjectW(measured, sizeof(colour), &colour);
  slot->width = colour.bmWidth;
  slot->height = info.hbmColor ? colour.bmHeight : colour.bmHeight / 2;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return true;
}

void CFlexButton::SetSingleIcon(UINT iconId) {
  ReleaseImages();
  if (SetIcon(iconId, flex::kNormal)) grayWhenDisabled = 1;
}

void CFlexButton::ReleaseImages() {
  for (auto& slot : imageSlots) slot.reset();
}

const CFlexButton::ImageSlot* CFlexButton::SlotFor(int visualState) const {
  if (ValidState(visualState) && imageSlots[visualState]) return imageSlots[visualState].get();
  return imageSlots[flex::kNormal].get();
}

const CFlexButton::ImageSlot* CFlexButton::CurrentImage() const {
  const ImageSlot* slot = SlotFor(VisualState());
  return slot && slot->bitmap ? slot : nullptr;
}

int CFlexButton::VisualState() const {
  if (!hwnd_) return flex::kNormal;
  bool capture = GetCapture() == hwnd_;
  bool inside = false;
  if (capture) {
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(hwnd_, &cursor);
    RECT client;
    GetClientRect(hwnd_, &client);
    inside = PtInRect(&client, cursor) != FALSE;
  }
  return flex::ComputeVisualState(IsWindowEnabled(hwnd_) != FALSE, capture, inside, pressed != 0,
                                  isChecked != 0);
}

LRESULT CFlexButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      if (GetCapture() != hwnd_ && GetActiveWindow() == GetAncestor(hwnd_, GA_ROOT)) {
        SetCapture(hwnd_);
        Invalidate();
        OnHoverEnter();
      }
      return Default();
    case WM_MOUSEMOVE: {
      // Only ours while captured: the control's own hover tracking would paint it.
      if (GetCapture() != hwnd_) return 0;
      POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT client;
      GetClientRect(hwnd_, &client);
      int inside = PtInRect(&client, point) ? 1 : 0;
      if (pressed) {
        if (inside != pointerInside) Invalidate();
      } else if (!inside) {
        ReleaseCapture();
        pointerInside = 0;
        return 0;
      }
      pointerInside = inside;
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!pressed) {
        pressed = 1;
        if (GetFocus() == hwnd_) {
          Invalidate();
        } else {
          SetFocus(hwnd_);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CAPTURECHANGED: {
      LRESULT result = Default();
      pressed = 0;
      OnHoverLeave();
      Invalidate();
      return result;
    }
    case WM_SETFOCUS:
      return WithoutRedraw([&] {
        if (acceptFocus) return Default();
        SetFocus(refusedFocusTo && IsWindow(refusedFocusTo) ? refusedFocusTo : nullptr);
        return LRESULT(0);
      });
    case WM_KILLFOCUS:
      return WithoutRedraw([&] { return Default(); });
    case WM_ENABLE:
      Invalidate(true);
      return 0;
    // The check state is ours; the control would paint its own look for it.
    case BM_SETCHECK:
      isChecked = wParam == BST_UNCHECKED ? 0 : 1;
      Invalidate(true);
      return 0;
    case BM_GETCHECK:
      return isChecked ? BST_CHECKED : BST_UNCHECKED;
    case WM_SETTEXT:  // the control would draw its new caption in its own look
      return WithoutRedraw([&] { return Default(); });
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DESTROY:
      ReleaseImages();
      return Default();
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

template <typename Action>
LRESULT CFlexButton::WithoutRedraw(Action action) {
  // WM_SETREDRAW TRUE makes a window visible: leave hidden buttons alone.
  bool visible = (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  LRESULT result = action();
  if (visible) SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  Invalidate(true);
  return result;
}

void CFlexButton::OnLButtonUp(POINT point) {
  if (!pressed) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  if (PtInRect(&client, point)) {
    pressed = 0;
    if (buttonKind == flex::kRadio) {
      isChecked = 1;
      ClearOtherRadios();
      Invalidate();
    } else if (buttonKind == flex::kCheckBox) {
      isChecked = !isChecked;
      Invalidate();
    }
    Invalidate();
    // Posted: the parent acts once this message is over, never inside our capture.
    PostMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd_));
    if (GetFocus() == hwnd_) return;
  }
  ReleaseCapture();
}

void CFlexButton::ClearOtherRadios() {
  HWND parent = GetParent(hwnd_);
  for (HWND other = GetNextDlgGroupItem(parent, hwnd_, FALSE); other && other != hwnd_;
       other = GetNextDlgGroupItem(parent, other, FALSE)) {
    auto* button = dynamic_cast<CFlexButton*>(CWnd::FromHandlePermanent(other));
    if (button && button->buttonKind != flex::kPush && button->isChecked) {
      button->isChecked = 0;
      InvalidateRect(other, nullptr, FALSE);
    }
  }
}

void CFlexButton::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ old = SelectObject(memory, canvas);
  DrawButton(memory, VisualState(), client);
  BitBlt(dc, client.left, client.top, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(canvas);
  DeleteDC(memory);
  EndPaint(hwnd_, &ps);
}

void CFlexButton::DrawButton(HDC dc, int visualState, const RECT& rect) {
  DrawBackground(dc, visualState, rect);
  DrawContent(dc, visualState, rect);
  if (acceptFocus == 1 && GetFocus() == hwnd_) DrawFocus(dc, visualState, rect);
  if (flexStyle != flex::kNoBorder) DrawBorder(dc, visualState, rect);
}

void CFlexButton::DrawBackground(HDC dc, int visualState, const RECT& rect) {
  COLORREF colour = GetSysColor(COLOR_BTNFACE);
  if (visualState == flex::kChecked && lightCheckedBackground == 1)
    colour = flex::LightCheckColour(GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNFACE));
  COLORREF old = SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void CFlexButton::DrawContent(HDC dc, int visualState, const RECT& rect) {
  const ImageSlot* slot = SlotFor(visualState);
  std::wstring caption = WindowText(hwnd_);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SIZE text = {0, 0};
  if (!caption.empty()) GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  flex::Size picture = slot ? flex::Size{slot->width, slot->height} : flex::Size{0, 0};
  flex::ContentPlacement at = flex::PlaceContent(contentLayout, rect.right - rect.left,
                                                 rect.bottom - rect.top, picture,
                                                 {static_cast<int>(text.cx), static_cast<int>(text.cy)});
  int push = flex::ContentPushed(visualState, buttonKind, isChecked != 0) ? 1 : 0;
  bool disabled = visualState == flex::kDisabled;
  if (slot && (slot->icon || slot->bitmap)) {
    int x = rect.left + at.picture.x + push;
    int y = rect.top + at.picture.y + push;
    if (slot->icon) {
      UINT flags = DST_ICON | (disabled && grayWhenDisabled == 1 ? DSS_DISABLED : 0);
      DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(slot->icon), 0, x, y, slot->width,
                 slot->height, flags);
    } else if (disabled && grayWhenDisabled == 1) {
      DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(slot->bitmap), 0, x, y, slot->width,
                 slot->height, DST_BITMAP | DSS_DISABLED);
    } else {
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ oldBitmap = SelectObject(source, slot->bitmap);
      if (slot->transparent == ImageSlot::kNoTransparentColour) {
        BitBlt(dc, x, y, slot->width, slot->height, source, 0, 0, SRCCOPY);
      } else {
        DrawTransparent(dc, x, y, source, slot->width, slot->height, slot->transparent);
      }
      SelectObject(source, oldBitmap);
      DeleteDC(source);
    }
  }
  if (!caption.empty()) {
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(caption.c_str()),
               static_cast<WPARAM>(caption.size()), rect.left + at.caption.x + push,
               rect.top + at.caption.y + push, text.cx, text.cy,
               DST_TEXT | (disabled ? DSS_DISABLED : 0));
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
  }
  if (font) SelectObject(dc, oldFont);
}

void CFlexButton::DrawFocus(HDC dc, int, const RECT& rect) {
  RECT focus = rect;
  InflateRect(&focus, -3, -3);
  DrawFocusRect(dc, &focus);
}

void CFlexButton::DrawBorder(HDC dc, int visualState, const RECT& rect) {
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF black = RGB(0, 0, 0);
  RECT inner = rect;
  InflateRect(&inner, -1, -1);
  switch (flex::ChooseBorder(flexStyle, buttonKind, isChecked != 0, visualState)) {
    case flex::Border::kNone:
      break;
    case flex::Border::kRaised:
      Draw3dRect(dc, rect, light, shadow);
      break;
    case flex::Border::kSunken:
      Draw3dRect(dc, rect, shadow, light);
      break;
    case flex::Border::kDoubleRaised:
      Draw3dRect(dc, rect, light, black);
      Draw3dRect(dc, inner, face, shadow);
      break;
    case flex::Border::kDoublePushed:
      Draw3dRect(dc, rect, black, light);
      Draw3dRect(dc, inner, shadow, face);
      break;
  }
}
