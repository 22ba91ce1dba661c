// The core's Windows services on real windows: the view's origin on screen, the
// cursor and the closing of the application from the view.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/win32/win32_system.h"
#include "core/win32/wide_text.h"

namespace {

struct Windows {
  HWND frame;
  HWND view;
  Windows() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Win32SystemTest";
    RegisterClassW(&wc);
    frame = CreateWindowW(L"Win32SystemTest", L"frame", WS_POPUP | WS_VISIBLE, 120, 80, 500, 400,
                          nullptr, nullptr, wc.hInstance, nullptr);
    view = CreateWindowW(L"Win32SystemTest", L"view", WS_CHILD | WS_VISIBLE, 30, 20, 400, 300, frame,
                         nullptr, wc.hInstance, nullptr);
  }
  ~Windows() {
    if (IsWindow(frame)) DestroyWindow(frame);
  }
};

TEST(Win32System, ClientOriginIsTheViewsScreenPosition) {
  Windows w;
  Win32System sys;
  KlPoint origin = sys.ClientOrigin(w.view);
  EXPECT_EQ(origin.x, 150);
  EXPECT_EQ(origin.y, 100);
}

TEST(Win32System, CursorPositionRoundTrips) {
  Win32System sys;
  sys.SetCursorPos({210, 170});
  KlPoint p = sys.CursorPos();
  EXPECT_EQ(p.x, 210);
  EXPECT_EQ(p.y, 170);
}

// The close is posted: the caller (a failing engine call) still has its windows
// when Quit returns, and the main window goes when the loop handles WM_CLOSE.
TEST(Win32System, QuitPostsTheCloseOfTheMainWindow) {
  Windows w;
  Win32System sys;
  sys.QuitApplication(w.view, nullptr);
  EXPECT_TRUE(IsWindow(w.frame));
  EXPECT_TRUE(IsWindow(w.view));
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_FALSE(IsWindow(w.frame));
  EXPECT_FALSE(IsWindow(w.view));
}

TEST(Win32System, ClocksMoveAndMemoryIsZeroFilledOnRequest) {
  Win32System sys;
  uint32_t t0 = sys.Time();
  Sleep(20);
  EXPECT_GE(sys.Time() - t0, 15u);
  unsigned char* block = static_cast<unsigned char*>(sys.Alloc(4096, true));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(block[i], 0) << i;
  sys.Free(block);
}

TEST(WideText, JapaneseSurvivesTheRoundTrip) {
  const char* title = "ポムルのロデオ";
  std::wstring wide = WideFromUtf8(title);
  EXPECT_EQ(wide, L"ポムルのロデオ");
  EXPECT_EQ(Utf8FromWide(wide.c_str()), title);
  EXPECT_EQ(WideFromUtf8(nullptr), L"");
}

}  // namespace
