// Loading and saving the settings and high-score record, and its installation
// stamp. The record is one profile value of section "mgInfo" named by the game's
// code, encoded with EncodeRecord; a copy of the stamp lives in "wconf.ini",
// section "vertical settings", key the code, 16 upper-case hex digits, so that the
// stamp outlives a lost or damaged record.
#pragma once

#include "records/mg_info.h"
#include "records/record_platform.h"

constexpr char kRecordSection[] = "mgInfo";
constexpr char kStampFile[] = "wconf.ini";
constexpr char kStampSection[] = "vertical settings";

// The main window's outer size, which the default position centres in the work area.
constexpr int kDefaultWindowWidth = 406;
constexpr int kDefaultWindowHeight = 361;

// Fills *record from the stored value, or with the defaults when the value is
// missing or does not decode to a whole record (silently). Either way the stamp
// copy in "wconf.ini" matches the record's stamp afterwards. True when the stored
// record was taken.
bool LoadRecord(const char* code, RecordPlatform& platform, MgInfo* record);

// Writes the whole record as the profile value; a failed write is not reported.
void SaveRecord(const char* code, RecordPlatform& platform, const MgInfo& record);

// Takes the stamp from "wconf.ini" (the user's copy, then one an earlier
// installation left in the Windows directory); when neither holds 16 upper-case
// hex digits (or holds "_default"), makes a new stamp from the tick count and the
// time. Either way the user's copy then holds the stamp.
void ReadStamp(const char* code, RecordPlatform& platform, MgInfo* record);

// Writes the record's stamp into the user's copy of "wconf.ini".
void WriteStamp(const char* code, RecordPlatform& platform, const MgInfo& record);

// The record of a first run, with the stamp as ReadStamp finds or makes it.
void MakeDefaultRecord(const char* code, RecordPlatform& platform, MgInfo* record);
