// The picture button on a real control: clicks posted to the parent, check box and
// radio group, a release outside, the focus it refuses, and transparent drawing.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "framework/dialog_bar.h"
#include "framework/frame_window.h"
#include "ui/flex_button.h"

namespace {

const UINT kFlexTemplate = 300;

// A host for the template's buttons that records the clicks it receives.
class Host : public CDialogBar {
 public:
  std::vector<UINT> clicks;

 protected:
  bool OnCommand(UINT id, UINT code, HWND) override {
    if (code == BN_CLICKED) clicks.push_back(id);
    return true;
  }
};

// Exposes the drawing for a pixel check.
class DrawableButton : public CFlexButton {
 public:
  void DrawInto(HDC dc, const RECT& rect) { DrawButton(dc, VisualState(), rect); }
};

struct Fixture {
  CFrameWnd frame;
  Host host;
  DrawableButton buttons[6];  // 310 ... 315
  Fixture() {
    frame.deleteOnDestroy = false;
    frame.Create(nullptr, L"flex", WS_CAPTION | WS_SYSMENU, RECT{50, 50, 450, 250});
    host.Create(&frame, kFlexTemplate, CDialogBar::kAlignTop, 100);
    for (int i = 0; i < 6; ++i) buttons[i].AttachToControl(310 + i, host.GetSafeHwnd());
  }
  HWND Button(int i) const { return buttons[i].GetSafeHwnd(); }
  void Press(int i, POINT release) {
    SendMessageW(Button(i), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(Button(i), WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  void Click(int i) { Press(i, {5, 5}); }
};

TEST(FlexButton, KindsComeFromTheTemplatesStyles) {
  Fixture f;
  EXPECT_EQ(f.buttons[0].buttonKind, flex::kPush);
  EXPECT_EQ(f.buttons[1].buttonKind, flex::kCheckBox);
  EXPECT_EQ(f.buttons[2].buttonKind, flex::kRadio);
}

TEST(FlexButton, AClickIsPostedToTheParentAndAReleaseOutsideIsNot) {
  Fixture f;
  SendMessageW(f.Button(0), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(f.Button(0), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(f.host.clicks.empty()) << "posted, not sent";
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  ASSERT_EQ(f.host.clicks.size(), 1u);
  EXPECT_EQ(f.host.clicks[0], 310u);
  EXPECT_EQ(f.buttons[0].pressed, 0);

  f.Press(1, {500, 5});  // released outside the check box
  EXPECT_EQ(f.host.clicks.size(), 1u);
  EXPECT_EQ(f.buttons[1].isChecked, 0);
  EXPECT_EQ(GetFocus(), nullptr) << "the button refuses the focus";
}

TEST(FlexButton, ACheckBoxTogglesAndARadioClearsItsGroup) {
  Fixture f;
  f.Click(1);
  EXPECT_EQ(f.buttons[1].isChecked, 1);
  f.Click(1);
  EXPECT_EQ(f.buttons[1].isChecked, 0);

  f.buttons[5].isChecked = 1;  // a push button outside the group
  f.buttons[3].isChecked = 1;
  f.Click(2);
  EXPECT_EQ(f.buttons[2].isChecked, 1);
  EXPECT_EQ(f.buttons[3].isChecked, 0);
  f.Click(4);
  EXPECT_EQ(f.buttons[4].isChecked, 1);
  EXPECT_EQ(f.buttons[2].isChecked, 0);
  EXPECT_EQ(f.buttons[5].isChecked, 1) << "only the radio's own group is cleared";
  EXPECT_EQ(f.host.clicks.size(), 4u);
}

TEST(FlexButton, TheCheckMessagesUseItsOwnCheckState) {
  Fixture f;
  SendMessageW(f.Button(1), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(f.buttons[1].isChecked, 1);
  f.buttons[1].isChecked = 0;
  EXPECT_EQ(SendMessageW(f.Button(1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(f.Button(0), BM_CLICK, 0, 0);  // a click by message, as tests drive it
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  ASSERT_EQ(f.host.clicks.size(), 1u);
  EXPECT_EQ(f.host.clicks[0], 310u);
}

TEST(FlexButton, ANewCaptionLeavesAHiddenButtonHidden) {
  Fixture f;
  ShowWindow(f.Button(0), SW_HIDE);
  SetWindowTextW(f.Button(0), L"新しい");
  EXPECT_FALSE(GetWindowLongPtrW(f.Button(0), GWL_STYLE) & WS_VISIBLE);
  wchar_t text[8] = {};
  GetWindowTextW(f.Button(0), text, 8);
  EXPECT_STREQ(text, L"新しい");
}

TEST(FlexButton, TransparentPixelsShowTheBackground) {
  Fixture f;
  DrawableButton& b = f.buttons[5];
  ASSERT_TRUE(b.SetBitmap(139, RGB(255, 0, 255), flex::kNormal));  // the Start picture
  EXPECT_FALSE(b.SetBitmap(9999, RGB(255, 0, 255), flex::kHot));
  EXPECT_FALSE(b.imageSlots[flex::kHot]);

  // The picture's own pixels, to know where magenta is (read first: a bitmap can
  // be selected into one device context at a time).
  HDC screen = GetDC(nullptr);
  HDC picture = CreateCompatibleDC(screen);
  HGDIOBJ oldPicture = SelectObject(picture, b.imageSlots[0]->bitmap);
  COLORREF source[24][24];
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) source[y][x] = GetPixel(picture, x, y);
  SelectObject(picture, oldPicture);
  DeleteDC(picture);

  HDC canvas = CreateCompatibleDC(screen);
  HBITMAP canvasBitmap = CreateCompatibleBitmap(screen, 34, 30);
  HGDIOBJ oldCanvas = SelectObject(canvas, canvasBitmap);
  RECT rect = {0, 0, 34, 30};
  b.DrawInto(canvas, rect);
  int transparent = 0, opaque = 0;
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      COLORREF drawn = GetPixel(canvas, 5 + x, 3 + y);  // centred: (34-24)/2, (30-24)/2
      if (source[y][x] == RGB(255, 0, 255)) {
        ++transparent;
        ASSERT_EQ(drawn, face) << x << "," << y;
      } else {
        ++opaque;
        ASSERT_EQ(drawn, source[y][x]) << x << "," << y;
      }
    }
  }
  EXPECT_GT(transparent, 0);
  EXPECT_GT(opaque, 0);
  SelectObject(canvas, oldCanvas);
  DeleteObject(canvasBitmap);
  DeleteDC(canvas);
  ReleaseDC(nullptr, screen);
}

}  // namespace
