// The real Windows system services for tests under Wine, with the parts that would
// block or close the test program (the fatal-error box, the closing) only recorded.
#pragma once

#include <string>
#include <vector>

#include "core/win32/win32_system.h"

class QuietWin32System : public Win32System {
 public:
  std::vector<std::string> errors;
  void ErrorBox(KlWindow, const char* text) override { errors.push_back(text); }
  void PostClose(KlWindow) override {}
  void QuitApplication(KlWindow, const char*) override {}
};
