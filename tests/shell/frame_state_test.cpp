// The main frame's decisions as tables: a run of events (with the tick count of each)
// and what came out of it: the engine calls and control updates in order, the state,
// the pause flags, the play time and the clicks.
#include "shell/frame_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using shell::FrameState;

// Logs what the frame would do: U update controls, S start, P1/P0 engine stop and
// resume, R resync, F flip the Stop check. The Stop button is enabled as the last
// UpdateControls left it (disabled at first, as after window creation).
class LogActions : public shell::FrameActions {
 public:
  FrameState* state = nullptr;
  std::string log;
  bool stopEnabled = false;
  int stopChecked = 0;

  void UpdateControls() override {
    log += "U ";
    stopEnabled = state->gameState != kMgIdle;
    stopChecked = state->gameState == kMgPaused ? 1 : 0;
  }
  void EngineOnStart() override { log += "S "; }
  void EngineStop(bool stop) override { log += stop ? "P1 " : "P0 "; }
  void EngineResync() override { log += "R "; }
  bool IsStopEnabled() override { return stopEnabled; }
  void FlipStopCheck() override {
    log += "F ";
    stopChecked ^= 1;
  }
};

struct Event {
  const char* what;  // start, pause (request 2), reset (request 0), resetCmd, f6, press,
                     // modal, endModal, deactivate, activate, request9
  uint32_t at;
};

struct Case {
  const char* name;
  bool engineStarted;
  std::vector<Event> events;
  const char* log;
  MgHostState state;
  bool autoPaused;
  uint32_t playMs;
  uint32_t clicks;
};

void Apply(FrameState& s, const Event& e) {
  std::string w = e.what;
  if (w == "start") s.RequestState(1, e.at);
  else if (w == "pause") s.RequestState(2, e.at);
  else if (w == "reset") s.RequestState(0, e.at);
  else if (w == "request9") s.RequestState(9, e.at);
  else if (w == "resetCmd") s.Reset(e.at);
  else if (w == "f6") s.ToggleStopByKey(e.at);
  else if (w == "press") s.OnViewPress(e.at);
  else if (w == "modal") s.SuspendForModal(e.at);
  else if (w == "endModal") s.ResumeAfterModal(e.at);
  else if (w == "deactivate") s.OnActivateApp(false, e.at);
  else if (w == "activate") s.OnActivateApp(true, e.at);
  else FAIL() << "unknown event " << w;
}

