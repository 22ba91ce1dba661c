// CSharedMemory: a named section of shared memory backed by the page file, through
// which the first copy of the program tells later copies its main window.
#pragma once

#include <windows.h>

#include <string>

#include "core/win32/handle_owners.h"

class CSharedMemory {
 public:
  static constexpr int kClosed = 0;
  static constexpr int kCreated = 1;  // this call made the section
  static constexpr int kExisted = 2;  // the section was there already (opened, or created again)

  CSharedMemory() = default;
  ~CSharedMemory() { Close(); }  // the view, if still mapped, goes with the process
  CSharedMemory(const CSharedMemory&) = delete;
  CSharedMemory& operator=(const CSharedMemory&) = delete;

  // A read-write section of pages x the system page size; false on failure.
  bool Create(const std::wstring& name, int pages);
  // An existing section; false when there is none or it cannot be opened.
  bool Open(const std::wstring& name);
  // The whole section's view, mapped once; null when it cannot be mapped.
  void* Map();
  void Unmap();
  // False when already closed.
  bool Close();

  int GetState() const { return state_; }

 private:
  int state_ = kClosed;
  void* view_ = nullptr;
  win32::KernelHandle handle_;
  std::wstring name_;  // remembered on Create and Open
};
