// The picture button's and the control bar's arithmetic, as tables.
#include <gtest/gtest.h>

#include "ui/bar_layout.h"
#include "ui/flex_button_logic.h"

namespace {

using namespace flex;

TEST(FlexButtonKind, ComesFromTheLowByteOfTheStyle) {
  struct Case {
    uint32_t style;
    int kind;
  } cases[] = {
      {0x0, kPush},          {0x1, kPush},          {0x2, kCheckBox}, {0x3, kCheckBox},
      {0x1003, kCheckBox},   {0x4, kRadio},         {0x9, kRadio},    {0x5, kPush},
      {0x6, kPush},          {0xB, kPush},          {0x50010004, kRadio},
  };
  for (const Case& c : cases) EXPECT_EQ(ButtonKindFromStyle(c.style), c.kind) << std::hex << c.style;
}

TEST(FlexButtonVisualState, FirstMatchingRowWins) {
  struct Case {
    bool enabled, capture, inside, pressed, checked;
    int state;
  } cases[] = {
      {false, true, true, true, true, kDisabled},  // disabled beats everything
      {false, false, false, false, false, kDisabled},
      {true, false, false, false, true, kChecked},
      {true, false, true, true, true, kChecked},  // without the capture, inside and pressed do not count
      {true, false, false, false, false, kNormal},
      {true, true, false, true, false, kOutside},
      {true, true, false, false, true, kOutside},
      {true, true, true, true, false, kPressed},
      {true, true, true, true, true, kPressed},
      {true, true, true, false, false, kHot},
      {true, true, true, false, true, kHot},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeVisualState(c.enabled, c.capture, c.inside, c.pressed, c.checked), c.state)
        << c.enabled << c.capture << c.inside << c.pressed << c.checked;
  }
}

TEST(FlexButtonContent, PictureAndCaptionArePlacedAsAGroup) {
  struct Case {
    int layout, w, h;
    Size picture, caption;
    Point pictureAt, captionAt;
  } cases[] = {
      // The send button: 16 x 16 icon left of a 24 x 12 caption in 75 x 25.
      // m = (75 - 16 - 24 - 5) / 2 = 15.
      {kPictureLeft, 75, 25, {16, 16}, {24, 12}, {15, 4}, {36, 6}},
      // Caption left of the picture (any value without the vertical bit).
      {0, 75, 25, {16, 16}, {24, 12}, {44, 4}, {15, 6}},
      {7, 75, 25, {16, 16}, {24, 12}, {44, 4}, {15, 6}},
      // Picture above: m = (60 - 16 - 12 - 3) / 2 = 14.
      {kPictureAbove, 40, 60, {16, 16}, {24, 12}, {12, 14}, {8, 33}},
      // Caption above: any other value with 0x1000.
      {0x1002, 40, 60, {16, 16}, {24, 12}, {12, 29}, {8, 14}},
      // Picture only, centred; odd remainders truncate.
      {kPictureLeft, 34, 30, {24, 24}, {0, 0}, {5, 3}, {0, 0}},
      {kPictureLeft, 35, 31, {24, 24}, {0, 0}, {5, 3}, {0, 0}},
      // Caption only, centred.
      {kPictureLeft, 50, 14, {0, 0}, {25, 12}, {0, 0}, {12, 1}},
      // A group wider than the button starts left of it: m = -25 / 2 = -12 (towards zero).
      {kPictureLeft, 20, 20, {16, 16}, {24, 12}, {-12, 2}, {9, 4}},
  };
  for (const Case& c : cases) {
    ContentPlacement p = PlaceContent(c.layout, c.w, c.h, c.picture, c.caption);
    if (c.picture.width) {
      EXPECT_EQ(p.picture.x, c.pictureAt.x) << std::hex << c.layout << " picture x";
      EXPECT_EQ(p.picture.y, c.pictureAt.y) << std::hex << c.layout << " picture y";
    }
    if (c.caption.width) {
      EXPECT_EQ(p.caption.x, c.captionAt.x) << std::hex << c.layout << " caption x";
      EXPECT_EQ(p.caption.y, c.captionAt.y) << std::hex << c.layout << " caption y";
    }
  }
}

TEST(FlexButtonContent, IsPushedWhilePressedOrWhileAToggleIsSet) {
  EXPECT_TRUE(ContentPushed(kPressed, kPush, false));
  EXPECT_TRUE(ContentPushed(kNormal, kCheckBox, true));
  EXPECT_TRUE(ContentPushed(kHot, kRadio, true));
  EXPECT_FALSE(ContentPushed(kChecked, kPush, true));
  EXPECT_FALSE(ContentPushed(kHot, kCheckBox, false));
  EXPECT_FALSE(ContentPushed(kOutside, kPush, false));
}

TEST(FlexButtonBorder, DependsOnStyleToggleAndState) {
  struct Case {
    FlexStyle flexStyle;
    int kind;
    bool checked;
    int state;
    Border border;
  } cases[] = {
      {kFlat, kPush, false, kNormal, Border::kNone},
      {kFlat, kPush, false, kDisabled, Border::kNone},
      {kThinRaised, kPush, false, kNormal, Border::kRaised},
      {kThinRaised, kPush, false, kDisabled, Border::kRaised},
      {kFlat, kPush, false, kHot, Border::kRaised},
      {kFlat, kPush, false, kOutside, Border::kRaised},
      {kFlat, kPush, false, kPressed, Border::kSunken},
      {kFlat, kPush, true, kChecked, Border::kNone},
      {kFlat, kCheckBox, true, kChecked, Border::kSunken},
      {kFlat, kCheckBox, true, kHot, Border::kSunken},
      {kThinRaised, kRadio, true, kNormal, Border::kSunken},
      {kFlat, kCheckBox, false, kNormal, Border::kNone},
      {kTwoLine, kPush, false, kNormal, Border::kDoubleRaised},
      {kTwoLine, kPush, false, kHot, Border::kDoubleRaised},
      {kTwoLine, kPush, false, kPressed, Border::kDoublePushed},
      {kTwoLine, kCheckBox, true, kChecked, Border::kDoublePushed},
      {kTwoLine, kPush, true, kChecked, Border::kDoubleRaised},
      {kNoBorder, kPush, false, kPressed, Border::kNone},
      {kNoBorder, kCheckBox, true, kChecked, Border::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseBorder(c.flexStyle, c.kind, c.checked, c.state), c.border)
        << "style " << c.flexStyle << " kind " << c.kind << " checked " << c.checked << " state "
        << c.state;
  }
}

