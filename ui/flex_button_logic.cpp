#include "ui/flex_button_logic.h"

namespace flex {

int ButtonKindFromStyle(uint32_t style) {
  switch (style & 0xFF) {
    case 2:  // BS_CHECKBOX
    case 3:  // BS_AUTOCHECKBOX
      return kCheckBox;
    case 4:  // BS_RADIOBUTTON
    case 9:  // BS_AUTORADIOBUTTON
      return kRadio;
    default:
      return kPush;
  }
}

int ComputeVisualState(bool enabled, bool hasCapture, bool pointerInside, bool pressed,
                       bool isChecked) {
  if (!enabled) return kDisabled;
  if (!hasCapture) return isChecked ? kChecked : kNormal;
  if (!pointerInside) return kOutside;
  return pressed ? kPressed : kHot;
}

ContentPlacement PlaceContent(int layout, int width, int height, Size picture, Size caption) {
  bool hasPicture = picture.width > 0 || picture.height > 0;
  bool hasCaption = caption.width > 0 || caption.height > 0;
  ContentPlacement p{{0, 0}, {0, 0}};
  auto centred = [&](Size s) { return Point{(width - s.width) / 2, (height - s.height) / 2}; };
  if (hasPicture && hasCaption) {
    if (layout & kVerticalBit) {
      int m = (height - picture.height - caption.height - 3) / 2;
      p.picture.x = (width - picture.width) / 2;
      p.caption.x = (width - caption.width) / 2;
      if (layout == kPictureAbove) {
        p.picture.y = m;
        p.caption.y = m + picture.height + 3;
      } else {
        p.caption.y = m;
        p.picture.y = m + caption.height + 3;
      }
    } else {
      int m = (width - picture.width - caption.width - 5) / 2;
      p.picture.y = (height - picture.height) / 2;
      p.caption.y = (height - caption.height) / 2;
      if (layout == kPictureLeft) {
        p.picture.x = m;
        p.caption.x = m + picture.width + 5;
      } else {
        p.caption.x = m;
        p.picture.x = m + caption.width + 5;
      }
    }
  } else if (hasCaption) {
    p.caption = centred(caption);
  } else if (hasPicture) {
    p.picture = centred(picture);
  }
  return p;
}

bool ContentPushed(int visualState, int buttonKind, bool isChecked) {
  return visualState == kPressed || (buttonKind != kPush && isChecked);
}

Border ChooseBorder(FlexStyle flexStyle, int buttonKind, bool isChecked, int visualState) {
  bool checkedToggle = buttonKind != kPush && isChecked;
  if (flexStyle == kNoBorder) return Border::kNone;
  if (flexStyle == kTwoLine)
    return (checkedToggle || visualState == kPressed) ? Border::kDoublePushed : Border::kDoubleRaised;
  if (checkedToggle) return Border::kSunken;
  switch (visualState) {
    case kNormal:
    case kDisabled:
      return flexStyle == kThinRaised ? Border::kRaised : Border::kNone;
    case kHot:
    case kOutside:
      return Border::kRaised;
    case kPressed:
      return Border::kSunken;
    default:  // kChecked without a checked toggle: an owner set isChecked on a push button
      return Border::kNone;
  }
}

uint32_t LightCheckColour(uint32_t highlight, uint32_t face) {
  if ((highlight & 0xFFFFFF) != 0xFFFFFF) return highlight;
  uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t c = (face >> shift) & 0xFF;
    result |= (255 - (255 - c) / 2) << shift;
  }
  return result;
}

}  // namespace flex
