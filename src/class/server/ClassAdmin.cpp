#include "ClassAdmin.h"

#include "SchemaSql.h"
#include "ServerSchema.h"

#include <random>

namespace classserver {

namespace {

// The steps of schema.sql, split at its "-- velotapper step N" lines.
std::vector<std::string> steps() {
    const std::string sql = kSchemaSql;
    const std::string mark = "-- velotapper step ";
    std::vector<std::string> out;
    for (size_t at = sql.find(mark); at != std::string::npos;) {
        const size_t next = sql.find(mark, at + mark.size());
        out.push_back(sql.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    return out;
}

// Any failure rolls the whole command back: a roster half enrolled would print no slips
// for the half that was.
struct Transaction {
    PgConn& db;
    bool done = false;
    explicit Transaction(PgConn& d) : db(d) {}
    ~Transaction() {
        if (!done) db.run("ROLLBACK");
    }
    bool commit() { return done = db.run("COMMIT"); }
};

bool begin(PgConn& db) {
    // One administrator at a time: two inits or two enrolments would take the same names.
    return db.run("BEGIN") && db.exec("SELECT pg_advisory_xact_lock(7461, 1)") != nullptr;
}

std::optional<std::string> verifier(PgConn& db, const std::string& password,
                                    const std::string& role, std::string* error) {
    char* v = PQencryptPasswordConn(db.raw(), password.c_str(), role.c_str(), "scram-sha-256");
    if (!v) {
        *error = PQerrorMessage(db.raw());
        return std::nullopt;
    }
    std::string s = v;
    PQfreemem(v);
    return s;
}

// Creates a login role with the password's verifier: CREATE ROLE takes no parameters, so
// the generated name and the verifier (letters, digits and $:+/=) are quoted here.
bool createLogin(PgConn& db, const std::string& role, const std::string& password,
                 const std::string& inRole, std::string* error) {
    auto v = verifier(db, password, role, error);
    if (!v) return false;
    if (!db.run("CREATE ROLE " + db.identifier(role) + " LOGIN PASSWORD " + db.literal(*v) +
                " IN ROLE " + db.identifier(inRole))) {
        *error = db.error();
        return false;
    }
    return true;
}

std::string prefix(PgConn& db) {
    return value(db.exec("SELECT role_prefix FROM velotapper.meta"), 0, 0);
}

int version(PgConn& db, std::string* error) {
    auto r = db.exec("SELECT to_regclass('velotapper.meta') IS NOT NULL");
    if (!r) return *error = db.error(), -1;
    if (value(r, 0, 0) != "t") return 0;
    r = db.exec("SELECT version FROM velotapper.meta");
    if (!r) return *error = db.error(), -1;
    return std::stoi(value(r, 0, 0));
}

bool current(PgConn& db, std::string* error) {
    const int v = version(db, error);
    if (v < 0) return false;
    if (v != kServerVersion) {
        *error = v == 0 ? "the database has no class schema: run velotapper-class init first"
                 : v > kServerVersion
                     ? "the server's schema (version " + std::to_string(v) +
                           ") is newer than this command's (" + std::to_string(kServerVersion) + ")"
                     : "the server's schema is older: run velotapper-class init first";
        return false;
    }
    return true;
}

} // namespace

InitResult init(PgConn& db) {
    InitResult r;
    if (!begin(db)) return r.error = db.error(), r;
    Transaction t(db);
    r.from = version(db, &r.error);
    if (r.from < 0) return r;
    r.to = r.from;
    if (r.from > kServerVersion) {
        r.newer = true;
        r.error = "the server's schema (version " + std::to_string(r.from) +
                  ") is newer than this command's (" + std::to_string(kServerVersion) + ")";
        return r;
    }
    const auto all = steps();
    for (int v = r.from; v < kServerVersion; ++v)
        if (!db.run(all.at(size_t(v)))) return r.error = db.error(), r;
    if (r.from < kServerVersion &&
        !db.exec("UPDATE velotapper.meta SET version = $1", {std::to_string(kServerVersion)}))
        return r.error = db.error(), r;
    if (!t.commit()) return r.error = db.error(), r;
    r.to = kServerVersion;
    r.ok = true;
    return r;
}

std::optional<Credential> addClass(PgConn& db, const std::string& className, std::string* error) {
    if (!begin(db)) return *error = db.error(), std::nullopt;
    Transaction t(db);
    if (!current(db, error)) return std::nullopt;
    if (value(db.exec("SELECT count(*) FROM velotapper.classes WHERE name = $1", {className}), 0,
              0) != "0") {
        *error = "the class exists already";
        return std::nullopt;
    }
    const std::string p = prefix(db);
    const std::string id =
        value(db.exec("SELECT nextval(pg_get_serial_sequence('velotapper.classes', 'id'))"), 0, 0);
    Credential teacher{"", "", p + "t" + id, makePassword()};
    const std::string group = p + "c" + id;
    if (id.empty() ||
        !db.run("CREATE ROLE " + db.identifier(group) + " NOLOGIN IN ROLE " +
                db.identifier(p + "learner")) ||
        !createLogin(db, teacher.role, teacher.password, p + "teacher", error) ||
        !db.exec("INSERT INTO velotapper.classes(id, name, group_role, teacher_role) VALUES ($1, "
                 "$2, $3, $4)",
                 {id, className, group, teacher.role}) ||
        !t.commit()) {
        if (error->empty()) *error = db.error();
        return std::nullopt;
    }
    return teacher;
}

std::optional<std::vector<Credential>> addLearners(PgConn& db, const std::string& className,
                                                   const std::vector<RosterEntry>& roster,
                                                   std::vector<std::string>* skipped,
                                                   std::string* error) {
    if (!begin(db)) return *error = db.error(), std::nullopt;
    Transaction t(db);
    if (!current(db, error)) return std::nullopt;
    auto cls =
        db.exec("SELECT id, group_role FROM velotapper.classes WHERE name = $1", {className});
    if (!cls || PQntuples(cls.get()) != 1) {
        *error = cls ? "no such class: add it with velotapper-class add-class first" : db.error();
        return std::nullopt;
    }
    const std::string classId = value(cls, 0, 0), group = value(cls, 0, 1), p = prefix(db);
    std::vector<Credential> out;
    for (const RosterEntry& e : roster) {
        const std::string id = value(
            db.exec("SELECT nextval(pg_get_serial_sequence('velotapper.learners', 'id'))"), 0, 0);
        Credential c{e.number, e.name, p + "l" + id, makePassword()};
        auto added = db.exec(
            "INSERT INTO velotapper.learners(id, class_id, number, name, role)"
            " VALUES ($1, $2, $3, $4, $5) ON CONFLICT (class_id, number) DO NOTHING RETURNING id",
            {id, classId, e.number, e.name, c.role});
        if (!added || id.empty()) return *error = db.error(), std::nullopt;
        if (PQntuples(added.get()) == 0) {
            skipped->push_back(e.number);
            continue;
        }
        if (!createLogin(db, c.role, c.password, group, error)) return std::nullopt;
        out.push_back(std::move(c));
    }
    if (!t.commit()) return *error = db.error(), std::nullopt;
    return out;
}

std::string makePassword() {
    static const char alphabet[] = "abcdefghijkmnpqrstuvwxyz23456789"; // 32, none read as another
    std::random_device rd;                                             // getrandom(2)
    std::uniform_int_distribution<int> pick(0, int(sizeof alphabet) - 2);
    std::string s;
    for (int i = 0; i < 12; ++i) {
        if (i && i % 4 == 0) s += '-';
        s += alphabet[pick(rd)];
    }
    return s;
}

std::string slipsCsv(const std::vector<Credential>& logins, const SlipTarget& target) {
    std::string out = "number,name,role,password,service,pgpass\n";
    // ~/.pgpass escapes : and \ with a backslash.
    const auto pass = [](const std::string& s) {
        std::string e;
        for (char c : s) {
            if (c == ':' || c == '\\') e += '\\';
            e += c;
        }
        return e;
    };
    for (const Credential& c : logins) {
        std::string service = "[" + target.service + "] host=" + target.host +
                              " port=" + target.port + " dbname=" + target.dbname +
                              " user=" + c.role;
        if (!target.sslmode.empty()) service += " sslmode=" + target.sslmode;
        const std::string pgpass = pass(target.host) + ":" + target.port + ":" +
                                   pass(target.dbname) + ":" + c.role + ":" + c.password;
        out += csvField(c.number) + "," + csvField(c.name) + "," + c.role + "," + c.password + "," +
               csvField(service) + "," + csvField(pgpass) + "\n";
    }
    return out;
}

} // namespace classserver
