// A KlSystem for tests: a clock and cursor the test moves by hand, and records of
// what the engine asked of the system.
#pragma once

#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/kl_system.h"

class FakeSystem : public KlSystem {
 public:
  uint32_t time = 100000;       // multimedia clock
  uint32_t tickCount = 500000;  // system tick count
  KlPoint cursor{-100, -100};   // outside the view by default
  KlPoint origin{0, 0};
  std::set<int> keysDown;       // virtual keys the test holds down
  int showCalls = 0, hideCalls = 0, closePosts = 0, destroyed = 0, quits = 0;
  int allocsBeforeFailure = -1;  // -1: never fail
  std::vector<std::string> errors;
  std::string debugText;
  // The close QuitApplication posted, not yet handled: the test's message pump
  // handles it once the engine call that asked for it has returned.
  bool closePending = false;
  // Runs while the error box is up, as its modal loop dispatches the frame's and
  // the view's messages (paint, activation).
  std::function<void()> duringErrorBox;

  uint32_t Time() override { return time; }
  uint32_t TickCount() override { return tickCount; }
  KlPoint CursorPos() override { return cursor; }
  void SetCursorPos(KlPoint p) override { cursor = p; }
  KlPoint ClientOrigin(KlWindow) override { return origin; }
  void ShowCursor(bool show) override { ++(show ? showCalls : hideCalls); }
  bool KeyDown(int virtualKey) override { return keysDown.count(virtualKey) != 0; }
  void DebugOutput(const char* text) override { debugText += text; }
  void ErrorBox(KlWindow, const char* text) override {
    errors.push_back(text);
    if (duringErrorBox) duringErrorBox();
  }
  void PostClose(KlWindow) override { ++closePosts; }
  void DestroyWindow(KlWindow) override { ++destroyed; }
  void QuitApplication(KlWindow, const char*) override {
    ++quits;
    closePending = true;
  }
  void* Alloc(size_t bytes, bool zeroFill) override {
    if (allocsBeforeFailure == 0) return nullptr;
    if (allocsBeforeFailure > 0) --allocsBeforeFailure;
    return zeroFill ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
  }
  void Free(void* block) override { std::free(block); }
};
