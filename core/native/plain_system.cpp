// The default system of native builds: a steady clock, no cursor, stderr for
// debug text. Tests install their own through klSetSystem.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "core/kl_system.h"

namespace {

class PlainSystem : public KlSystem {
 public:
  uint32_t Time() override { return Millis(); }
  uint32_t TickCount() override { return Millis(); }
  KlPoint CursorPos() override { return cursor_; }
  void SetCursorPos(KlPoint p) override { cursor_ = p; }
  KlPoint ClientOrigin(KlWindow) override { return {0, 0}; }
  void ShowCursor(bool) override {}
  bool KeyDown(int) override { return false; }  // no keyboard natively
  void DebugOutput(const char* text) override { std::fputs(text, stderr); }
  void ErrorBox(KlWindow, const char* text) override { std::fprintf(stderr, "Error: %s\n", text); }
  void PostClose(KlWindow) override {}
  void DestroyWindow(KlWindow) override {}
  void QuitApplication(KlWindow, const char* message) override {
    if (message) std::fprintf(stderr, "強制終了: %s\n", message);
  }
  void* Alloc(size_t bytes, bool zeroFill) override {
    return zeroFill ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
  }
  void Free(void* block) override { std::free(block); }

 private:
  static uint32_t Millis() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
  KlPoint cursor_{-1, -1};
};

}  // namespace

KlSystem* klDefaultSystem() {
  static PlainSystem system;
  return &system;
}
