// What the dialogs show of the stored record, which only the shell knows: it hands
// them the table's used rows and, for the Send button, the address of the best
// result on a ranking page.
#pragma once

#include <functional>
#include <string>
#include <vector>

// One used row of the table; texts as the record keeps them (code page 932).
struct ScoreRow {
  std::string scoreText;   // as the game formatted it, " 12.345"
  std::string playerName;  // at most 16 bytes
};

// The used rows, best first (at most ten).
using ScoreRows = std::vector<ScoreRow>;

// The address the browser opens for the best result on the ranking page `page`.
using RankingAddress = std::function<std::string(const std::string& page)>;
