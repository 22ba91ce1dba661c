// Where the main window goes at start: the position stored in the record, unless
// that would leave the window not wholly on a monitor (a monitor unplugged since
// the last run, a changed resolution, a hostile record). Plain arithmetic on the
// monitors' work areas, which the frame reads from the system; tested natively.
#pragma once

#include <vector>

namespace shell {

struct ScreenRect {
  int left, top, right, bottom;  // right and bottom exclusive, screen pixels
};

struct ScreenPoint {
  int x, y;
};

// The window's top-left corner for a window of width x height stored at (x, y):
// kept when the whole window lies in some monitor's work area; otherwise moved by
// the least distance that puts it whole into the work area of the nearest monitor
// (the one it overlaps most, or, overlapping none, the closest), or to that area's
// top-left corner when it is larger than the area. Any int is a valid stored value
// (width and height are not negative); nothing overflows. With no work area known
// the stored position is kept.
ScreenPoint PlaceWindow(int x, int y, int width, int height, const std::vector<ScreenRect>& workAreas);

}  // namespace shell
