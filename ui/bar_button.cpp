#include "ui/bar_button.h"

#include "ui/hover_label.h"

void CBarButton::OnHoverEnter() { ShowHoverLabel(hwnd_, -1, kLabelDelayMs); }

void CBarButton::OnHoverLeave() { HideHoverLabel(); }
