// Where the rodeo's pictures lie on the four sheets and where its sprites go in
// the 400 x 300 view: the contract between the code and the art. Rectangles are
// left, top, right, bottom with right and bottom exclusive.
#pragma once

#include <cstdint>

struct RodeoRect {
  int32_t left, top, right, bottom;
};

// partsSheet
constexpr RodeoRect kTitleRect{0, 0, 400, 300};
constexpr RodeoRect kBigDigitRect{0, 301, 33, 338};    // digit d: left 34d
constexpr int kBigDigitPitch = 34;
constexpr RodeoRect kSmallDigitRect{0, 339, 26, 368};  // digit d: left 27d
constexpr int kSmallDigitPitch = 27;
constexpr RodeoRect kPointRect{270, 339, 278, 368};
constexpr RodeoRect kSecRect{278, 339, 334, 368};
constexpr RodeoRect kReadyRect{0, 369, 364, 425};
constexpr RodeoRect kGoRect{0, 426, 364, 482};
constexpr RodeoRect kCursorRect{0, 483, 16, 499};
constexpr RodeoRect kCursorHeldRect{17, 483, 33, 499};
constexpr RodeoRect kCaptionRect{152, 483, 268, 499};
constexpr RodeoRect kDustRect{0, 500, 76, 563};   // frame n: left 77n
constexpr int kDustPitch = 77;
constexpr RodeoRect kSnortRect{0, 564, 47, 599};  // frame k: left 48k
constexpr int kSnortPitch = 48;

// cowSheet: frames of 216 x 195 at a pitch of 196 rows; 0-1 standing, 2-5
// rearing levels 0-3, 6-9 kicking levels 0-3.
constexpr int kCowFrameWidth = 216;
constexpr int kCowFrameHeight = 195;
constexpr int kCowFramePitch = 196;
constexpr int kCowRearFrame = 2;
constexpr int kCowKickFrame = 6;
constexpr RodeoRect kRopeDotRect{94, 1302, 97, 1305};
constexpr int kCowHomeX = 105;  // the cow's resting position
constexpr int kCowHomeY = 100;

// bgSheet: three 400 x 350 panels stacked; side by side they join seamlessly.
constexpr int kPanelWidth = 400;
constexpr int kPanelHeight = 350;
constexpr int kBackdropWidth = 1200;

// pomulSheet: the falling frames (n = 0, 1, 2 at left 123n) and the lying
// pose of each side.
constexpr int kFallFramePitch = 123;
constexpr RodeoRect kFallPositiveRect{0, 345, 122, 441};
constexpr RodeoRect kLiePositiveRect{0, 442, 122, 538};
constexpr RodeoRect kFallNegativeRect{0, 539, 122, 623};
constexpr RodeoRect kLieNegativeRect{0, 624, 122, 708};

// One row per rider pose: row 0 upright (left 72f for upright frame f), row 1
// the second upright frame, rows 2-5 leans +1..+4, rows 6-9 leans -1..-4.
struct PoseRow {
  int32_t left, top, width, height, seatX, seatY;
};
constexpr PoseRow PoseTable[10] = {
    {0, 0, 71, 120, 31, 119},    {72, 0, 71, 120, 103, 119},  {144, 0, 82, 118, 169, 117},
    {227, 0, 82, 118, 251, 117}, {0, 121, 93, 108, 17, 228},  {94, 121, 93, 108, 111, 228},
    {89, 230, 88, 114, 150, 343}, {0, 230, 88, 114, 61, 343}, {282, 230, 103, 102, 365, 331},
    {178, 230, 103, 102, 261, 331},
};
constexpr int kUprightPitch = 72;

struct LayoutPoint {
  int32_t x, y;
};
// Where the rope meets the rider, per PoseTable row, in sheet coordinates.
constexpr LayoutPoint HandTable[10] = {{2, 75},    {73, 75},   {148, 53},  {231, 53},  {13, 160},
                                       {106, 160}, {100, 298}, {11, 298},  {308, 302}, {203, 301}};
// Where the rope meets the cow, relative to the cow's resting position, per pitch index.
constexpr LayoutPoint AnchorTable[9] = {{90, 68}, {90, 69}, {83, 79}, {85, 80}, {77, 94},
                                        {67, 92}, {68, 93}, {60, 97}, {61, 97}};

// The digit row along the top: three big digits, the point, three small digits, "sec".
constexpr int kBigDigitX = 76;
constexpr int kBigDigitY = 1;
constexpr int kPointX = 178;
constexpr int kPointY = 8;
constexpr int kSmallDigitX = 186;
constexpr int kSmallDigitY = 8;
constexpr int kSecX = 267;
constexpr int kSecY = 8;

constexpr int kRopeDots = 30;
