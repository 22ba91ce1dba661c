#include <libpq-fe.h>
#include <poll.h>

#include <chrono>
#include <map>

#include "site/database.h"

namespace site {
namespace {

// A frozen server cannot enforce its own statement_timeout: the client gives up
// too, drops the connection, and the request answers 503 well within 5 seconds.
constexpr int kServerStatementMs = 2500;
constexpr auto kClientStatementWait = std::chrono::milliseconds(3000);

class PostgresDatabase : public Database {
 public:
  explicit PostgresDatabase(const std::string& url) {
    // The address's own settings win over these defaults (later keywords override).
    const char* keys[] = {"connect_timeout", "client_encoding", "dbname", nullptr};
    const char* values[] = {"2", "UTF8", url.c_str(), nullptr};
    conn_ = PQconnectdbParams(keys, values, 1);
    if (PQstatus(conn_) != CONNECTION_OK) {
      std::string message = PQerrorMessage(conn_);
      PQfinish(conn_);
      throw DatabaseError("cannot connect to PostgreSQL: " + message);
    }
    PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    // No statement of the site may hold a worker for long.
    Query("SET statement_timeout = " + std::to_string(kServerStatementMs), {});
  }

  ~PostgresDatabase() override {
    if (conn_) PQfinish(conn_);
  }

  std::vector<SqlRow> Query(const std::string& sql, const std::vector<SqlParam>& params) override {
    const std::string& name = Prepare(sql);
    std::vector<std::string> texts;
    texts.reserve(params.size());
    for (const SqlParam& p : params)
      texts.push_back(std::holds_alternative<int64_t>(p) ? std::to_string(std::get<int64_t>(p))
                                                         : std::get<std::string>(p));
    std::vector<const char*> values;
    for (const std::string& t : texts) values.push_back(t.c_str());
    PGresult* result = Run(
        [&] {
          return PQsendQueryPrepared(conn_, name.c_str(), static_cast<int>(values.size()), values.data(), nullptr,
                                     nullptr, 0);
        },
        sql);
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
    longStatements_ = allow;
    Query("SET statement_timeout = " + std::to_string(allow ? 0 : kServerStatementMs), {});
  }
  void BeginRead() override { Simple("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); }
  void Commit() override { Simple("COMMIT"); }
  void Rollback() override {
    if (conn_ && PQtransactionStatus(conn_) != PQTRANS_IDLE) {
      try {
        Simple("ROLLBACK");
      } catch (const DatabaseError&) {
      }
    }
  }
  bool Broken() const override { return !conn_ || PQstatus(conn_) != CONNECTION_OK; }

 private:
  const std::string& Prepare(const std::string& sql) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) return found->second;
    std::string name = "s" + std::to_string(statements_.size() + 1);
    Check(Run([&] { return PQsendPrepare(conn_, name.c_str(), sql.c_str(), 0, nullptr); }, sql), sql, true);
    return statements_.emplace(sql, name).first->second;
  }

  void Simple(const char* sql) {
    Check(Run([&] { return PQsendQuery(conn_, sql); }, sql), sql, true);
  }

  // Sends a statement and waits for its result, at most kClientStatementWait.
  template <typename Send>
  PGresult* Run(Send send, const std::string& sql) {
    if (!conn_) throw DatabaseError("postgresql: the connection was dropped, in: " + sql);
    const auto deadline = longStatements_ ? std::chrono::steady_clock::time_point::max()
                                          : std::chrono::steady_clock::now() + kClientStatementWait;
    if (!send()) Check(nullptr, sql);
    int flushed;
    while ((flushed = PQflush(conn_)) == 1) WaitFor(POLLOUT | POLLIN, deadline, sql);
    if (flushed < 0) Check(nullptr, sql);
    PGresult* last = nullptr;
    for (;;) {
      while (PQisBusy(conn_)) {
        WaitFor(POLLIN, deadline, sql);
        if (!PQconsumeInput(conn_)) {
          if (last) PQclear(last);
          Check(nullptr, sql);
        }
      }
      PGresult* result = PQgetResult(conn_);
      if (!result) break;
      if (last) PQclear(last);
      last = result;
    }
    return last;
  }

  void WaitFor(short events, std::chrono::steady_clock::time_point deadline, const std::string& sql) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{PQsocket(conn_), events, 0};
    if (deadline == std::chrono::steady_clock::time_point::max()) {
      if (poll(&p, 1, -1) != 0) return;
    } else if (left.count() > 0 && poll(&p, 1, static_cast<int>(left.count())) != 0) {
      return;
    }
    // No answer in time: the connection cannot be trusted any more.
    PQfinish(conn_);
    conn_ = nullptr;
    throw DatabaseError("postgresql: no answer within " + std::to_string(kClientStatementWait.count()) +
                        " ms, in: " + sql);
  }

  // Throws on failure; with `clear` the result is freed on success too.
  void Check(PGresult* result, const std::string& sql, bool clear = false) {
    ExecStatusType status = PQresultStatus(result);
    if (!result || (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)) {
      std::string message = conn_ ? PQerrorMessage(conn_) : "no connection";
      PQclear(result);
      throw DatabaseError("postgresql: " + message + " in: " + sql);
    }
    if (clear) PQclear(result);
  }

  bool longStatements_ = false;
  PGconn* conn_ = nullptr;
  std::map<std::string, std::string> statements_;
};

}  // namespace

std::unique_ptr<Database> OpenPostgres(const std::string& url) {
  return std::make_unique<PostgresDatabase>(url);
}

}  // namespace site
