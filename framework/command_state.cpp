#include "framework/command_state.h"

void CCommandState::Enable(bool enabled) {
  if (!control_) return;
  if ((IsWindowEnabled(control_) != FALSE) != enabled) EnableWindow(control_, enabled);
}

void CCommandState::SetCheck(int check) {
  if (control_) SendMessageW(control_, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}
