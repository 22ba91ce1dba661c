// The control bar on real windows: its set-up, the slide-in that shows the buttons
// only at its end (and not before 1850 ms), its pictures where the buttons show
// them, the pictures it owns, closing during the slide-in, and the hover label.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

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

// The bar's strip as the frame's client area shows it (read from the frame's own
// context, children included), on whichever thread asks.
struct BarPixels {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

  BarPixels(HWND frame, HWND bar) {
    RECT r;
    GetClientRect(bar, &r);
    width = r.right;
    height = r.bottom;
    POINT origin = {0, 0};
    MapWindowPoints(bar, frame, &origin, 1);
    pixels.resize(static_cast<size_t>(width) * height);
    HDC frameDc = GetDCEx(frame, nullptr, DCX_CACHE);
    HDC memory = CreateCompatibleDC(frameDc);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(frameDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, frameDc, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = p[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(frame, frameDc);
  }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

  // The box of the pixels in [left, right) x [top, bottom) that are not the face colour.
  RECT Picture(int left, int top, int right, int bottom) const {
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    uint32_t faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    RECT box = {right, bottom, left, top};
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (At(x, y) != faceRgb) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
  }

  void Save(const char* path) const {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header = {sizeof header, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
    if (FILE* out = std::fopen(path, "wb")) {
      std::fwrite(&file, sizeof file, 1, out);
      std::fwrite(&header, sizeof header, 1, out);
      std::fwrite(pixels.data(), 4, pixels.size(), out);
      std::fclose(out);
    }
  }
};

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
  DWORD took = GetTickCount() - start;
  std::printf("slide-in: WM_MG_OPENINGDONE after %lu ms\n", static_cast<unsigned long>(took));
  EXPECT_GE(took, 1850u) << "the slide-in lasts at least 1850 ms";
  EXPECT_FALSE(shownEarly);
  for (UINT id : kLayoutIds) EXPECT_TRUE(Shown(w.Control(id))) << id;
  EXPECT_FALSE(Shown(w.Control(IDC_STOPKEY)));
  EXPECT_EQ(w.bar.GetRevealState(), 0);
  PumpFor(100);
  EXPECT_EQ(w.frame.openingsDone, 1);
  w.bar.StartSlideIn(w.frame.GetSafeHwnd(), w.view.GetSafeHwnd());  // only once
  EXPECT_EQ(w.bar.GetRevealState(), 0);
}

TEST(SlideIn, EachPictureSitsWhereItsButtonShowsItDuringTheSlideAndAfter) {
  SetCursorPos(1000, 700);  // no button hot when the bar is shown
  BarWindow w(true);
  ASSERT_TRUE(w.created);
  HWND frame = w.frame.GetSafeHwnd(), barWindow = w.bar.GetSafeHwnd();
  // The first frame after the motion (15 steps at most), long before the end.
  const int kLateFrame = 15;
  std::unique_ptr<BarPixels> midway;
  std::atomic<bool> hiddenMidway{false};
  w.bar.WatchSlideInFrames([&](int number) {
    if (number != kLateFrame) return;
    midway = std::make_unique<BarPixels>(frame, barWindow);
    hiddenMidway = !Shown(w.Control(IDC_START)) && !Shown(w.Control(IDC_EXIT));
  });
  w.bar.StartSlideIn(frame, w.view.GetSafeHwnd());
  ASSERT_TRUE(PumpUntil([&] { return w.frame.openingsDone > 0; }));
  PumpFor(50);
  BarPixels done(frame, barWindow);
  ASSERT_TRUE(midway);
  EXPECT_TRUE(hiddenMidway.load()) << "the frame was taken while the buttons were hidden";
  midway->Save("slide_in_midway.bmp");
  done.Save("slide_in_done.bmp");
  const UINT buttons[] = {IDC_START, IDC_STOP, IDC_RESET, IDC_HISCORE, IDC_HELP_COMMAND, IDC_VERSION, IDC_EXIT};
  for (UINT id : buttons) {
    RECT slot = w.RectInBar(id);
    RECT during = midway->Picture(slot.left, slot.top, slot.right, slot.bottom);
    RECT after = done.Picture(slot.left, slot.top, slot.right, slot.bottom);
    EXPECT_LT(after.left, after.right) << id << ": the finished button shows a picture";
    EXPECT_EQ(during.left, after.left) << id;
    EXPECT_EQ(during.top, after.top) << id;
    EXPECT_EQ(during.right, after.right) << id;
    EXPECT_EQ(during.bottom, after.bottom) << id;
    int differing = 0;
    for (int y = slot.top; y < slot.bottom; ++y)
      for (int x = slot.left; x < slot.right; ++x) differing += midway->At(x, y) != done.At(x, y);
    EXPECT_EQ(differing, 0) << id << ": the slot looks the same during the slide and after";
  }
}

// A worker that a stalled machine holds past the bar's bounded wait draws with
// pictures of its own: the buttons' are gone with the bar, its copies are not,
// until it ends.
TEST(SlideIn, DrawsWithCopiesOfThePicturesThatItOwnsAndFrees) {
  BarWindow w;
  ASSERT_TRUE(w.created);
  HANDLE holdEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(holdEvent);
  std::atomic<bool> stalled{false};
  w.bar.WatchSlideInFrames([&](int number) {
    if (number != 1) return;
    stalled = true;
    WaitForSingleObject(holdEvent, 10000);
  });
  w.bar.StartSlideIn(w.frame.GetSafeHwnd(), w.view.GetSafeHwnd());
  std::shared_ptr<SlideInJob> job = w.bar.SlideIn();
  ASSERT_TRUE(job);
  const UINT buttons[] = {IDC_START, IDC_STOP, IDC_RESET, IDC_HISCORE, IDC_HELP_COMMAND, IDC_VERSION, IDC_EXIT};
  HBITMAP originals[SlideInJob::kButtonCount], copies[SlideInJob::kButtonCount];
  for (int i = 0; i < SlideInJob::kButtonCount; ++i) {
    originals[i] = w.bar.GetButton(buttons[i])->CurrentImage()->bitmap;
    copies[i] = job->buttons[i].picture.get();
    ASSERT_TRUE(copies[i]) << buttons[i];
    EXPECT_NE(copies[i], originals[i]) << buttons[i];
    BITMAP a{}, b{};
    GetObjectW(originals[i], sizeof a, &a);
    GetObjectW(copies[i], sizeof b, &b);
    EXPECT_EQ(b.bmWidth, a.bmWidth) << buttons[i];
    EXPECT_EQ(b.bmHeight, a.bmHeight) << buttons[i];
  }
  ASSERT_TRUE(PumpUntil([&] { return stalled.load(); }));
  ASSERT_TRUE(w.frame.DestroyWindow());  // the bar waits 500 ms, then goes
  EXPECT_EQ(job->revealState.load(), SlideInJob::kStopRequested) << "the worker is still held";
  for (int i = 0; i < SlideInJob::kButtonCount; ++i) {
    EXPECT_EQ(GetObjectType(originals[i]), 0u) << buttons[i] << ": the button's picture is gone";
    EXPECT_EQ(GetObjectType(copies[i]), static_cast<DWORD>(OBJ_BITMAP)) << buttons[i] << ": the copy is not";
  }
  SetEvent(holdEvent);
  ASSERT_TRUE(PumpUntil([&] { return job->revealState.load() == SlideInJob::kIdle; }));
  for (int i = 0; i < SlideInJob::kButtonCount; ++i)
    EXPECT_EQ(GetObjectType(copies[i]), 0u) << buttons[i] << ": freed when the run ended";
  EXPECT_EQ(w.frame.openingsDone, 0);
  CloseHandle(holdEvent);
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
