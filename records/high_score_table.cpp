#include "records/high_score_table.h"

#include <cstring>

#include "records/cp932_text.h"

int InsertResult(MgInfo* record, const char* scoreText, uint32_t scoreMs) {
  HighScoreEntry* table = record->table;
  for (int i = 0; i < static_cast<int>(kHighScoreCount); ++i) {
    if (table[i].scoreText[0] != '\0') {
      if (scoreMs < table[i].scoreMs) continue;
      // From the bottom up, whole entries; the old tenth is lost.
      for (int j = static_cast<int>(kHighScoreCount) - 2; j >= i; --j) table[j + 1] = table[j];
    }
    // Named as the last player until the dialog stores the typed name, so a session
    // that ends with the dialog open never leaves the displaced player's name here.
    char name[kNameBytes + 1];
    CopyCp932Field(name, sizeof name, record->lastPlayerName);
    std::memcpy(table[i].playerName, name, sizeof name);
    CopyCp932Field(table[i].scoreText, sizeof table[i].scoreText, scoreText);
    table[i].scoreMs = scoreMs;
    return i;
  }
  return -1;
}

void StorePlayerName(MgInfo* record, int rank, const char* name) {
  char cut[kNameBytes + 1];
  CopyCp932Field(cut, sizeof cut, name);
  std::memset(record->lastPlayerName, 0, sizeof record->lastPlayerName);
  std::memcpy(record->lastPlayerName, cut, sizeof cut);
  if (rank >= 0 && rank < static_cast<int>(kHighScoreCount))
    std::memcpy(record->table[rank].playerName, cut, sizeof cut);
}