const Case kCases[] = {
    {"a ride played to its end counts its whole time", true,
     {{"start", 1000}, {"reset", 4000}}, "U S U R ", kMgIdle, false, 3000, 0},
    {"start twice and reset twice change nothing more", true,
     {{"start", 1000}, {"start", 1500}, {"reset", 2000}, {"reset", 2500}}, "U S U R ", kMgIdle, false, 1000, 0},
    {"pause and reset do nothing while idle; unknown requests never do", true,
     {{"pause", 100}, {"reset", 200}, {"request9", 300}, {"f6", 400}}, "", kMgIdle, false, 0, 0},
    {"a completed pause is not play time", true,
     {{"start", 1000}, {"pause", 2000}, {"pause", 5000}, {"reset", 6000}},
     "U S U P1 U P0 U R ", kMgIdle, false, 2000, 0},
    {"reset while paused resumes the clock first and counts the pause up to the reset", true,
     {{"start", 1000}, {"pause", 2000}, {"resetCmd", 5000}}, "U S U P1 P0 U R ", kMgIdle, false, 4000, 0},
    {"F6 pauses and resumes a ride, flipping the Stop check", true,
     {{"start", 0}, {"f6", 100}, {"f6", 300}}, "U S F U P1 F U P0 ", kMgRunning, false, 0, 0},
    {"losing the activation pauses a ride and regaining it resumes", true,
     {{"start", 0}, {"deactivate", 100}, {"activate", 900}, {"reset", 1000}},
     "U S U P1 U P0 U R ", kMgIdle, false, 200, 0},
    {"a ride paused by hand stays paused across the activation", true,
     {{"start", 0}, {"f6", 100}, {"deactivate", 200}, {"activate", 300}}, "U S F U P1 ", kMgPaused, false, 0, 0},
    {"activation while idle does nothing", true,
     {{"deactivate", 100}, {"activate", 200}}, "", kMgIdle, false, 0, 0},
    {"modal UI while running pauses the ride and resumes it after", true,
     {{"start", 0}, {"modal", 100}, {"endModal", 600}, {"reset", 1000}},
     "U S F U P1 F U P0 U R ", kMgIdle, false, 500, 0},
    {"modal UI while idle stops and resumes the engine's clock", true,
     {{"modal", 100}, {"endModal", 600}}, "P1 P0 ", kMgIdle, false, 0, 0},
    {"modal UI while paused by hand leaves the pause alone", true,
     {{"start", 0}, {"f6", 100}, {"modal", 200}, {"endModal", 300}}, "U S F U P1 ", kMgPaused, false, 0, 0},
    {"activation lost during modal UI: the ride resumes with the next activation", true,
     {{"start", 0}, {"modal", 100}, {"deactivate", 200}, {"endModal", 300}, {"activate", 400}},
     "U S F U P1 U P0 ", kMgRunning, false, 0, 0},
    {"activation lost during modal UI while idle: the idle engine's clock resumes", true,
     {{"modal", 100}, {"deactivate", 200}, {"endModal", 300}, {"activate", 400}}, "P1 P0 ", kMgIdle, false, 0, 0},
    {"before the engine started, modal UI and activation do nothing", false,
     {{"modal", 100}, {"endModal", 200}, {"deactivate", 300}, {"activate", 400}, {"press", 500}},
     "", kMgIdle, false, 0, 0},
    {"the first press starts a ride and counts; presses while running count", true,
     {{"press", 100}, {"press", 200}, {"press", 300}}, "U S ", kMgRunning, false, 0, 3},
    {"presses while paused neither count nor resume", true,
     {{"press", 100}, {"f6", 200}, {"press", 300}, {"press", 400}}, "U S F U P1 ", kMgPaused, false, 0, 1},
    {"a press after the reset starts the next ride", true,
     {{"press", 100}, {"reset", 1100}, {"press", 2000}, {"reset", 2500}}, "U S U R U S U R ", kMgIdle, false, 1500, 2},
    {"play time across the clock's wrap", true,
     {{"start", 0xFFFFFF00u}, {"pause", 0xFFFFFFF0u}, {"pause", 0x00000010u}, {"reset", 0x00000110u}},
     "U S U P1 U P0 U R ", kMgIdle, false, 0x1F0, 0},
};

TEST(FrameStateTest, EventTables) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    MgInfo record;
    std::memset(&record, 0, sizeof record);
    record.totalPlayMs = 0;
    LogActions actions;
    FrameState state(actions, record);
    actions.state = &state;
    if (c.engineStarted) state.OnEngineStarted();
    for (const Event& e : c.events) Apply(state, e);
    EXPECT_EQ(actions.log, c.log);
    EXPECT_EQ(state.gameState, c.state);
    EXPECT_EQ(state.autoPaused, c.autoPaused);
    EXPECT_EQ(record.totalPlayMs, c.playMs);
    EXPECT_EQ(record.totalClicks, c.clicks);
    // The Stop button shows checked exactly while paused.
    if (c.engineStarted) {
      EXPECT_EQ(actions.stopChecked, state.gameState == kMgPaused ? 1 : 0);
    }
  }
}

TEST(FrameStateTest, PlayTimeAddsToTheStoredTotal) {
  MgInfo record;
  std::memset(&record, 0, sizeof record);
  record.totalPlayMs = 50000;
  LogActions actions;
  FrameState state(actions, record);
  actions.state = &state;
  state.OnEngineStarted();
  state.RequestState(1, 10);
  state.RequestState(0, 110);
  EXPECT_EQ(record.totalPlayMs, 50100u);
}

