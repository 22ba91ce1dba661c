// Ranking a finished ride into the record's table of ten, and naming the entry.
#pragma once

#include <cstdint>

#include "records/mg_info.h"

// Puts the result into the table and returns its index (0-9), or -1 when the
// table is full and the result is below every entry. A result equal to an entry
// goes above it; entries below move down one place and the tenth falls out. The
// text is stored cut to what its field holds (8 bytes). The entry's name is set
// later, by StorePlayerName.
int InsertResult(MgInfo* record, const char* scoreText, uint32_t scoreMs);

// Stores a name (code page 932) as the last name typed and as entry `rank`'s
// name, cut to 16 bytes at a character boundary.
void StorePlayerName(MgInfo* record, int rank, const char* name);
