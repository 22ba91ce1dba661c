// Where the main window goes at start, as a table: a stored position (hostile ones
// included) and the monitors' work areas in, the window's top-left corner out.
#include "shell/window_placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using shell::PlaceWindow;
using shell::ScreenRect;

constexpr int kW = 406, kH = 361;  // the frame's outer size

const ScreenRect kPrimary{0, 0, 1920, 1040};        // a task bar of 40 pixels below
const ScreenRect kRight{1920, 0, 3840, 1080};       // a second monitor to its right
const ScreenRect kLeftLow{-1280, 200, 0, 1224};     // one to its left, lower down
const ScreenRect kTiny{0, 0, 320, 240};             // smaller than the window

struct Case {
  const char* what;
  int x, y;
  std::vector<ScreenRect> areas;
  int wantX, wantY;
};

TEST(WindowPlacementTest, Table) {
  const Case cases[] = {
      {"whole on the only monitor: kept", 309, 203, {kPrimary}, 309, 203},
      {"touching the work area's corners: kept", 1920 - kW, 1040 - kH, {kPrimary}, 1920 - kW, 1040 - kH},
      {"at the origin: kept", 0, 0, {kPrimary}, 0, 0},
      {"whole on the second monitor: kept", 3000, 500, {kPrimary, kRight}, 3000, 500},
      {"whole on a monitor at negative coordinates: kept", -1000, 300, {kPrimary, kLeftLow}, -1000, 300},
      {"the second monitor unplugged: onto the nearest, by the least move", 3000, 500, {kPrimary},
       1920 - kW, 500},
      {"partly off the right edge", 1800, 100, {kPrimary}, 1920 - kW, 100},
      {"partly under the task bar", 100, 900, {kPrimary}, 100, 1040 - kH},
      {"partly off the top-left", -50, -20, {kPrimary}, 0, 0},
      {"across two monitors: onto the one it covers most", 1600, 100, {kPrimary, kRight}, 1920 - kW, 100},
      {"across two monitors, mostly the second", 1900, 100, {kPrimary, kRight}, 1920, 100},
      {"in the gap beside the left monitor: onto it", -300, 50, {kPrimary, kLeftLow}, -kW, 200},
      {"far below everything: the closest monitor", 2500, 5000, {kPrimary, kRight}, 2500, 1080 - kH},
      {"INT_MIN, INT_MIN", INT_MIN, INT_MIN, {kPrimary}, 0, 0},
      {"INT_MAX, INT_MAX", INT_MAX, INT_MAX, {kPrimary}, 1920 - kW, 1040 - kH},
      {"INT_MAX, INT_MIN with two monitors", INT_MAX, INT_MIN, {kPrimary, kRight}, 3840 - kW, 0},
      {"INT_MIN, INT_MAX with the left monitor", INT_MIN, INT_MAX, {kPrimary, kLeftLow}, -1280, 1224 - kH},
      {"x + width would overflow", INT_MAX - 100, 10, {kPrimary}, 1920 - kW, 10},
      {"a work area smaller than the window: its top-left corner", 50, 50, {kTiny}, 0, 0},
      {"no monitor known: as stored", INT_MAX, INT_MIN, {}, INT_MAX, INT_MIN},
  };
  for (const Case& c : cases) {
    shell::ScreenPoint p = PlaceWindow(c.x, c.y, kW, kH, c.areas);
    EXPECT_EQ(p.x, c.wantX) << c.what;
    EXPECT_EQ(p.y, c.wantY) << c.what;
  }
}

// Whatever is stored, the window ends wholly inside one of the work areas.
TEST(WindowPlacementTest, AlwaysWhollyOnAMonitor) {
  const std::vector<ScreenRect> areas{kPrimary, kRight, kLeftLow};
  const int values[] = {INT_MIN, INT_MIN + 1, -100000, -1281, -1, 0, 1, 1919, 1920, 3839, 100000, INT_MAX - 1, INT_MAX};
  for (int x : values) {
    for (int y : values) {
      shell::ScreenPoint p = PlaceWindow(x, y, kW, kH, areas);
      bool whole = false;
      for (const ScreenRect& a : areas) {
        whole = whole || (p.x >= a.left && p.y >= a.top && int64_t{p.x} + kW <= a.right && int64_t{p.y} + kH <= a.bottom);
      }
      EXPECT_TRUE(whole) << x << ", " << y << " -> " << p.x << ", " << p.y;
    }
  }
}

}  // namespace
