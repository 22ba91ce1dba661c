// The site's tables and every change to them, in order. Each migration is plain
// SQL that SQLite and PostgreSQL read alike; Migrate applies the ones a store has
// not seen yet, each in its own transaction, and records how far it got.
#pragma once

#include "site/database.h"

namespace site {

// Returns the schema version the store is at afterwards. Several servers starting
// at once on one PostgreSQL database may race: the loser's transaction fails,
// and it reads the version again.
int Migrate(Database& db);

int LatestSchemaVersion();

}  // namespace site
