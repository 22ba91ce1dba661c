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
  uint8_t runFlags;   // 1: runs in run mode 0; 2: runs in the other mode
};

extern klTask* klCurTask;        // the task whose step is running (or ran last)
extern int16_t* klCurTaskStep;   // its step index: a step writes here to choose its successor
extern void* klCurTaskWork;      // its work area
extern int klRunMode;            // 0 selects run flag 1, anything else run flag 2

void klTaskInit();                               // empty list, count 0, run mode 0
// Returns the new task's work area. Out of memory or a priority outside 16..32766
// is fatal (klError); the caller then gets a scratch area that belongs to no task.
void* klTaskCreate(const klStepFn* table, int16_t priority, uint8_t runFlags, int16_t workSize);
int klTaskDelete(klTask* task);                  // 1 deleted, 0 if it has no step table
void klTaskDeleteSelf();                         // step-table entry: deletes klCurTask
void klTaskRunAll();                             // nothing runs while the host state is 2
int klTaskCount();
klTask* klTaskHead();
void klTaskSetHeadTable(const klStepFn* table);  // Init gives the head the boot table

void EmptyStep();
void BootStep();  // head task's first step: builds the game scene, then idles
