#include "site/database.h"

#include <libpq-fe.h>

namespace site {

bool IsDatabaseUrl(const std::string& url) {
  return url.rfind("sqlite:", 0) == 0 || url.rfind("postgresql://", 0) == 0 ||
         url.rfind("postgres://", 0) == 0;
}

void RefusePasswordInUrl(const std::string& url) {
  if (url.rfind("sqlite:", 0) == 0) return;
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(url.c_str(), &error);
  if (!options) {
    std::string message = error ? error : "out of memory";
    PQfreemem(error);
    throw DatabaseError("not a PostgreSQL address: " + message);
  }
  bool password = false;
  for (PQconninfoOption* o = options; o->keyword; ++o)
    if (std::string(o->keyword) == "password" && o->val && *o->val) password = true;
  PQconninfoFree(options);
  if (password)
    throw DatabaseError(
        "the PostgreSQL address carries a password, which other users can read on the command line: "
        "leave it out and put it in ~/.pgpass (or the file PGPASSFILE names), a service file "
        "(PGSERVICEFILE, ?service=NAME) or PGPASSWORD in the environment");
}

std::unique_ptr<Database> OpenDatabase(const std::string& url) {
  if (url.rfind("sqlite:", 0) == 0) return OpenSqlite(url.substr(7));
  if (IsDatabaseUrl(url)) {
    RefusePasswordInUrl(url);
    return OpenPostgres(url);
  }
  throw DatabaseError("unknown store (use sqlite:PATH or postgresql://...): " + url);
}

}  // namespace site
