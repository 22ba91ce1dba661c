#include "engine/kl_task.h"

#include "engine/kl_engine.h"
#include "core/kl_system.h"

klTask* klCurTask = nullptr;
int16_t* klCurTaskStep = nullptr;
void* klCurTaskWork = nullptr;
int klRunMode = 0;

namespace {

const klStepFn kEmptyTable[] = {EmptyStep, EmptyStep};
void (*bootScene)() = nullptr;
klTask head;
klTask tail;
int taskCount = 0;

// What a caller writes into when its task could not be made: large enough for
// any 16-bit work size, so the caller's stores are harmless after the fatal box.
alignas(16) unsigned char orphanWork[32768];

}  // namespace

void EmptyStep() {}

void BootStep() {
  if (bootScene) bootScene();
  ++*klCurTaskStep;
}

void klSetBootScene(void (*build)()) { bootScene = build; }

void klTaskInit() {
  head = klTask{kEmptyTable, nullptr, &tail, 0, 0, nullptr, KL_RUN_ALWAYS};
  tail = klTask{kEmptyTable, &head, nullptr, 0, 32767, nullptr, KL_RUN_ALWAYS};
  klCurTask = nullptr;
  klCurTaskStep = nullptr;
  klCurTaskWork = nullptr;
  taskCount = 0;
  klRunMode = 0;
}

void klTaskSetHeadTable(const klStepFn* table) { head.stepTable = table; }

klTask* klTaskHead() { return &head; }

int klTaskCount() { return taskCount; }

void* klTaskCreate(const klStepFn* table, int16_t priority, uint8_t runFlags, int16_t workSize) {
  if (klFatalRaised()) return orphanWork;  // closing: nothing new is made
  if (priority < 16 || priority > 32766) {
    klError("klTaskCreate", "priority out of range");
    return orphanWork;
  }
  KlSystem* sys = klSystem();
  size_t bytes = workSize > 0 ? static_cast<size_t>(workSize) : 0;
  klTask* task = static_cast<klTask*>(sys->Alloc(sizeof(klTask), false));
  void* work = task ? sys->Alloc(bytes, false) : nullptr;
  if (!task || !work) {
    if (task) sys->Free(task);
    klError("klTaskCreate", "out of memory");
    return orphanWork;
  }
  klTask* at = head.next;
  while (at != &tail && at->priority <= priority) at = at->next;
  task->prev = at->prev;
  task->next = at;
  at->prev->next = task;
  at->prev = task;
  task->stepTable = table;
  task->step = 0;
  task->priority = priority;
  task->work = work;
  task->runFlags = runFlags;
  ++taskCount;
  return work;
}

int klTaskDelete(klTask* task) {
  if (!task->stepTable) return 0;
  task->prev->next = task->next;
  task->next->prev = task->prev;
  // The running pass continues with whatever followed the deleted task.
  if (task == klCurTask) klCurTask = task->prev;
  KlSystem* sys = klSystem();
  sys->Free(task->work);
  sys->Free(task);
  --taskCount;
  return 1;
}

void klTaskDeleteSelf() { klTaskDelete(klCurTask); }

void klTaskRunAll() {
  CMgHost* host = GetMgHost();
  if (klFatalRaised() || (host && host->GetState() == kMgPaused)) return;
  const uint8_t bit = klRunMode == 0 ? KL_RUN_MODE_ZERO : KL_RUN_OTHER_MODES;
  // A step that raised a fatal error ends the pass: the program is closing, and the
  // tasks after it must not run on a half-made scene.
  for (klTask* cur = &head; cur && !klFatalRaised(); cur = klCurTask->next) {
    klCurTask = cur;
    klCurTaskStep = &cur->step;
    klCurTaskWork = cur->work;
    if (cur->runFlags & bit) cur->stepTable[cur->step]();
  }
}
