// The control bar on real windows: its set-up, the slide-in that shows the buttons
// only at its end, closing during the slide-in, and the hover label.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "bar_test_window.h"
#include "ui/hover_label.h"

namespace {

const UINT kLayoutIds[] = {IDC_START, IDC_STOP, IDC_RESET, IDC_SEP1, IDC_HISCORE,
                           IDC_HELP_COMMAND, IDC_VERSION, IDC_SEP2, IDC_EXIT};

bool Shown(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// Pumps messages until done() or the deadline (a guard against hanging only).
template <typename Done>
bool PumpUntil(Done done, DWORD deadlineMs = 10000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > deadlineMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  }
  return true;
}

void PumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

TEST(ButtonBar, SetUpBindsPlacesAndHidesTheControls) {
  BarWindow w;
  ASSERT_TRUE(w.created);
  const int lefts[] = {5, 39, 73, 107, 115, 149, 183, 217, 225};
  for (int i = 0; i < 9; ++i) {
    RECT r = w.RectInBar(kLayoutIds[i]);
    bool separator = i == 3 || i == 7;
    EXPECT_EQ(r.left, lefts[i]) << kLayoutIds[i];
    EXPECT_EQ(r.top, 4) << kLayoutIds[i];
    EXPECT_EQ(r.right - r.left, separator ? 8 : 34) << kLayoutIds[i];
    EXPECT_EQ(r.bottom - r.top, 30) << kLayoutIds[i];
    EXPECT_FALSE(Shown(w.Control(kLayoutIds[i]))) << kLayoutIds[i];
  }
  // Bar, view and logo in the 400 x 336 client.
  RECT bar, view;
  GetWindowRect(w.bar.GetSafeHwnd(), &bar);
  GetWindowRect(w.view.GetSafeHwnd(), &view);
  EXPECT_EQ(bar.bottom - bar.top, 36);
  EXPECT_EQ(bar.right - bar.left, 400);
  EXPECT_EQ(view.top, bar.bottom);
  EXPECT_EQ(view.bottom - view.top, 300);
  RECT logo = w.RectInBar(IDC_LOGO);
  EXPECT_EQ(logo.right - logo.left, 125);
  EXPECT_EQ(logo.left, 273);
  EXPECT_EQ(logo.top, 5);
  EXPECT_TRUE(GetWindowLongPtrW(w.Control(IDC_LOGO), GWL_STYLE) & SS_NOTIFY);
  EXPECT_TRUE(Shown(w.Control(IDC_LOGO)));

  struct Expect {
    UINT id;
    int kind;
    int grayWhenDisabled;
    bool disabledPicture;
  } buttons[] = {
      {IDC_START, flex::kPush, 0, true},     {IDC_STOP, flex::kCheckBox, 0, true},
      {IDC_RESET, flex::kPush, 0, true},     {IDC_HISCORE, flex::kPush, 1, false},
      {IDC_HELP_COMMAND, flex::kPush, 1, false}, {IDC_VERSION, flex::kPush, 1, false},
      {IDC_EXIT, flex::kPush, 1, false},
  };
  for (const Expect& e : buttons) {
    CBarButton* b = w.bar.GetButton(e.id);
    ASSERT_NE(b, nullptr) << e.id;
    EXPECT_EQ(CWnd::FromHandlePermanent(w.Control(e.id)), b) << e.id;
    EXPECT_EQ(b->buttonKind, e.kind) << e.id;
    EXPECT_EQ(b->grayWhenDisabled, e.grayWhenDisabled) << e.id;
    EXPECT_EQ(b->flexStyle, 0) << e.id;
    for (int look : {flex::kNormal, flex::kHot, flex::kPressed}) {
      ASSERT_TRUE(b->imageSlots[look]) << e.id << " look " << look;
      EXPECT_EQ(b->imageSlots[look]->width, 24);
      EXPECT_EQ(b->imageSlots[look]->transparent, RGB(255, 0, 255));
    }
    EXPECT_EQ(b->imageSlots[flex::kDisabled] != nullptr, e.disabledPicture) << e.id;
  }
  // Stop and Reset are disabled: their current pictures are the disabled ones.
  EXPECT_EQ(w.bar.GetButton(IDC_STOP)->CurrentImage(),
            w.bar.GetButton(IDC_STOP)->imageSlots[flex::kDisabled].get());
  EXPECT_EQ(w.bar.GetButton(IDC_START)->CurrentImage(),
            w.bar.GetButton(IDC_START)->imageSlots[flex::kNormal].get());
  EXPECT_EQ(CWnd::FromHandlePermanent(w.Control(IDC_STOPKEY)), nullptr) << "1003 stays unbound";
}

TEST(ButtonBar, ANarrowBarKeepsTheLogoBesideTheExitButton) {
  BarWindow w(false, 300);
  ASSERT_TRUE(w.created);
  RECT logo = w.RectInBar(IDC_LOGO);
  EXPECT_EQ(logo.left, 267);
  EXPECT_EQ(logo.top, 4);
}

TEST(SlideIn, ShowsTheButtonsOnlyAtItsEndAndTellsTheFrame) {
  BarWindow w;
  ASSERT_TRUE(w.created);
  w.bar.StartSlideIn(w.frame.GetSafeHwnd(), w.view.GetSafeHwnd());
  EXPECT_EQ(w.bar.GetRevealState(), 1);
  bool shownEarly = false;
  DWORD start = GetTickCount();
  ASSERT_TRUE(PumpUntil([&] {
    if (w.frame.openingsDone == 0) {
      for (UINT id : kLayoutIds) shownEarly = shownEarly || Shown(w.Control(id));
    }
    return w.frame.openingsDone > 0;
  }));
  std::printf("slide-in: WM_MG_OPENINGDONE after %lu ms\n", GetTickCount() - start);
  EXPECT_FALSE(shownEarly);
  for (UINT id : kLayoutIds) EXPECT_TRUE(Shown(w.Control(id))) << id;
  EXPECT_FALSE(Shown(w.Control(IDC_STOPKEY)));
  EXPECT_EQ(w.bar.GetRevealState(), 0);
  PumpFor(100);
  EXPECT_EQ(w.frame.openingsDone, 1);
  w.bar.StartSlideIn(w.frame.GetSafeHwnd(), w.view.GetSafeHwnd());  // only once
  EXPECT_EQ(w.bar.GetRevealState(), 0);
}

TEST(SlideIn, ClosingDuringItStopsTheWorkerAndShowsNothing) {
  BarWindow w;
  ASSERT_TRUE(w.created);
  w.bar.StartSlideIn(w.frame.GetSafeHwnd(), w.view.GetSafeHwnd());
  PumpFor(300);  // well inside the 1850 ms
  ASSERT_EQ(w.bar.GetRevealState(), 1);
  for (UINT id : kLayoutIds) ASSERT_FALSE(Shown(w.Control(id))) << id;
  DWORD start = GetTickCount();
  ASSERT_TRUE(w.frame.DestroyWindow());
  std::printf("slide-in: closing took %lu ms\n", GetTickCount() - start);
  // 0 means the worker itself ended (a worker past the bound would still read 2).
  EXPECT_EQ(w.bar.GetRevealState(), 0);
  PumpFor(100);
  EXPECT_EQ(w.frame.openingsDone, 0);
}

TEST(SlideIn, ClosingRightAfterTheStartEndsBeforeAnyFrame) {
  BarWindow w;
  ASSERT_TRUE(w.created);
  w.bar.StartSlideIn(w.frame.GetSafeHwnd(), w.view.GetSafeHwnd());
  ASSERT_TRUE(w.frame.DestroyWindow());
  EXPECT_EQ(w.bar.GetRevealState(), 0);
  EXPECT_EQ(w.frame.openingsDone, 0);
}

TEST(HoverLabel, ShowsTheNewestButtonsTextAfterItsDelay) {
  BarWindow w;
  ASSERT_TRUE(w.created);
  HoverLabel& label = HoverLabel::Instance();
  ShowHoverLabel(w.Control(IDC_START), -1, 250);
  ShowHoverLabel(w.Control(IDC_EXIT), -1, 250);  // moved on within 250 ms
  HWND popup = label.GetSafeHwnd();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), w.frame.GetSafeHwnd());
  EXPECT_FALSE(IsWindowVisible(popup));
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(popup) != FALSE; }));
  EXPECT_EQ(label.GetText(), L"終了 (ESC)");
  EXPECT_TRUE(GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT r;
  GetWindowRect(popup, &r);
  EXPECT_GT(r.right - r.left, 6);
  EXPECT_GT(r.bottom - r.top, 4);
  HideHoverLabel();
  EXPECT_FALSE(IsWindowVisible(popup));
}

TEST(HoverLabel, LeavingBeforeTheDelayShowsNothing) {
  BarWindow w;
  ASSERT_TRUE(w.created);
  ShowHoverLabel(w.Control(IDC_HISCORE), -1, 250);
  HideHoverLabel();
  HWND popup = HoverLabel::Instance().GetSafeHwnd();
  ASSERT_NE(popup, nullptr);
  bool everShown = false;
  DWORD start = GetTickCount();
  PumpUntil([&] {
    everShown = everShown || IsWindowVisible(popup);
    return GetTickCount() - start > 600;
  });
  EXPECT_FALSE(everShown);
  EXPECT_EQ(HoverLabel::Instance().GetText(), L"ハイスコア (F8)");
}

}  // namespace
