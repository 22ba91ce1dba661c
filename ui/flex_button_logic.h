// The picture button's decisions, apart from any window: which of the six looks it
// shows, where its picture and caption go, which border it gets, and its colours.
// Used by CFlexButton (flex_button.h); pure, so it is tested natively.
#pragma once

#include <cstdint>

namespace flex {

// Looks, each with an image slot of its own (the picture falls back to slot 0).
enum VisualState : int {
  kNormal = 0,    // not hot
  kHot = 1,       // the pointer is over it (the button holds the capture)
  kPressed = 2,   // held down with the pointer inside
  kOutside = 3,   // held down, the pointer dragged outside
  kChecked = 4,   // a check box or radio button that is set, not hot
  kDisabled = 5,
};

// Button kinds, from the low byte of a BUTTON control's style.
enum ButtonKind : int { kPush = 0, kCheckBox = 1, kRadio = 2 };
int ButtonKindFromStyle(uint32_t style);

int ComputeVisualState(bool enabled, bool hasCapture, bool pointerInside, bool pressed,
                       bool isChecked);

// contentLayout values: picture left of the caption, picture above the caption;
// other values with kVerticalBit: caption above; others: caption left.
constexpr int kPictureLeft = 1;
constexpr int kPictureAbove = 0x1001;
constexpr int kVerticalBit = 0x1000;

struct Size {
  int width;
  int height;
};
struct Point {
  int x;
  int y;
};

// Where the picture and the caption go in a W x H button. An empty size (0 x 0)
// means that part is absent; its position is then meaningless.
struct ContentPlacement {
  Point picture;
  Point caption;
};
ContentPlacement PlaceContent(int layout, int width, int height, Size picture, Size caption);

// Content moves one pixel right and down while pressed, or while checked.
bool ContentPushed(int visualState, int buttonKind, bool isChecked);

// flexStyle: the button's border when nothing else decides it.
enum FlexStyle : int {
  kFlat = 0,        // none until hot or pressed
  kThinRaised = 1,  // one raised line, also at rest
  kTwoLine = 2,     // the two-line border, raised or pushed
  kNoBorder = 3,    // never a border
};

// The border a button draws: none, one line (raised or sunken), or the two-line
// border of kTwoLine (raised or pushed).
enum class Border { kNone, kRaised, kSunken, kDoubleRaised, kDoublePushed };
Border ChooseBorder(FlexStyle flexStyle, int buttonKind, bool isChecked, int visualState);

// The background of a checked button: the highlight colour, or, when that is pure
// white, the face colour lightened half way to white. Colours are 0x00BBGGRR.
uint32_t LightCheckColour(uint32_t highlight, uint32_t face);

}  // namespace flex
