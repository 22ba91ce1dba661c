// rodeo.exe's shell around the real engine with a module made to fail: with "init"
// on the command line a fatal error happens inside Init, with "tick" inside the
// fifth Tick. Each step is printed, so the driven test sees the order: the error box
// closes, the failing call returns, and only then the frame shuts the engine down
// and deletes the module.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "core/kl_core.h"
#include "engine/kl_task.h"
#include "engine/mg_engine.h"
#include "shell/mg_app.h"

namespace {

enum class FailAt { kInit, kTick };

FailAt Mode() { return std::wcsstr(GetCommandLineW(), L" tick") ? FailAt::kTick : FailAt::kInit; }

void Say(const char* text) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

void NoScene() {}

class FailingModule : public CMgEngine {
 public:
  ~FailingModule() override { Say("module deleted"); }
  void Describe(MgGameDesc* desc) override {
    CMgEngine::Describe(desc);
    desc->code = "QM100FATAL";  // its own single-instance names
    desc->usesPack = 0;
  }
  int Init() override {
    int result = CMgEngine::Init();
    Say("init");
    if (Mode() == FailAt::kInit) {
      klError("Init", "made to fail");
      Say("init returns");
      return 1;
    }
    return result;
  }
  int Tick(int active) override {
    if (!active) return CMgEngine::Tick(active);
    if (closing_) {
      Say("tick after the error");  // must not happen: nothing more is ticked
      closing_ = false;
    }
    if (Mode() == FailAt::kTick && ++ticks_ == 5) {
      klError("Tick", "made to fail");
      Say("tick returns");
      closing_ = true;
      return 1;
    }
    return CMgEngine::Tick(active);
  }
  int Shutdown() override {
    Say("shutdown");
    return CMgEngine::Shutdown();
  }

 private:
  int ticks_ = 0;
  bool closing_ = false;
};

CMgApp theApp;

}  // namespace

CMgGame* CreateMgGame() {
  klSetBootScene(NoScene);
  return new FailingModule;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int code = theApp.Main();
  std::printf("exit %d\n", code);
  std::fflush(stdout);
  return code;
}
