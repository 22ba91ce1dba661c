#include "shell/single_instance.h"

#include <cstdint>
#include <cstring>

#include "shell/frame_state.h"

CSingleInstance::~CSingleInstance() {
  if (owns_ && mutex_) ReleaseMutex(mutex_.get());
  shared_.Close();
}

bool CSingleInstance::Acquire(const std::wstring& name, HWND mainWindow, bool activate) {
  std::wstring mutexName = name + L"Mutex";
  HANDLE mutex = CreateMutexW(nullptr, TRUE, mutexName.c_str());
  bool existed = GetLastError() == ERROR_ALREADY_EXISTS;  // read before anything else can set it
  mutex_.reset(mutex);
  if (!mutex_) return false;
  if (existed) {
    // Another copy runs: show its window instead.
    if (activate && shared_.Open(name)) {
      if (const void* page = shared_.Map()) {
        uint32_t word;
        std::memcpy(&word, page, sizeof word);
        HWND first = reinterpret_cast<HWND>(shell::HandleFromPageWord(word));
        if (IsIconic(first) == 1) {
          ShowWindow(first, SW_SHOWNORMAL);
        } else {
          SetForegroundWindow(first);
        }
        shared_.Unmap();
      }
    }
    return false;
  }
  // The first copy: publish the window (only into a section made just now).
  if (shared_.Create(name, 1) && shared_.GetState() == CSharedMemory::kCreated) {
    if (void* page = shared_.Map()) {
      uint32_t words[2] = {shell::HandleToPageWord(reinterpret_cast<uintptr_t>(mainWindow)), 0};
      std::memcpy(page, words, sizeof words);
      shared_.Unmap();
    }
  }
  owns_ = true;
  return true;
}
