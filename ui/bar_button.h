// CBarButton: a picture button of the control bar that names itself in the hover
// label (its control id is the label's string id) 250 ms after the pointer came.
#pragma once

#include "ui/flex_button.h"

class CBarButton : public CFlexButton {
 public:
  static constexpr UINT kLabelDelayMs = 250;

 protected:
  void OnHoverEnter() override;
  void OnHoverLeave() override;
};
