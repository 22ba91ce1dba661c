// The task scheduler: every moving thing is a task, a table of step functions
// with a step index and a private work area, kept in one list sorted by priority.
// klTaskRunAll runs the current step of every task once per engine step (Tick).
#pragma once

#include <cstdint>

typedef void (*klStepFn)();

struct klTask {
  const klStepFn* stepTable;
  klTask* prev;
  klTask* next;
  int16_t step;       // index of the step that runs next
  int16_t priority;   // created tasks 16..32766; head 0, tail 32767
  void* work;         // allocated at creation with the creator's size, not cleared
  uint8_t runFlags;   // KL_RUN_* bits: in which run modes the task's steps run
};

// Run flags of a task.
enum : uint8_t {
  KL_RUN_MODE_ZERO = 1,    // runs while klRunMode is 0 (the game's tasks)
  KL_RUN_OTHER_MODES = 2,  // runs while klRunMode is anything else
  KL_RUN_ALWAYS = 3,       // both (the list's head and tail)
};

extern klTask* klCurTask;        // the task whose step is running (or ran last)
extern int16_t* klCurTaskStep;   // its step index: a step writes here to choose its successor
extern void* klCurTaskWork;      // its work area
extern int klRunMode;            // 0 selects KL_RUN_MODE_ZERO, anything else KL_RUN_OTHER_MODES

void klTaskInit();                               // empty list, count 0, run mode 0
// Returns the new task's work area. Out of memory or a priority outside 16..32766
// is fatal (klError); the caller then gets a scratch area that belongs to no task,
// as it does after any fatal error.
void* klTaskCreate(const klStepFn* table, int16_t priority, uint8_t runFlags, int16_t workSize);
int klTaskDelete(klTask* task);                  // 1 deleted, 0 if it has no step table
void klTaskDeleteSelf();                         // step-table entry: deletes klCurTask
// One pass over the list. Nothing runs while the host state is kMgPaused; the pass
// ends at once after a fatal error (klError), even in the middle.
void klTaskRunAll();
int klTaskCount();
klTask* klTaskHead();
void klTaskSetHeadTable(const klStepFn* table);  // Init gives the head the boot table

void EmptyStep();
// The head task's first step: runs the game's scene build once, then idles.
void BootStep();
// The game's scene build, run by BootStep on the first engine step after Init.
// The game registers it when it creates the module (CreateMgGame); null: none.
void klSetBootScene(void (*build)());
