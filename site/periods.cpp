#include "site/periods.h"

#include <cstdio>
#include <ctime>

namespace site {
namespace {

constexpr int64_t kJapanOffset = 9 * 3600;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::tm JapanCalendar(int64_t unixSeconds) {
  std::time_t t = static_cast<std::time_t>(unixSeconds + kJapanOffset);
  std::tm tm{};
  gmtime_r(&t, &tm);
  return tm;
}

std::string DateDigits(int64_t japanDay) {
  std::tm tm = JapanCalendar(japanDay * 86400 - kJapanOffset);
  char text[48];
  std::snprintf(text, sizeof text, "%04d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  return text;
}

}  // namespace

const char* PeriodName(Period p) {
  switch (p) {
    case Period::kAllTime: return "all";
    case Period::kWeek: return "week";
    case Period::kToday: return "today";
  }
  return "all";
}

const char* PeriodTitle(Period p) {
  switch (p) {
    case Period::kAllTime: return "総合";
    case Period::kWeek: return "今週";
    case Period::kToday: return "今日";
  }
  return "";
}

bool ParsePeriod(const std::string& name, Period* out) {
  for (Period p : {Period::kAllTime, Period::kWeek, Period::kToday}) {
    if (name == PeriodName(p)) {
      *out = p;
      return true;
    }
  }
  return false;
}

std::string PeriodKey(Period p, int64_t unixSeconds) {
  int64_t day = FloorDiv(unixSeconds + kJapanOffset, 86400);  // day 0 is Thursday 1970-01-01
  switch (p) {
    case Period::kAllTime: return "all";
    case Period::kWeek: return "w" + DateDigits(day - (day + 3 - FloorDiv(day + 3, 7) * 7));  // back to Monday
    case Period::kToday: return "d" + DateDigits(day);
  }
  return "all";
}

std::string JapanTimeText(int64_t unixSeconds) {
  std::tm tm = JapanCalendar(unixSeconds);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                tm.tm_mday, tm.tm_hour, tm.tm_min);
  return text;
}

}  // namespace site
