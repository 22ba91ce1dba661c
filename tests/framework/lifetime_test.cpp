// Windows whose objects delete themselves when the window goes: the delete waits
// until every dispatch on the stack has returned, so no dispatch writes its message
// state into a freed object. The test objects' operator delete fills the block with
// a poison byte and keeps it, so a write after the delete shows as a changed byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/dialog.h"
#include "test_windows.h"

namespace {

constexpr unsigned char kPoison = 0xDD;

struct Grave {
  const unsigned char* block;
  std::size_t size;
};
std::vector<Grave> graves;

// Bytes of all kept blocks that no longer hold the poison.
std::size_t BytesWrittenAfterDelete() {
  std::size_t changed = 0;
  for (const Grave& g : graves)
    for (std::size_t i = 0; i < g.size; ++i) changed += g.block[i] != kPoison;
  return changed;
}

// A window class whose deleted objects are poisoned and kept, never freed.
template <typename Base>
class Poisoned : public Base {
 public:
  using Base::Base;
  // Out of line, so the compiler does not pair this delete with the global new.
  [[gnu::noinline]] static void* operator new(std::size_t size) { return ::operator new(size); }
  static void operator delete(void* block, std::size_t size) {
    std::memset(block, kPoison, size);
    graves.push_back({static_cast<const unsigned char*>(block), size});
  }
};

// What happened, in order, across the windows of one test.
std::vector<std::string> events;

constexpr UINT kEndYourself = WM_APP + 1;  // the handler destroys its own window
constexpr UINT kOpenModal = 500;           // a command that runs a modal dialog

// A window that deletes itself at its end and destroys itself on kEndYourself,
// then still uses its members, as a handler may.
class SelfEndingWindow : public Poisoned<CWnd> {
 public:
  int handled = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kEndYourself) {
      DestroyWindow();
      ++handled;
      return 7;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  void PostNcDestroy() override {
    events.push_back("window deleted");
    delete this;
  }
};

// A frame that deletes itself (as frames do) with a bar inside it, which passes its
// commands on to the frame; the forwarded command destroys the frame.
class ClosingFrame : public Poisoned<CFrameWnd> {
 public:
  TestBar bar;
  bool usedAfterDestroy = false;

  bool CreateWithBar() {
    if (!Create(nullptr, L"closing", WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 200})) return false;
    return bar.Create(this, kTestBarTemplate, CDialogBar::kAlignTop, 100);
  }

 protected:
  bool OnCommand(UINT id, UINT, HWND) override {
    if (id == kBarForwarded) {
      DestroyWindow();
      usedAfterDestroy = true;  // the object is still there
      return true;
    }
    if (id == kOpenModal) {
      // The dialog's start asks the frame to end; its window goes during the modal
      // loop, and the dialog with it, since the frame owns it.
      auto* dialog = new Poisoned<ModalDialog>(GetSafeHwnd());
      INT_PTR result = dialog->DoModal(GetSafeHwnd());
      events.push_back("modal returned " + std::to_string(result));
      delete dialog;  // its own end is still waiting: it must be forgotten
      usedAfterDestroy = GetSafeHwnd() == nullptr;
      return true;
    }
    return false;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kEndYourself) {
      events.push_back("frame destroyed in the modal loop");
      DestroyWindow();
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  void PostNcDestroy() override {
    events.push_back("frame deleted");
    CFrameWnd::PostNcDestroy();
  }

 private:
  class ModalDialog : public CDialog {
   public:
    explicit ModalDialog(HWND frame) : CDialog(kTestDialogTemplate), frame_(frame) {}

   protected:
    BOOL OnInitDialog() override {
      PostMessageW(frame_, kEndYourself, 0, 0);
      return TRUE;
    }

   private:
    HWND frame_;
  };
};

class Lifetime : public ::testing::Test {
 protected:
  void SetUp() override {
    graves.clear();
    events.clear();
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  static bool QuitPosted() {
    MSG quit;
    return PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  }
};

TEST_F(Lifetime, AWindowDestroyedInItsOwnHandlerIsDeletedWhenTheHandlerReturns) {
  auto* w = new SelfEndingWindow;
  ASSERT_TRUE(w->CreateEx(0, nullptr, nullptr, WS_POPUP, RECT{0, 0, 40, 30}, nullptr, 0));
  HWND hwnd = w->GetSafeHwnd();
  EXPECT_EQ(SendMessageW(hwnd, kEndYourself, 0, 0), 7);
  EXPECT_FALSE(IsWindow(hwnd));
  ASSERT_EQ(graves.size(), 1u) << "deleted once";
  EXPECT_EQ(BytesWrittenAfterDelete(), 0u);
}

TEST_F(Lifetime, AFrameEndedThroughItsBarIsDeletedAfterBothDispatchesAndEndsTheLoop) {
  CWinApp app;
  auto* frame = new ClosingFrame;
  app.mainWindow = frame;
  ASSERT_TRUE(frame->CreateWithBar());
  HWND frameWindow = frame->GetSafeHwnd();
  HWND bar = frame->bar.GetSafeHwnd();
  // The control's click reaches the bar, which sends it on to the frame: two
  // dispatches deep when the frame destroys itself.
  SendMessageW(bar, WM_COMMAND, MAKEWPARAM(kBarForwarded, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(bar, kBarForwarded)));
  EXPECT_FALSE(IsWindow(frameWindow));
  ASSERT_EQ(graves.size(), 1u) << "the frame, with its bar, deleted once";
  EXPECT_EQ(BytesWrittenAfterDelete(), 0u) << "a dispatch wrote into the deleted frame or bar";
  EXPECT_EQ(app.mainWindow, nullptr);
  EXPECT_TRUE(QuitPosted()) << "the main frame's end ends the loop";
}

TEST_F(Lifetime, AFrameEndedDuringAModalLoopWaitsForItsHandlerToReturn) {
  CWinApp app;
  auto* frame = new ClosingFrame;
  app.mainWindow = frame;
  ASSERT_TRUE(frame->CreateWithBar());
  HWND frameWindow = frame->GetSafeHwnd();
  SendMessageW(frameWindow, WM_COMMAND, kOpenModal, 0);
  EXPECT_FALSE(IsWindow(frameWindow));
  std::vector<std::string> expected = {"frame destroyed in the modal loop", "modal returned 0",
                                       "frame deleted"};
  EXPECT_EQ(events, expected);
  ASSERT_EQ(graves.size(), 2u) << "the dialog and the frame";
  EXPECT_EQ(BytesWrittenAfterDelete(), 0u);
  EXPECT_TRUE(QuitPosted());
}

// A window that counts its ends, and one whose handler destroys it and makes it
// again before returning.
class CountingWindow : public CWnd {
 public:
  int ends = 0;

