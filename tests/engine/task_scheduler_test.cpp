#include <string>
#include <vector>

#include "support/engine_fixture.h"

namespace {
int bootCount = 0;  // how often the boot step ran the (empty) scene build
void CountBoot() { ++bootCount; }
}  // namespace

namespace {

// Each step appends its task's tag (the first byte of its work area) to the trace.
std::string trace;
void TagStep() { trace += *static_cast<char*>(klCurTaskWork); }
const klStepFn kTagTable[] = {TagStep};

void* CreateTagged(char tag, int16_t priority, uint8_t flags = 1) {
  void* work = klTaskCreate(kTagTable, priority, flags, 1);
  *static_cast<char*>(work) = tag;
  return work;
}

void DeleteSelfStep() {
  trace += 'D';
  klTaskDeleteSelf();
}
const klStepFn kDeleteSelfTable[] = {DeleteSelfStep};

void SpawnStep() {
  trace += 'S';
  // One task behind the spawner (same priority) and one in front of it.
  CreateTagged('+', klCurTask->priority);
  CreateTagged('-', static_cast<int16_t>(klCurTask->priority - 1));
  *klCurTaskStep = 1;
}
const klStepFn kSpawnTable[] = {SpawnStep, EmptyStep};

class TaskScheduler : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    DeleteAllTasks();
    klTaskInit();  // no boot table: only the tasks a test creates run
    trace.clear();
  }
};

TEST_F(TaskScheduler, RunsInPriorityThenCreationOrder) {
  CreateTagged('C', 257);
  CreateTagged('A', 256);
  CreateTagged('B', 256);
  klTaskRunAll();
  EXPECT_EQ(trace, "ABC");
  std::vector<int> priorities;
  for (klTask* t = klTaskHead(); t; t = t->next) priorities.push_back(t->priority);
  EXPECT_EQ(priorities, (std::vector<int>{0, 256, 256, 257, 32767}));
  EXPECT_EQ(klTaskCount(), 3);
}

TEST_F(TaskScheduler, TaskDeletingItselfLetsItsSuccessorRunInTheSamePass) {
  CreateTagged('A', 100);
  klTaskCreate(kDeleteSelfTable, 200, 1, 4);
  CreateTagged('B', 300);
  klTaskRunAll();
  EXPECT_EQ(trace, "ADB");
  EXPECT_EQ(klTaskCount(), 2);
  trace.clear();
  klTaskRunAll();
  EXPECT_EQ(trace, "AB");
}

TEST_F(TaskScheduler, TaskCreatedDuringAPassRunsThenOnlyIfNotInFront) {
  klTaskCreate(kSpawnTable, 500, 1, 0);
  klTaskRunAll();
  EXPECT_EQ(trace, "S+");
  trace.clear();
  klTaskRunAll();
  EXPECT_EQ(trace, "-+");
}

TEST_F(TaskScheduler, NothingRunsWhileTheHostIsPaused) {
  CreateTagged('A', 100);
  host.state = 2;
  klTaskRunAll();
  EXPECT_EQ(trace, "");
  host.state = 1;
  klTaskRunAll();
  EXPECT_EQ(trace, "A");
}

TEST_F(TaskScheduler, RunModeSelectsTheRunFlag) {
  CreateTagged('1', 100, 1);
  CreateTagged('2', 100, 2);
  CreateTagged('3', 100, 3);
  klTaskRunAll();
  EXPECT_EQ(trace, "13");
  trace.clear();
  klRunMode = 5;
  klTaskRunAll();
  EXPECT_EQ(trace, "23");
  klRunMode = 0;
}

TEST_F(TaskScheduler, DeletingARecordWithoutStepTableChangesNothing) {
  klTask orphan{};
  EXPECT_EQ(klTaskDelete(&orphan), 0);
  EXPECT_EQ(klTaskCount(), 0);
}

TEST_F(TaskScheduler, CreationFailuresAreReportedAndHarmless) {
  struct Case {
    int16_t priority;
    int allocsBeforeFailure;
    const char* message;
  };
  const Case cases[] = {
      {15, -1, "klTaskCreate : priority out of range"},
      {32767, -1, "klTaskCreate : priority out of range"},
      {100, 0, "klTaskCreate : out of memory"},  // the record
      {100, 1, "klTaskCreate : out of memory"},  // the work area
  };
  for (const Case& c : cases) {
    sys.errors.clear();
    klFatalReset();  // each as the first error of a run
    sys.allocsBeforeFailure = c.allocsBeforeFailure;
    char* work = static_cast<char*>(klTaskCreate(kTagTable, c.priority, 1, 32767));
    sys.allocsBeforeFailure = -1;
    ASSERT_NE(work, nullptr);
    work[0] = 'X';
    work[32766] = 'X';  // the caller may fill the whole area it asked for
    ASSERT_EQ(sys.errors.size(), 1u) << c.priority;
    EXPECT_EQ(sys.errors[0], c.message);
    EXPECT_EQ(klTaskCount(), 0);
  }
  EXPECT_EQ(sys.closePosts, 4);
  EXPECT_EQ(sys.quits, 4);
  klTaskRunAll();
  EXPECT_EQ(trace, "");
}

TEST_F(TaskScheduler, BootStepBuildsTheSceneOnceOnTheFirstEngineStep) {
  // Init (in the fixture) gave the head the boot table; klTaskInit above took it away.
  game->Shutdown();
  delete game;
  game = new CMgEngine;
  ASSERT_EQ(game->Init(), 0);
  klSetBootScene(CountBoot);
  bootCount = 0;
  TickAt(sys.time);
  TickAt(sys.time + 16);
  TickAt(sys.time + 16);
  EXPECT_EQ(bootCount, 1);
  EXPECT_EQ(klTaskHead()->step, 1);
  klSetBootScene(nullptr);
}

}  // namespace