TEST(FrameStateTest, SystemCommandsThatPause) {
  struct Row {
    MgHostState state;
    unsigned command;
    bool pauses;
  } rows[] = {
      {kMgIdle, 0xF010, true},     {kMgRunning, 0xF010, true},  {kMgPaused, 0xF010, false},  // SC_MOVE
      {kMgRunning, 0xF012, true},                                                          // by the caption
      {kMgRunning, 0xF090, true},  {kMgIdle, 0xF093, true},     {kMgPaused, 0xF090, false},  // SC_MOUSEMENU
      {kMgRunning, 0xF020, false}, {kMgRunning, 0xF060, false}, {kMgRunning, 0xF100, false},  // minimise, close, keymenu
  };
  for (const Row& r : rows)
    EXPECT_EQ(shell::SystemCommandPauses(r.state, r.command), r.pauses)
        << "state " << r.state << " command " << std::hex << r.command;
}

TEST(FrameStateTest, TickCheck) {
  struct Row {
    uint32_t now, last, interval;
    bool due;
  } rows[] = {
      {100, 100, 0, false}, {101, 100, 0, true},  // interval 0: once the clock moved on
      {110, 100, 10, false}, {111, 100, 10, true},  // interval 10: at most every 11 ms
      {5, 0xFFFFFFF0u, 0, true},                    // across the wrap
      {0xFFFFFFF0u, 0xFFFFFFF0u, 0, false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(shell::TickDue(r.now, r.last, r.interval), r.due) << r.now << " " << r.last << " " << r.interval;
}

TEST(FrameStateTest, HelpPath) {
  struct Row {
    const wchar_t* exe;
    const wchar_t* help;
  } rows[] = {
      {L"C:\\Games\\rodeo.exe", L"C:\\Games\\rodeo.html"},
      {L"C:\\Games\\rodeo.v2\\rodeo", L"C:\\Games\\rodeo.html"},  // the last '.' of the whole path
      {L"C:\\Games\\rodeo", L"C:\\Games\\rodeo.html"},
      {L"C:\\Games\\rodeo.tar.exe", L"C:\\Games\\rodeo.tar.html"},
      {L"C:\\ゲーム\\ロデオ.exe", L"C:\\ゲーム\\ロデオ.html"},
  };
  for (const Row& r : rows) EXPECT_EQ(shell::HelpPathFor(r.exe), r.help);
  // A path that no longer fits the 260-character buffer gives no help path.
  std::wstring longDir(250, L'a');
  EXPECT_EQ(shell::HelpPathFor(L"C:\\" + longDir + L"\\r"), L"");
  std::wstring fits = L"C:\\" + std::wstring(249, L'a') + L".exe";  // 256 + ".html" - ".exe" = 254
  EXPECT_EQ(shell::HelpPathFor(fits).size(), fits.size() + 1);
}

TEST(FrameStateTest, WindowHandleInTheSharedPage) {
  struct Row {
    uintptr_t handle;
    uint32_t word;
  } rows[] = {{0x00010064u, 0x00010064u}, {0, 0}, {0x7FFFFFFFu, 0x7FFFFFFFu}};
  for (const Row& r : rows) {
    EXPECT_EQ(shell::HandleToPageWord(r.handle), r.word);
    EXPECT_EQ(shell::HandleFromPageWord(r.word), r.handle);
  }
  // A handle with bit 31 set comes back sign-extended, as the system hands it out.
  EXPECT_EQ(shell::HandleFromPageWord(0xFFFF1234u), static_cast<uintptr_t>(static_cast<intptr_t>(-0xEDCC)));
}

TEST(FrameStateTest, OuterSizeGivesTheViewAndTheBar) {
  // A caption of 23 and borders of 3: the client area is exactly 400 x 336.
  shell::OuterSize s = shell::FrameOuterSize(400, 300, 200, 150, 194, 124);
  EXPECT_EQ(s.width, 406);
  EXPECT_EQ(s.height, 362);
}

}  // namespace
