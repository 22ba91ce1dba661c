#include "shell/shared_memory.h"

bool CSharedMemory::Create(const std::wstring& name, int pages) {
  Close();
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  DWORD size = info.dwPageSize * static_cast<DWORD>(pages);
  HANDLE handle = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str());
  if (!handle) return false;
  state_ = GetLastError() == ERROR_ALREADY_EXISTS ? kExisted : kCreated;
  handle_.reset(handle);
  name_ = name;
  return true;
}

bool CSharedMemory::Open(const std::wstring& name) {
  Close();
  HANDLE handle = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
  if (!handle) return false;
  state_ = kExisted;
  handle_.reset(handle);
  name_ = name;
  return true;
}

void* CSharedMemory::Map() {
  if (!view_ && handle_) view_ = MapViewOfFile(handle_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0);
  return view_;
}

void CSharedMemory::Unmap() {
  if (view_) UnmapViewOfFile(view_);
  view_ = nullptr;
}

bool CSharedMemory::Close() {
  if (state_ == kClosed) return false;
  handle_.reset();
  state_ = kClosed;
  return true;
}
