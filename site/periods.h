// The three rankings: all time, this week and today. Days and weeks are counted
// in Japan time (UTC+9), weeks from Monday, as the game's players live them.
#pragma once

#include <cstdint>
#include <string>

namespace site {

enum class Period { kAllTime, kWeek, kToday };

// "all", "week", "today": the names used in addresses and JSON.
const char* PeriodName(Period p);
bool ParsePeriod(const std::string& name, Period* out);
const char* PeriodTitle(Period p);  // Japanese

// The key under which results of the period that contains `unixSeconds` are kept:
// "all", "w20261207" (the Monday), "d20261210".
std::string PeriodKey(Period p, int64_t unixSeconds);

// "2026-12-10 19:20" in Japan time.
std::string JapanTimeText(int64_t unixSeconds);

}  // namespace site
