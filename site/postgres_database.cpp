#include <libpq-fe.h>

#include <map>

#include "site/database.h"

namespace site {
namespace {

class PostgresDatabase : public Database {
 public:
  explicit PostgresDatabase(const std::string& url) {
    // The address's own settings win over these defaults (later keywords override).
    const char* keys[] = {"connect_timeout", "client_encoding", "dbname", nullptr};
    const char* values[] = {"5", "UTF8", url.c_str(), nullptr};
    conn_ = PQconnectdbParams(keys, values, 1);
    if (PQstatus(conn_) != CONNECTION_OK) {
      std::string message = PQerrorMessage(conn_);
      PQfinish(conn_);
      throw DatabaseError("cannot connect to PostgreSQL: " + message);
    }
    PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    // No statement of the site may hold a worker for long.
    Query("SET statement_timeout = 5000", {});
  }

  ~PostgresDatabase() override { PQfinish(conn_); }

  std::vector<SqlRow> Query(const std::string& sql, const std::vector<SqlParam>& params) override {
    const std::string& name = Prepare(sql);
    std::vector<std::string> texts;
    texts.reserve(params.size());
    for (const SqlParam& p : params)
      texts.push_back(std::holds_alternative<int64_t>(p) ? std::to_string(std::get<int64_t>(p))
                                                         : std::get<std::string>(p));
    std::vector<const char*> values;
    for (const std::string& t : texts) values.push_back(t.c_str());
    PGresult* result = PQexecPrepared(conn_, name.c_str(), static_cast<int>(values.size()), values.data(),
                                      nullptr, nullptr, 0);
    Check(result, sql);
    std::vector<SqlRow> rows;
    for (int r = 0, n = PQntuples(result); r < n; ++r) {
      SqlRow row;
      for (int c = 0, m = PQnfields(result); c < m; ++c)
        row.emplace_back(PQgetvalue(result, r, c), static_cast<size_t>(PQgetlength(result, r, c)));
      rows.push_back(std::move(row));
    }
    PQclear(result);
    return rows;
  }

  void BeginWrite() override { Simple("BEGIN"); }
  void AllowLongStatements(bool allow) override {
    Simple(allow ? "SET statement_timeout = 0" : "SET statement_timeout = 5000");
  }
  void BeginRead() override { Simple("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); }
  void Commit() override { Simple("COMMIT"); }
  void Rollback() override {
    if (PQtransactionStatus(conn_) != PQTRANS_IDLE) PQclear(PQexec(conn_, "ROLLBACK"));
  }
  bool Broken() const override { return PQstatus(conn_) != CONNECTION_OK; }

 private:
  const std::string& Prepare(const std::string& sql) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) return found->second;
    std::string name = "s" + std::to_string(statements_.size() + 1);
    Check(PQprepare(conn_, name.c_str(), sql.c_str(), 0, nullptr), sql, true);
    return statements_.emplace(sql, name).first->second;
  }

  void Simple(const char* sql) { Check(PQexec(conn_, sql), sql, true); }

  // Throws on failure; with `clear` the result is freed on success too.
  void Check(PGresult* result, const std::string& sql, bool clear = false) {
    ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
      std::string message = PQerrorMessage(conn_);
      PQclear(result);
      throw DatabaseError("postgresql: " + message + " in: " + sql);
    }
    if (clear) PQclear(result);
  }

  PGconn* conn_ = nullptr;
  std::map<std::string, std::string> statements_;
};

}  // namespace

std::unique_ptr<Database> OpenPostgres(const std::string& url) {
  return std::make_unique<PostgresDatabase>(url);
}

}  // namespace site
