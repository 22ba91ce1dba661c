// Inspection hooks of the headless media stand-in, for tests.
#pragma once

#include <string>
#include <vector>

struct HeadlessBlit {
  bool stretched;
  int x, y, object, srcLeft, srcTop, srcRight, srcBottom, width, height;
};

struct HeadlessMediaLog {
  int inits = 0;
  int releases = 0;
  int flips = 0;
  int clears = 0;
  std::vector<HeadlessBlit> blits;  // since the last reset
  std::vector<int> reloadedSlots;
  std::vector<std::string> soundsPlayed;
};

HeadlessMediaLog& headlessMediaLog();
void headlessMediaReset();  // empties the log and the tables, as at process start
