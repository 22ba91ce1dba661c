// The About box's texts, as UTF-8: the title line and the two lifetime totals.
#pragma once

#include <cstdint>
#include <string>

// "<title> Version<version>", nothing in between: "ポムルのロデオ Version1.00".
std::string AboutTitleLine(const std::string& title, const std::string& version);

// The total play time: "%d時間%d分%d秒" from one hour on (hours not wrapped at a day),
// "%d分%d秒" from one minute on, else "%d秒".
std::string FormatPlayTime(uint32_t totalPlayMs);

// The total number of clicks, in full as an unsigned number: "%u回".
std::string FormatClickCount(uint32_t totalClicks);
