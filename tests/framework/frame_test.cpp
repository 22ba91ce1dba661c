// CFrameWnd, CDialogBar and CDialog: the first-pane layout under a docked bar, the
// bar's commands reaching the frame, and modal dialogs from templates.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/dialog.h"
#include "test_windows.h"

namespace {

void ExpectRect(const RECT& r, int left, int top, int right, int bottom, const char* what) {
  EXPECT_EQ(r.left, left) << what;
  EXPECT_EQ(r.top, top) << what;
  EXPECT_EQ(r.right, right) << what;
  EXPECT_EQ(r.bottom, bottom) << what;
}

TEST(FrameLayout, TheViewGetsTheClientAreaBelowTheBar) {
  FrameWithBar w;
  ASSERT_NE(w.bar.GetSafeHwnd(), nullptr);
  RECT client;
  GetClientRect(w.frame.GetSafeHwnd(), &client);
  ASSERT_EQ(client.right, 400);
  ASSERT_EQ(client.bottom, 336);
  // The template's height: 24 dialog units of the dialog font.
  RECT units = {0, 0, 274, 24};
  MapDialogRect(w.bar.GetSafeHwnd(), &units);
  EXPECT_EQ(w.bar.GetDefaultSize().cy, units.bottom);
  int barHeight = w.bar.GetDefaultSize().cy;
  EXPECT_EQ(GetParent(w.bar.GetSafeHwnd()), w.frame.GetSafeHwnd());
  EXPECT_EQ(GetDlgCtrlID(w.bar.GetSafeHwnd()), 100);
  ExpectRect(w.ChildRect(w.bar.GetSafeHwnd()), 0, 0, 400, barHeight, "bar");
  ExpectRect(w.ChildRect(w.view.GetSafeHwnd()), 0, barHeight, 400, 336, "view");

  // A new size lays the children out again.
  RECT window;
  GetWindowRect(w.frame.GetSafeHwnd(), &window);
  SetWindowPos(w.frame.GetSafeHwnd(), nullptr, 0, 0, window.right - window.left + 100,
               window.bottom - window.top + 50, SWP_NOMOVE | SWP_NOZORDER);
  ExpectRect(w.ChildRect(w.bar.GetSafeHwnd()), 0, 0, 500, barHeight, "bar after resize");
  ExpectRect(w.ChildRect(w.view.GetSafeHwnd()), 0, barHeight, 500, 386, "view after resize");

  // A bar laid out in pixels fixes its own height.
  w.bar.SetDefaultSize({w.bar.GetDefaultSize().cx, 36});
  ExpectRect(w.ChildRect(w.bar.GetSafeHwnd()), 0, 0, 500, 36, "bar of 36 pixels");
  ExpectRect(w.ChildRect(w.view.GetSafeHwnd()), 0, 36, 500, 386, "view under 36 pixels");
}

TEST(DialogFont, TheJapaneseDialogFontHasJapaneseGlyphs) {
  FrameWithBar w;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(w.bar.GetSafeHwnd(), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  HDC dc = GetDC(w.bar.GetSafeHwnd());
  HGDIOBJ old = SelectObject(dc, font);
  const wchar_t text[] = L"ポムルのロデオ終了";
  WORD glyphs[9] = {};
  ASSERT_EQ(GetGlyphIndicesW(dc, text, 9, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 9u);
  SelectObject(dc, old);
  ReleaseDC(w.bar.GetSafeHwnd(), dc);
  for (int i = 0; i < 9; ++i)
    EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for character " << i
                                 << ": is ＭＳ Ｐゴシック mapped to a Japanese font?";
}

TEST(DialogBar, CommandsItDoesNotHandleGoToTheFrame) {
  FrameWithBar w;
  HWND forwarded = w.Control(kBarForwarded);
  SendMessageW(forwarded, BM_CLICK, 0, 0);
  ASSERT_EQ(w.frame.commands.size(), 1u);
  EXPECT_EQ(w.frame.commands[0].id, static_cast<UINT>(kBarForwarded));
  EXPECT_EQ(w.frame.commands[0].code, static_cast<UINT>(BN_CLICKED));
  EXPECT_EQ(w.frame.commands[0].control, forwarded);

  SendMessageW(w.Control(kBarOwn), BM_CLICK, 0, 0);
  EXPECT_EQ(w.bar.ownCommands, 1);
  EXPECT_EQ(w.frame.commands.size(), 1u) << "the bar's own command stays in the bar";

  // A posted click, as the picture buttons send it, arrives the same way.
  PostMessageW(w.bar.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(kBarForwarded, BN_CLICKED),
               reinterpret_cast<LPARAM>(forwarded));
  PumpPending();
  ASSERT_EQ(w.frame.commands.size(), 2u);
  EXPECT_EQ(w.frame.commands[1].id, static_cast<UINT>(kBarForwarded));

  // Esc in the bar ends nothing: it is one more command for the frame.
  SendMessageW(w.bar.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(IsWindow(w.bar.GetSafeHwnd()));
  ASSERT_EQ(w.frame.commands.size(), 3u);
  EXPECT_EQ(w.frame.commands[2].id, static_cast<UINT>(IDCANCEL));
}

TEST(DialogBar, AMissingTemplateCreatesNoBar) {
  RecordingFrame frame;
  frame.Create(nullptr, L"frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 200});
  TestBar bar;
  EXPECT_FALSE(bar.Create(&frame, 9999, CDialogBar::kAlignTop, 100));
  EXPECT_EQ(bar.GetSafeHwnd(), nullptr);
  EXPECT_FALSE(bar.Create(nullptr, kTestBarTemplate, CDialogBar::kAlignTop, 100));
  frame.DestroyWindow();
}

// A modal dialog that binds its edit control and ends itself once it runs.
class SelfEndingDialog : public CDialog {
 public:
  explicit SelfEndingDialog(WPARAM endCommand) : CDialog(kTestDialogTemplate), endCommand_(endCommand) {}
  class Edit : public CWnd {
   public:
    int setTexts = 0;

   protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_SETTEXT) ++setTexts;
      return CWnd::WindowProc(message, wParam, lParam);
    }
  } edit;
  bool initialised = false;
  bool editBound = false;

 protected:
  BOOL OnInitDialog() override {
    initialised = true;
    editBound = edit.SubclassDlgItem(kDialogEdit, hwnd_);
    SetDlgItemTextW(hwnd_, kDialogEdit, L"あなた");
    PostMessageW(hwnd_, WM_USER + 7, 0, 0);
    return TRUE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER + 7) {
      if (endCommand_) {
        PostMessageW(hwnd_, WM_COMMAND, endCommand_, 0);
      } else {
        EndDialog(33);
      }
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }

 private:
  WPARAM endCommand_;
};

TEST(Dialog, RunsModallyFromItsTemplateWithBoundControls) {
  SelfEndingDialog dialog(0);
  EXPECT_EQ(dialog.DoModal(nullptr), 33);
  EXPECT_TRUE(dialog.initialised);
  EXPECT_TRUE(dialog.editBound);
  EXPECT_EQ(dialog.edit.setTexts, 1);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << "the object is free again after the run";
  EXPECT_EQ(dialog.edit.GetSafeHwnd(), nullptr);
}

TEST(Dialog, OkAndCancelEndTheDialogWithTheirIds) {
  SelfEndingDialog ok(IDOK);
  EXPECT_EQ(ok.DoModal(nullptr), IDOK);
  SelfEndingDialog cancel(IDCANCEL);
  EXPECT_EQ(cancel.DoModal(nullptr), IDCANCEL);
  CDialog missing(9999);
  EXPECT_EQ(missing.DoModal(nullptr), -1);
}

}  // namespace