 protected:
  void PostNcDestroy() override { ++ends; }
};

class Recreating : public CWnd {
 public:
  CountingWindow inner;
  int endsInHandler = -1;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kEndYourself) {
      inner.CreateEx(0, nullptr, nullptr, WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0);
      inner.DestroyWindow();
      endsInHandler = inner.ends;
      inner.CreateEx(0, nullptr, nullptr, WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

TEST_F(Lifetime, AnEndWaitsForTheHandlerAndIsDroppedForAnObjectWithANewWindow) {
  Recreating outer;
  ASSERT_TRUE(outer.CreateEx(0, nullptr, nullptr, WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
  SendMessageW(outer.GetSafeHwnd(), kEndYourself, 0, 0);
  EXPECT_EQ(outer.endsInHandler, 0) << "the end waits for the handler to return";
  EXPECT_EQ(outer.inner.ends, 0) << "the object has a window again";
  ASSERT_TRUE(IsWindow(outer.inner.GetSafeHwnd()));
  outer.inner.DestroyWindow();
  EXPECT_EQ(outer.inner.ends, 1) << "outside any dispatch the end comes at once";
}

// A frame that refuses its creation at one of three points.
enum class Refusal { kPreCreateWindow, kNcCreate, kCreate };

class RefusingFrame : public Poisoned<CFrameWnd> {
 public:
  explicit RefusingFrame(Refusal refusal) : refusal_(refusal) {}

 protected:
  bool PreCreateWindow(CREATESTRUCTW& cs) override {
    return refusal_ != Refusal::kPreCreateWindow && CFrameWnd::PreCreateWindow(cs);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCCREATE && refusal_ == Refusal::kNcCreate) return FALSE;
    if (message == WM_CREATE && refusal_ == Refusal::kCreate) return -1;
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }

 private:
  Refusal refusal_;
};

TEST_F(Lifetime, AFailedCreationEndsTheObjectOnceAndNeverTouchesItAfter) {
  for (Refusal refusal : {Refusal::kPreCreateWindow, Refusal::kNcCreate, Refusal::kCreate}) {
    SCOPED_TRACE(static_cast<int>(refusal));
    graves.clear();
    CWinApp app;
    auto* frame = new RefusingFrame(refusal);
    app.mainWindow = frame;
    EXPECT_FALSE(frame->Create(nullptr, L"refused", WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(graves.size(), 1u) << "a failed creation ends in PostNcDestroy";
    EXPECT_EQ(BytesWrittenAfterDelete(), 0u);
    EXPECT_EQ(app.mainWindow, nullptr);
    QuitPosted();
  }
}

}  // namespace
