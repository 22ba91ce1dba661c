// CSingleInstance: lets only one copy of the program run. The first copy holds a
// named mutex for its whole life and publishes its main window in a shared page; a
// later copy finds the mutex taken, brings that window to the front (restoring it
// when minimised) and is told to end.
#pragma once

#include <windows.h>

#include <string>

#include "core/win32/handle_owners.h"
#include "shell/shared_memory.h"

class CSingleInstance {
 public:
  CSingleInstance() = default;
  ~CSingleInstance();
  CSingleInstance(const CSingleInstance&) = delete;
  CSingleInstance& operator=(const CSingleInstance&) = delete;

  // name: the game's code; the mutex is name + "Mutex", the shared page name.
  // True when this process may run; false when it must end (another copy runs,
  // or the mutex cannot be made).
  bool Acquire(const std::wstring& name, HWND mainWindow, bool activate);

 private:
  win32::KernelHandle mutex_;  // kept open, owned or not, until the guard goes
  bool owns_ = false;
  CSharedMemory shared_;
};
