// CWnd: messages reach the object's member, subclassed controls keep their own
// behaviour, and children get their notifications back from the parent first.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/window.h"

namespace {

class RecordingWindow : public CWnd {
 public:
  std::vector<UINT> seen;
  WPARAM currentWParam = 0;
  bool ncDestroyed = false;
  std::vector<UINT> commands;

  bool Saw(UINT message) const { return std::count(seen.begin(), seen.end(), message) > 0; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    seen.push_back(message);
    if (message == WM_USER + 1) {
      currentWParam = GetCurrentMessage().wParam;
      return 40 + static_cast<LRESULT>(wParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  bool OnCommand(UINT id, UINT, HWND) override {
    commands.push_back(id);
    return true;
  }
  void PostNcDestroy() override { ncDestroyed = true; }
};

TEST(Window, OneProcedureHandsEveryMessageToTheObject) {
  RecordingWindow w;
  ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_POPUP, RECT{0, 0, 50, 40}, nullptr, 0));
  HWND hwnd = w.GetSafeHwnd();
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &w);
  EXPECT_TRUE(w.Saw(WM_NCCREATE));
  EXPECT_TRUE(w.Saw(WM_CREATE));
  EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 2, 0), 42);
  EXPECT_EQ(w.currentWParam, 2u);
  // Unhandled messages get the default processing.
  SetWindowTextW(hwnd, L"ポムル");
  wchar_t text[16] = {};
  GetWindowTextW(hwnd, text, 16);
  EXPECT_STREQ(text, L"ポムル");

  ASSERT_TRUE(w.DestroyWindow());
  EXPECT_TRUE(w.ncDestroyed);
  EXPECT_EQ(w.GetSafeHwnd(), nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST(Window, RefusingPreCreateWindowCreatesNothing) {
  class Refusing : public CWnd {
    bool PreCreateWindow(CREATESTRUCTW&) override { return false; }
  } w;
  EXPECT_FALSE(w.CreateEx(0, nullptr, nullptr, WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
  EXPECT_EQ(w.GetSafeHwnd(), nullptr);
}

TEST(Window, DeletingTheObjectDestroysItsWindow) {
  HWND hwnd;
  {
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, nullptr, WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    hwnd = w.GetSafeHwnd();
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

// A push button taken over from outside: it counts what it sees and answers its
// own click and colour request when the parent reflects them.
class ReflectingButton : public CWnd {
 public:
  int setTexts = 0;
  std::vector<UINT> reflected;
  HBRUSH brush = GetSysColorBrush(COLOR_INFOBK);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SETTEXT) ++setTexts;
    return CWnd::WindowProc(message, wParam, lParam);
  }
  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
    reflected.push_back(message);
    switch (message) {
      case WM_COMMAND:
        *result = 0;
        return HIWORD(wParam) == BN_CLICKED;
      case WM_CTLCOLORBTN:
        *result = reinterpret_cast<LRESULT>(brush);
        return true;
      case WM_NOTIFY:
        *result = 7;
        return true;
      case WM_DRAWITEM:
        *result = TRUE;
        return true;
      default:
        return false;
    }
  }
};

struct ParentWithButtons {
  RecordingWindow parent;
  HWND bound;
  HWND plain;
  ParentWithButtons() {
    parent.CreateEx(0, nullptr, L"parent", WS_POPUP, RECT{10, 10, 210, 110}, nullptr, 0);
    bound = CreateWindowW(L"BUTTON", L"old", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 5, 5, 60, 20,
                          parent.GetSafeHwnd(), reinterpret_cast<HMENU>(77), nullptr, nullptr);
    plain = CreateWindowW(L"BUTTON", L"plain", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 80, 5, 60, 20,
                          parent.GetSafeHwnd(), reinterpret_cast<HMENU>(78), nullptr, nullptr);
  }
};

TEST(Subclass, ATemplatesControlKeepsItsBehaviourAndSeesMessagesFirst) {
  ParentWithButtons p;
  ReflectingButton button;
  ASSERT_TRUE(button.SubclassDlgItem(77, p.parent.GetSafeHwnd()));
  EXPECT_EQ(CWnd::FromHandlePermanent(p.bound), &button);
  SetWindowTextW(p.bound, L"new");
  EXPECT_EQ(button.setTexts, 1);
  wchar_t text[8] = {};
  GetWindowTextW(p.bound, text, 8);
  EXPECT_STREQ(text, L"new");  // the button's own procedure still ran

  ReflectingButton second;
  EXPECT_FALSE(second.SubclassWindow(p.bound)) << "a window is bound to one object";

  EXPECT_EQ(button.UnsubclassWindow(), p.bound);
  EXPECT_EQ(CWnd::FromHandlePermanent(p.bound), nullptr);
  SetWindowTextW(p.bound, L"again");
  EXPECT_EQ(button.setTexts, 1);
  EXPECT_TRUE(IsWindow(p.bound));
}

TEST(Reflection, TheParentHandsNotificationsBackToTheChildFirst) {
  ParentWithButtons p;
  ReflectingButton button;
  ASSERT_TRUE(button.SubclassDlgItem(77, p.parent.GetSafeHwnd()));
  HWND parent = p.parent.GetSafeHwnd();

  // (The button's own painting also sends colour requests and notifications.)
  auto count = [&](UINT message) {
    return std::count(button.reflected.begin(), button.reflected.end(), message);
  };
  SendMessageW(p.bound, BM_CLICK, 0, 0);
  EXPECT_EQ(count(WM_COMMAND), 1);
  EXPECT_TRUE(p.parent.commands.empty()) << "the child took its click";

  SendMessageW(p.plain, BM_CLICK, 0, 0);  // no object: the parent's OnCommand
  ASSERT_EQ(p.parent.commands.size(), 1u);
  EXPECT_EQ(p.parent.commands[0], 78u);

  auto colourRequests = count(WM_CTLCOLORBTN);
  HDC dc = GetDC(parent);
  EXPECT_EQ(SendMessageW(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(p.bound)),
            reinterpret_cast<LRESULT>(button.brush));
  ReleaseDC(parent, dc);
  EXPECT_EQ(count(WM_CTLCOLORBTN), colourRequests + 1);

  NMHDR header{p.bound, 77, 12345};
  EXPECT_EQ(SendMessageW(parent, WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header)), 7);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = 77;
  item.hwndItem = p.bound;
  EXPECT_EQ(SendMessageW(parent, WM_DRAWITEM, 77, reinterpret_cast<LPARAM>(&item)), TRUE);
  EXPECT_EQ(count(WM_DRAWITEM), 1);
  size_t reflectedSoFar = button.reflected.size();

  // A command naming a control of another window is not reflected to it.
  RecordingWindow other;
  other.CreateEx(0, nullptr, nullptr, WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0);
  SendMessageW(other.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(77, BN_CLICKED),
               reinterpret_cast<LPARAM>(p.bound));
  EXPECT_EQ(button.reflected.size(), reflectedSoFar);
  ASSERT_EQ(other.commands.size(), 1u);
}

TEST(Window, FromHandleWrapsUnboundWindowsUntilTheyAreCleanedUp) {
  ParentWithButtons p;
  EXPECT_EQ(CWnd::FromHandle(p.parent.GetSafeHwnd()), &p.parent);
  CWnd* temp = CWnd::FromHandle(p.plain);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(temp->GetSafeHwnd(), p.plain);
  EXPECT_EQ(CWnd::FromHandle(p.plain), temp);
  EXPECT_EQ(CWnd::FromHandlePermanent(p.plain), nullptr);
  EXPECT_EQ(CWnd::TempObjectCount(), 1);
  CWnd::DeleteTempObjects();
  EXPECT_EQ(CWnd::TempObjectCount(), 0);
  EXPECT_TRUE(IsWindow(p.plain)) << "cleaning up a wrapper leaves the window";
}

}  // namespace
