#include "PgConn.h"

namespace classserver {

namespace {
std::string oneLine(const char* message) {
    std::string s = message ? message : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    for (char& c : s)
        if (c == '\n') c = ' ';
    return s;
}
} // namespace

PgConn::PgConn(const std::string& conninfo) : conn_(PQconnectdb(conninfo.c_str())) {
    if (!ok())
        error_ = oneLine(PQerrorMessage(conn_));
    else
        PQsetClientEncoding(conn_, "UTF8");
}

PgConn::~PgConn() {
    PQfinish(conn_);
}

bool PgConn::check(PGresult* r) {
    const ExecStatusType s = PQresultStatus(r);
    if (s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK) {
        error_.clear();
        state_.clear();
        return true;
    }
    error_ = oneLine(r ? PQresultErrorMessage(r) : PQerrorMessage(conn_));
    const char* st = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    state_ = st ? st : "";
    return false;
}

PgResult PgConn::exec(const std::string& sql,
                      const std::vector<std::optional<std::string>>& params) {
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
    PgResult r(PQexecParams(conn_, sql.c_str(), int(values.size()), nullptr, values.data(), nullptr,
                            nullptr, 0));
    if (!check(r.get())) return {};
    return r;
}

bool PgConn::run(const std::string& sql) {
    PgResult r(PQexec(conn_, sql.c_str()));
    return check(r.get());
}

std::string PgConn::identifier(const std::string& name) const {
    char* q = PQescapeIdentifier(conn_, name.c_str(), name.size());
    std::string s = q ? q : "";
    PQfreemem(q);
    return s;
}

std::string PgConn::literal(const std::string& value) const {
    char* q = PQescapeLiteral(conn_, value.c_str(), value.size());
    std::string s = q ? q : "";
    PQfreemem(q);
    return s;
}

std::string value(const PgResult& r, int row, int col) {
    if (!r || row >= PQntuples(r.get()) || PQgetisnull(r.get(), row, col)) return {};
    return PQgetvalue(r.get(), row, col);
}

} // namespace classserver
