// A consistent copy of a live store, taken while the site keeps serving.
#pragma once

#include <string>

namespace site {

// SQLite: the online backup API copies one snapshot of the database, the pages
// still in the WAL file included. PostgreSQL: pg_dump in its custom format (one
// snapshot too; restore with pg_restore), finding the password as libpq does.
// The copy is written beside `to` and renamed into place when complete. Throws
// DatabaseError.
void BackUp(const std::string& url, const std::string& to);

}  // namespace site
