#pragma once
#include <libpq-fe.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A libpq connection and its results, owned; every value goes as a bound parameter.
namespace classserver {

struct PgResultFree {
    void operator()(PGresult* r) const { PQclear(r); }
};
using PgResult = std::unique_ptr<PGresult, PgResultFree>;

class PgConn {
public:
    // conninfo: "service=NAME", "host=... dbname=..." or a postgresql:// URI.
    explicit PgConn(const std::string& conninfo);
    ~PgConn();
    PgConn(const PgConn&) = delete;
    PgConn& operator=(const PgConn&) = delete;

    bool ok() const { return PQstatus(conn_) == CONNECTION_OK; }
    PGconn* raw() const { return conn_; }
    // The last failure in one line (libpq's message, trailing newline cut).
    std::string error() const { return error_; }
    // SQLSTATE of the last failed statement ("42501" ...), empty when none.
    std::string sqlState() const { return state_; }

    // Runs one statement with bound text parameters (nullopt = NULL); a result on
    // success (commands and rows alike), nothing on failure (see error()).
    PgResult exec(const std::string& sql,
                  const std::vector<std::optional<std::string>>& params = {});
    // Runs statements without parameters (several, separated by semicolons).
    bool run(const std::string& sql);

    std::string identifier(const std::string& name) const; // quoted as an identifier
    std::string literal(const std::string& value) const;   // quoted as a literal

private:
    bool check(PGresult* r);
    PGconn* conn_ = nullptr;
    std::string error_, state_;
};

// The value of row, column as text ("" for NULL).
std::string value(const PgResult& r, int row, int col);

} // namespace classserver
