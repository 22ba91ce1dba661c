// CEtchedLine: a static control of the bar drawn as a two-pixel etched line (shadow,
// then highlight), vertical when the control is narrower than tall.
#pragma once

#include "framework/window.h"

class CEtchedLine : public CWnd {
 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
