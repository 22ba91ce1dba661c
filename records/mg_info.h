// The settings and high-score record as it is stored: 364 bytes, no gaps, every
// integer little-endian. The structs below mirror the stored layout field for field
// (the asserts hold it to the stored offsets); RecordToBytes and RecordFromBytes
// move it to and from the stored bytes on any host.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kNameBytes = 16;       // text bytes of a name, code page 932
constexpr size_t kHighScoreCount = 10;

struct HighScoreEntry {
  char scoreText[9];    // the result as the game formatted it; empty = free entry
  char playerName[17];  // code page 932, at most 16 bytes of text
  uint8_t reserved[2];
  uint32_t scoreMs;     // larger is better
};

struct MgInfo {
  uint32_t installStamp[2];  // GetTickCount and time() when the installation was first run
  int32_t windowX;           // the main window's normal position, screen pixels
  int32_t windowY;
  uint32_t totalClicks;
  uint32_t totalPlayMs;
  char lastPlayerName[20];   // code page 932, at most 16 bytes of text
  HighScoreEntry table[kHighScoreCount];  // best first; used entries form a run from 0
};

constexpr size_t kHighScoreEntryBytes = 32;
constexpr size_t kMgInfoBytes = 364;

static_assert(offsetof(HighScoreEntry, scoreText) == 0, "stored layout");
static_assert(offsetof(HighScoreEntry, playerName) == 9, "stored layout");
static_assert(offsetof(HighScoreEntry, reserved) == 26, "stored layout");
static_assert(offsetof(HighScoreEntry, scoreMs) == 28, "stored layout");
static_assert(sizeof(HighScoreEntry) == kHighScoreEntryBytes, "stored layout");
static_assert(offsetof(MgInfo, installStamp) == 0, "stored layout");
static_assert(offsetof(MgInfo, windowX) == 8, "stored layout");
static_assert(offsetof(MgInfo, windowY) == 12, "stored layout");
static_assert(offsetof(MgInfo, totalClicks) == 16, "stored layout");
static_assert(offsetof(MgInfo, totalPlayMs) == 20, "stored layout");
static_assert(offsetof(MgInfo, lastPlayerName) == 24, "stored layout");
static_assert(offsetof(MgInfo, table) == 44, "stored layout");
static_assert(sizeof(MgInfo) == kMgInfoBytes, "stored layout");

void RecordToBytes(const MgInfo& record, uint8_t bytes[kMgInfoBytes]);
void RecordFromBytes(const uint8_t bytes[kMgInfoBytes], MgInfo* record);

// Makes a record read from outside safe to use: every text terminated inside its
// field and never ending in a cut character, and the used table entries an
// unbroken run from index 0 (entries after the first free one are cleared).
// A record whose texts and table are in order is left as it is.
void SanitizeRecord(MgInfo* record);
