// velotapper-class: sets up a class on a PostgreSQL server and enrols its learners.
// Run by the server's administrator; the program itself never needs it.
#include "ClassAdmin.h"
#include "ServerSchema.h"

#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace classserver;

namespace {

constexpr const char* kUsage =
    "usage: velotapper-class init [--service NAME | CONNINFO]\n"
    "       velotapper-class add-class CLASS [slip options] [--service NAME | CONNINFO]\n"
    "       velotapper-class add-learners CLASS ROSTER.csv [slip options] [--service NAME | "
    "CONNINFO]\n"
    "       velotapper-class version\n"
    "Connects as libpq does (PGSERVICE, PGHOST, ... or the Unix socket) unless told.\n"
    "ROSTER.csv holds number,name a line. The logins made are printed as CSV for slips.\n"
    "slip options: what the learners' machines use to reach the server:\n"
    "  --host HOST        the server's name as they reach it (default: this connection's)\n"
    "  --port PORT        (default: this connection's)\n"
    "  --slip-service N   the pg_service.conf entry's name (default: velotapper)\n"
    "  --sslmode MODE     (default: verify-full for a host other than localhost)\n";

struct Args {
    std::string command, conninfo;
    std::vector<std::string> positional;
    SlipTarget slip;
    bool hostGiven = false, portGiven = false, sslGiven = false;
};

bool parse(int argc, char** argv, Args& a) {
    if (argc < 2) return false;
    a.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto next = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--service") {
            std::string name;
            ok = next(name);
            // The service name goes into a conninfo: quote it as libpq reads values.
            std::string q;
            for (char c : name) {
                if (c == '\\' || c == '\'') q += '\\';
                q += c;
            }
            a.conninfo = "service='" + q + "'";
        } else if (arg == "--host")
            ok = next(a.slip.host), a.hostGiven = true;
        else if (arg == "--port")
            ok = next(a.slip.port), a.portGiven = true;
        else if (arg == "--slip-service")
            ok = next(a.slip.service);
        else if (arg == "--sslmode")
            ok = next(a.slip.sslmode), a.sslGiven = true;
        else if (arg.rfind("--", 0) == 0)
            ok = false;
        else if (arg.find('=') != std::string::npos || arg.rfind("postgres", 0) == 0)
            a.conninfo = arg;
        else
            a.positional.push_back(arg);
        if (!ok) return false;
    }
    const size_t want = a.command == "add-class" ? 1 : a.command == "add-learners" ? 2 : 0;
    return a.positional.size() == want;
}

// The slips name the server as this connection reached it, unless told otherwise.
void fillSlip(PgConn& db, Args& a) {
    const std::string host = PQhost(db.raw()) ? PQhost(db.raw()) : "";
    if (!a.hostGiven) a.slip.host = host.empty() || host[0] == '/' ? "localhost" : host;
    if (!a.portGiven) a.slip.port = PQport(db.raw()) ? PQport(db.raw()) : "5432";
    a.slip.dbname = PQdb(db.raw());
    const bool local =
        a.slip.host == "localhost" || a.slip.host == "127.0.0.1" || a.slip.host == "::1";
    if (!a.sslGiven) a.slip.sslmode = local ? "" : "verify-full";
    if (local && !a.hostGiven)
        std::cerr
            << "velotapper-class: the slips name host localhost; give --host for other machines\n";
}

int fail(const std::string& why) {
    std::cerr << "velotapper-class: " << why << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    Args a;
    if (!parse(argc, argv, a)) {
        std::cerr << kUsage;
        return 2;
    }
    if (a.command == "version") {
        std::cout << kServerVersion << "\n";
        return 0;
    }
    if (a.command != "init" && a.command != "add-class" && a.command != "add-learners") {
        std::cerr << kUsage;
        return 2;
    }
    PgConn db(a.conninfo);
    if (!db.ok()) return fail(db.error());
    db.run("SET password_encryption = 'scram-sha-256'");

    if (a.command == "init") {
        const InitResult r = init(db);
        if (!r.ok) {
            std::cerr << "velotapper-class: " << r.error << "\n";
            return r.newer ? 3 : 1;
        }
        if (r.from == r.to)
            std::cout << "the class schema is at version " << r.to << " already\n";
        else
            std::cout << "the class schema is now at version " << r.to << " (was " << r.from
                      << ")\n";
        return 0;
    }
    fillSlip(db, a);
    std::string error;
    if (a.command == "add-class") {
        auto teacher = addClass(db, a.positional[0], &error);
        if (!teacher) return fail(error);
        teacher->name = a.positional[0];
        std::cout << slipsCsv({*teacher}, a.slip);
        return 0;
    }
    std::ifstream in(a.positional[1], std::ios::binary);
    if (!in) return fail("cannot read " + a.positional[1] + ": " + std::strerror(errno));
    std::stringstream bytes;
    bytes << in.rdbuf();
    auto roster = parseRoster(bytes.str(), &error);
    if (!roster) return fail(a.positional[1] + ": " + error);
    std::vector<std::string> skipped;
    auto logins = addLearners(db, a.positional[0], *roster, &skipped, &error);
    if (!logins) return fail(error);
    for (const std::string& n : skipped)
        std::cerr << "velotapper-class: number " << n << " is enrolled already; left as it is\n";
    std::cout << slipsCsv(*logins, a.slip);
    return 0;
}
