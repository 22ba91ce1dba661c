#include "site/database.h"

namespace site {

bool IsDatabaseUrl(const std::string& url) {
  return url.rfind("sqlite:", 0) == 0 || url.rfind("postgresql://", 0) == 0 ||
         url.rfind("postgres://", 0) == 0;
}

std::unique_ptr<Database> OpenDatabase(const std::string& url) {
  if (url.rfind("sqlite:", 0) == 0) return OpenSqlite(url.substr(7));
  if (IsDatabaseUrl(url)) return OpenPostgres(url);
  throw DatabaseError("unknown store (use sqlite:PATH or postgresql://...): " + url);
}

}  // namespace site
