// CWinApp: idle command-state updates and cleanup, the main frame's accelerators in
// pre-translation, the default loop's exit code, and a failed start-up.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/application.h"
#include "test_windows.h"

namespace {

int CountOf(const std::vector<UINT>& ids, UINT id) {
  return static_cast<int>(std::count(ids.begin(), ids.end(), id));
}

TEST(Idle, PassZeroAsksTheFrameForEachBarControlAndAppliesTheAnswers) {
  FrameWithBar w;
  CWinApp app;
  app.mainWindow = &w.frame;
  EXPECT_TRUE(IsWindowEnabled(w.Control(kBarForwarded)));
  EXPECT_TRUE(app.OnIdle(0));
  EXPECT_EQ(CountOf(w.frame.asked, kBarForwarded), 1);
  EXPECT_EQ(CountOf(w.frame.asked, kBarOwn), 1);
  EXPECT_EQ(CountOf(w.frame.asked, kBarCheck), 1);
  EXPECT_EQ(w.frame.asked.size(), 3u) << "the unnamed static is not asked about";
  EXPECT_FALSE(IsWindowEnabled(w.Control(kBarForwarded)));
  EXPECT_TRUE(IsWindowEnabled(w.Control(kBarOwn))) << "no answer leaves the control as it is";
  EXPECT_EQ(SendMessageW(w.Control(kBarCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(Idle, PassOneDeletesTemporaryObjectsAndEndsIdling) {
  FrameWithBar w;
  CWinApp app;
  app.mainWindow = &w.frame;
  CWnd::FromHandle(w.Control(kBarOwn));
  ASSERT_EQ(CWnd::TempObjectCount(), 1);
  EXPECT_FALSE(app.OnIdle(1));
  EXPECT_EQ(CWnd::TempObjectCount(), 0);
  EXPECT_FALSE(app.OnIdle(2));
}

TEST(Idle, RepeatedMouseMovesPaintAndTheSystemTimerDoNotRestartIdling) {
  CWinApp app;
  MSG move{};
  move.message = WM_MOUSEMOVE;
  move.pt = {10, 20};
  EXPECT_TRUE(app.IsIdleMessage(move));
  EXPECT_FALSE(app.IsIdleMessage(move));
  move.pt.x = 11;
  EXPECT_TRUE(app.IsIdleMessage(move));
  MSG other{};
  for (UINT message : {static_cast<UINT>(WM_PAINT), 0x0118u}) {
    other.message = message;
    EXPECT_FALSE(app.IsIdleMessage(other)) << message;
  }
  other.message = WM_KEYDOWN;
  EXPECT_TRUE(app.IsIdleMessage(other));
}

TEST(Accelerators, PreTranslationAppliesTheMainFramesTable) {
  FrameWithBar w;
  CWinApp app;
  app.mainWindow = &w.frame;
  MSG key{};
  key.hwnd = w.view.GetSafeHwnd();
  key.message = WM_KEYDOWN;
  key.wParam = VK_F5;
  EXPECT_FALSE(app.PreTranslateMessage(&key)) << "no table loaded yet";
  ASSERT_TRUE(w.frame.LoadAccelTable(kTestAccelerators));
  EXPECT_TRUE(app.PreTranslateMessage(&key));
  ASSERT_EQ(w.frame.commands.size(), 1u);
  EXPECT_EQ(w.frame.commands[0].id, static_cast<UINT>(kAcceleratorCommand));
  EXPECT_EQ(w.frame.commands[0].code, 1u) << "accelerator commands carry code 1";

  key.wParam = VK_F6;
  EXPECT_FALSE(app.PreTranslateMessage(&key));
  // A key for a window outside the frame is left alone.
  CWnd stranger;
  stranger.CreateEx(0, nullptr, nullptr, WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0);
  key.hwnd = stranger.GetSafeHwnd();
  key.wParam = VK_F5;
  EXPECT_FALSE(app.PreTranslateMessage(&key));
  EXPECT_EQ(w.frame.commands.size(), 1u);
  EXPECT_FALSE(w.frame.LoadAccelTable(9999));
  EXPECT_NE(w.frame.GetAccelerators(), nullptr) << "a failed load keeps the table";
}

// Ends its loop from the first idle pass, which comes once the queue is empty.
class QuittingApp : public CWinApp {
 public:
  int idlePasses = 0;
  bool OnIdle(long count) override {
    if (++idlePasses == 1) PostQuitMessage(5);
    return CWinApp::OnIdle(count);
  }
};

TEST(MessageLoop, RunDispatchesTranslatesKeysAndReturnsTheQuitCode) {
  FrameWithBar w;
  QuittingApp app;
  app.mainWindow = &w.frame;
  ASSERT_TRUE(w.frame.LoadAccelTable(kTestAccelerators));
  PostMessageW(w.view.GetSafeHwnd(), WM_KEYDOWN, VK_F5, 0);
  EXPECT_EQ(app.Run(), 5);
  EXPECT_EQ(app.idlePasses, 1);
  ASSERT_EQ(w.frame.commands.size(), 1u) << "the key was taken before idling";
  EXPECT_EQ(w.frame.commands[0].id, static_cast<UINT>(kAcceleratorCommand));

}

class FailingStart : public CWinApp {
 public:
  HWND frameWindow = nullptr;
  bool InitInstance() override {
    auto* frame = new CFrameWnd;  // deletes itself when its window is gone
    frame->Create(nullptr, nullptr, WS_OVERLAPPEDWINDOW);
    frameWindow = frame->GetSafeHwnd();
    mainWindow = frame;
    return false;
  }
};

TEST(MessageLoop, AFailedStartDestroysTheHiddenMainWindow) {
  FailingStart app;
  EXPECT_EQ(app.Main(), 0);
  ASSERT_NE(app.frameWindow, nullptr);
  EXPECT_FALSE(IsWindow(app.frameWindow));
  EXPECT_EQ(app.mainWindow, nullptr);
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
      << "the main window's end posts WM_QUIT";
  EXPECT_EQ(quit.wParam, 0u);
}

}  // namespace
