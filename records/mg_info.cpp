#include "records/mg_info.h"

#include <cstring>

#include "records/cp932_text.h"
#include "records/little_endian.h"

namespace {

// The same order as the struct: each field at its stored offset.
template <typename Field>
void PutBytes(uint8_t* out, size_t offset, const Field& field) {
  std::memcpy(out + offset, &field, sizeof field);
}

void PutEntry(uint8_t* out, const HighScoreEntry& e) {
  PutBytes(out, offsetof(HighScoreEntry, scoreText), e.scoreText);
  PutBytes(out, offsetof(HighScoreEntry, playerName), e.playerName);
  PutBytes(out, offsetof(HighScoreEntry, reserved), e.reserved);
  StoreLe32(out + offsetof(HighScoreEntry, scoreMs), e.scoreMs);
}

void GetEntry(const uint8_t* in, HighScoreEntry* e) {
  std::memcpy(e->scoreText, in + offsetof(HighScoreEntry, scoreText), sizeof e->scoreText);
  std::memcpy(e->playerName, in + offsetof(HighScoreEntry, playerName), sizeof e->playerName);
  std::memcpy(e->reserved, in + offsetof(HighScoreEntry, reserved), sizeof e->reserved);
  e->scoreMs = LoadLe32(in + offsetof(HighScoreEntry, scoreMs));
}

// Ends the field's text where it may end at the latest, and before a cut character.
void SanitizeText(char* field, size_t maxText) {
  field[Cp932CutLength(field, strnlen(field, maxText), maxText)] = '\0';
}

}  // namespace

void RecordToBytes(const MgInfo& r, uint8_t out[kMgInfoBytes]) {
  StoreLe32(out + offsetof(MgInfo, installStamp), r.installStamp[0]);
  StoreLe32(out + offsetof(MgInfo, installStamp) + 4, r.installStamp[1]);
  StoreLe32(out + offsetof(MgInfo, windowX), static_cast<uint32_t>(r.windowX));
  StoreLe32(out + offsetof(MgInfo, windowY), static_cast<uint32_t>(r.windowY));
  StoreLe32(out + offsetof(MgInfo, totalClicks), r.totalClicks);
  StoreLe32(out + offsetof(MgInfo, totalPlayMs), r.totalPlayMs);
  PutBytes(out, offsetof(MgInfo, lastPlayerName), r.lastPlayerName);
  for (size_t i = 0; i < kHighScoreCount; ++i)
    PutEntry(out + offsetof(MgInfo, table) + i * kHighScoreEntryBytes, r.table[i]);
}

void RecordFromBytes(const uint8_t in[kMgInfoBytes], MgInfo* r) {
  r->installStamp[0] = LoadLe32(in + offsetof(MgInfo, installStamp));
  r->installStamp[1] = LoadLe32(in + offsetof(MgInfo, installStamp) + 4);
  r->windowX = static_cast<int32_t>(LoadLe32(in + offsetof(MgInfo, windowX)));
  r->windowY = static_cast<int32_t>(LoadLe32(in + offsetof(MgInfo, windowY)));
  r->totalClicks = LoadLe32(in + offsetof(MgInfo, totalClicks));
  r->totalPlayMs = LoadLe32(in + offsetof(MgInfo, totalPlayMs));
  std::memcpy(r->lastPlayerName, in + offsetof(MgInfo, lastPlayerName), sizeof r->lastPlayerName);
  for (size_t i = 0; i < kHighScoreCount; ++i)
    GetEntry(in + offsetof(MgInfo, table) + i * kHighScoreEntryBytes, &r->table[i]);
}

void SanitizeRecord(MgInfo* r) {
  SanitizeText(r->lastPlayerName, kNameBytes);
  bool used = true;
  for (HighScoreEntry& e : r->table) {
    if (!used) e.scoreText[0] = '\0';
    SanitizeText(e.scoreText, sizeof e.scoreText - 1);
    SanitizeText(e.playerName, kNameBytes);
    used = e.scoreText[0] != '\0';
  }
}
