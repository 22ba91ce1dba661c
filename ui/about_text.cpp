#include "ui/about_text.h"

#include <cstdio>

std::string AboutTitleLine(const std::string& title, const std::string& version) {
  return title + " Version" + version;
}

std::string FormatPlayTime(uint32_t t) {
  unsigned hours = t / 3600000u, minutes = t / 60000u % 60u, seconds = t / 1000u % 60u;
  char text[64];
  if (hours != 0)
    std::snprintf(text, sizeof text, "%u時間%u分%u秒", hours, minutes, seconds);
  else if (minutes != 0)
    std::snprintf(text, sizeof text, "%u分%u秒", minutes, seconds);
  else
    std::snprintf(text, sizeof text, "%u秒", seconds);
  return text;
}

std::string FormatClickCount(uint32_t totalClicks) {
  char text[32];
  std::snprintf(text, sizeof text, "%u回", static_cast<unsigned>(totalClicks));
  return text;
}