TEST(FlexButtonColours, CheckedBackgroundIsLightenedFaceUnderAWhiteHighlight) {
  EXPECT_EQ(LightCheckColour(0xFFFFFF, 0xC0C0C0), 0xE0E0E0u);  // 255 - 63 / 2 = 224
  EXPECT_EQ(LightCheckColour(0xFFFFFF, 0xF0F0F0), 0xF8F8F8u);  // 255 - 15 / 2 = 248
  EXPECT_EQ(LightCheckColour(0xFFFFFF, 0x000000), 0x808080u);  // 255 - 127
  EXPECT_EQ(LightCheckColour(0xFFFFFF, 0x10C080), 0x88E0C0u);  // per channel
  EXPECT_EQ(LightCheckColour(0xFFFFFE, 0xC0C0C0), 0xFFFFFEu);  // not pure white: kept
}

TEST(BarLayout, ButtonsAndSeparatorsFollowEachOtherFromX5) {
  auto slots = bar::LayOutControls();
  const int lefts[] = {5, 39, 73, 107, 115, 149, 183, 217, 225};
  for (int i = 0; i < bar::kControlCount; ++i) {
    EXPECT_EQ(slots[i].rect.left, lefts[i]) << i;
    EXPECT_EQ(slots[i].rect.top, 4) << i;
    EXPECT_EQ(slots[i].rect.bottom, 34) << i;
    EXPECT_EQ(slots[i].separator, i == 3 || i == 7) << i;
    EXPECT_EQ(slots[i].rect.right - slots[i].rect.left, slots[i].separator ? 8 : 34) << i;
  }
  EXPECT_EQ(slots[8].rect.right, 259);
}

TEST(BarLayout, TheLogoKeepsToTheRightEdgeUntilItWouldNearTheExitButton) {
  struct Case {
    int width;
    bar::Point at;
  } cases[] = {
      {400, {273, 5}},  // the program's bar: 400 - 125 - 2
      {394, {267, 5}},  // a = b exactly: still at the edge
      {393, {267, 4}},  // one pixel narrower: beside the Exit button
      {100, {267, 4}},
  };
  for (const Case& c : cases) {
    bar::Point p = bar::LogoPosition(c.width, 125, 259);
    EXPECT_EQ(p.x, c.at.x) << c.width;
    EXPECT_EQ(p.y, c.at.y) << c.width;
  }
}

TEST(BarLayout, EtchedLinesRunAlongTheLongerSide) {
  bar::EtchedLines v = bar::EtchedLineCoordinates(8, 30);
  EXPECT_EQ(v.shadowFrom.x, 3);
  EXPECT_EQ(v.shadowFrom.y, 0);
  EXPECT_EQ(v.shadowTo.x, 3);
  EXPECT_EQ(v.shadowTo.y, 30);
  EXPECT_EQ(v.lightFrom.x, 4);
  EXPECT_EQ(v.lightTo.y, 30);
  bar::EtchedLines h = bar::EtchedLineCoordinates(30, 30);  // square: horizontal
  EXPECT_EQ(h.shadowFrom.y, 14);
  EXPECT_EQ(h.shadowTo.x, 30);
  EXPECT_EQ(h.lightFrom.y, 15);
}

TEST(HoverLabel, SitsBelowThePointersPicture) {
  // A one-bit mask of 32 x 64 holds a 32-pixel picture; a colour cursor's mask is
  // the picture's own height.
  EXPECT_EQ(bar::HoverLabelTop(100, 64, 1, 0), 132);
  EXPECT_EQ(bar::HoverLabelTop(100, 32, 32, 0), 132);
  EXPECT_EQ(bar::HoverLabelTop(100, 64, 1, 5), 127);
}

TEST(SlideIn, EachPictureReachesItsLeftEdgeWithinFifteenFrames) {
  const int targets[] = {5, 39, 73, 115, 149, 183, 225};
  for (int t : targets) {
    double p = 5;
    double speed = t / 15.0;
    int frames = 0;
    bool moved = true;
    while (true) {
      p = bar::SlideStep(p, t, speed, &moved);
      if (!moved) break;
      ++frames;
      ASSERT_LE(static_cast<int>(p), t);
    }
    EXPECT_EQ(p, t);
    EXPECT_LE(frames, 15) << t;
    EXPECT_EQ(frames == 0, t == 5) << "only Start starts at its place";
  }
}

TEST(SlideIn, PicturesTrembleAroundTheViewsCentre) {
  EXPECT_EQ(bar::TremblingX(400, 0), 117);
  EXPECT_EQ(bar::TremblingX(400, 4), 113);
  EXPECT_EQ(bar::TremblingY(300, 0), 111);
  EXPECT_EQ(bar::TremblingY(300, 4), 107);
}

}  // namespace
